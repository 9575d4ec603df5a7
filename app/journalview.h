#pragma once
// The journal of device jobs as a read-only table, shown by Kommunikation > Protokoll anzeigen.
// The table fetches the lines page by page as they are scrolled into view, newest first, so that
// a record of any size opens at once. A part of a device code and a date range narrow it down;
// the lines it shows can be exported for a spreadsheet, and a line's configuration can be
// opened in the window. Everything that reads the record runs on a worker thread of the dialog's
// own: with a company's server that is slow or gone the dialog still answers, says that it is
// loading, and can be closed at once.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "record/journalstore.h"

class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class JournalModel;
class JournalWorker;
class Prompts;
class QTableView;

class JournalWindow : public QDialog {
    Q_OBJECT
  public:
    // target: the journal, opened by the dialog, which starts at once to show all its lines.
    // prompts asks for the export's file and tells its failure; practiceMode adds the line that
    // practice jobs are not recorded.
    JournalWindow(const JournalTarget& target, QWidget* parent = nullptr,
                  Prompts* prompts = nullptr, bool practiceMode = false);
    ~JournalWindow() override;
    // Whether the lines, a line's configuration or an export are being read.
    bool Busy() const;
    // The configuration of the chosen line, 256 bytes, once "Konfiguration öffnen" was pressed.
    QByteArray chosenImage;
    QStringList chosenLine;  // its time (for people) and device code

    QLineEdit* edtJournalDevice = nullptr;
    QDateEdit* edtJournalFrom = nullptr;
    QDateEdit* edtJournalUntil = nullptr;
    QLineEdit* edtJournalSite = nullptr;  // the lines of one site alone; empty: every site
    QTableView* tblJournal = nullptr;
    QLabel* lblJournalLines = nullptr;
    QLabel* lblJournalPractice = nullptr;
    // Further buttons go into this box, beside Open and Export.
    QDialogButtonBox* boxJournalButtons = nullptr;
    QPushButton* btnJournalOpen = nullptr;
    QPushButton* btnJournalExport = nullptr;
    QPushButton* btnJournalReport = nullptr;  // with a main window as parent

  signals:
    // Reading the record has ended for now (the lines, a line's configuration, an export): error
    // is empty, or the German text that the dialog also shows.
    void Read(const QString& error);

  private:
    // The filter the fields ask for.
    JournalFilter Filter() const;
    // Starts showing the lines the fields ask for.
    void Refresh();
    void LinesLoaded(const QString& error);
    // A read of a line's configuration or an export, with the text shown meanwhile; the
    // buttons that would read wait until it has ended.
    void BeginReading(const QString& text);
    // Ends it, showing error or else text.
    void EndReading(const QString& error, const QString& text);
    void UpdateButtons();
    void OpenChosenLine();
    void ExportShownLines();
    // Ended first when the dialog goes, and with it every result still on its way.
    std::unique_ptr<JournalWorker> worker_;
    JournalModel* model_ = nullptr;
    Prompts* prompts_ = nullptr;
    int busy_ = 0;
};
