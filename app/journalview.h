#pragma once
// The journal of device jobs as a read-only table, shown by Kommunikation > Protokoll anzeigen.
// The table fetches the lines page by page as they are scrolled into view, newest first, so that
// a record of any size opens at once. A device code narrows it down,
// and a line's configuration can be opened in the window.

#include <QDialog>
#include <QString>
#include <QStringList>

#include "files/journalstore.h"

class QLineEdit;
class QPushButton;
class JournalModel;
class QTableView;

class TfrmJournal : public QDialog {
    Q_OBJECT
  public:
    // reader: an opened journal; the dialog keeps it while it shows it.
    TfrmJournal(JournalReader reader, QWidget* parent = nullptr);
    // Shows the lines about the device (all lines for an empty code); false with a German error.
    bool ShowDevice(const QString& deviceCode, QString* error);
    // The configuration of the chosen line, 256 bytes, once "Konfiguration öffnen" was pressed.
    QByteArray chosenImage;
    QStringList chosenLine;  // its time and device code, for the status line

    QLineEdit* edtJournalDevice = nullptr;
    QTableView* tblJournal = nullptr;
    QPushButton* btnJournalOpen = nullptr;
    QPushButton* btnJournalReport = nullptr;  // with a main window as parent

  private:
    void UpdateOpenButton();
    void OpenChosenLine();
    JournalReader reader_;
    JournalModel* model_ = nullptr;
};
