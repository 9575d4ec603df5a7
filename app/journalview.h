#pragma once
// The journal of device jobs as a read-only table, shown by Kommunikation > Protokoll anzeigen.

#include <QDialog>
#include <QList>
#include <QStringList>

class QTableWidget;

class TfrmJournal : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmJournal(QWidget* parent = nullptr);
    // Shows the lines (fields in file order), the newest at the bottom and in view.
    void SetLines(const QList<QStringList>& lines);
    QTableWidget* tblJournal = nullptr;
};
