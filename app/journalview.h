#pragma once
// The journal of device jobs as a read-only table, shown by Kommunikation > Protokoll anzeigen.
// The table fetches the lines page by page as they are scrolled into view, newest first, so that
// a record of any size opens at once. A part of a device code and a date range narrow it down;
// the lines it shows can be exported for a spreadsheet, and a line's configuration can be
// opened in the window.

#include <QDialog>
#include <QString>
#include <QStringList>

#include "files/journalstore.h"

class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class JournalModel;
class Prompts;
class QTableView;

class TfrmJournal : public QDialog {
    Q_OBJECT
  public:
    // reader: an opened journal; the dialog keeps it while it shows it. prompts asks for the
    // export's file and tells its failure; practiceMode adds the line that practice jobs are
    // not recorded.
    TfrmJournal(JournalReader reader, QWidget* parent = nullptr, Prompts* prompts = nullptr,
                bool practiceMode = false);
    // Shows the lines about the device (all lines for an empty code); false with a German error.
    bool ShowDevice(const QString& deviceCode, QString* error);
    // The configuration of the chosen line, 256 bytes, once "Konfiguration öffnen" was pressed.
    QByteArray chosenImage;
    QStringList chosenLine;  // its time (for people) and device code

    QLineEdit* edtJournalDevice = nullptr;
    QDateEdit* edtJournalFrom = nullptr;
    QDateEdit* edtJournalUntil = nullptr;
    QTableView* tblJournal = nullptr;
    QLabel* lblJournalLines = nullptr;
    QLabel* lblJournalPractice = nullptr;
    // Further buttons go into this box, beside Open and Export.
    QDialogButtonBox* boxJournalButtons = nullptr;
    QPushButton* btnJournalOpen = nullptr;
    QPushButton* btnJournalExport = nullptr;
    QPushButton* btnJournalReport = nullptr;  // with a main window as parent

  private:
    // The filter the fields ask for.
    JournalFilter Filter() const;
    // Shows the lines the fields ask for and their number; false with a German error.
    bool Refresh(QString* error);
    void UpdateOpenButton();
    void OpenChosenLine();
    void ExportShownLines();
    JournalReader reader_;
    JournalModel* model_ = nullptr;
    Prompts* prompts_ = nullptr;
};
