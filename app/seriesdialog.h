#pragma once
// Kommunikation > Serie schreiben...: the configuration in the window written to one device
// after the other, with the normal wait dialog showing "Gerät 3 von 20", optionally checked and
// with new radio ID codes from a list. At the end a table tells each device's codes before and
// after, its outcome and whether it was checked. The rules are the series' in the core, the same
// as korbi-cli write --repeat.

#include <QDateTime>
#include <QDialog>
#include <memory>

#include "files/journalworker.h"
#include "jobs/series.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class ReportActions;
class TfrmMain;

class TfrmSeries : public QDialog, public SeriesHost {
    Q_OBJECT
  public:
    explicit TfrmSeries(TfrmMain& main);

    void btnStartClick();
    void btnChooseListClick();

    // SeriesHost: the device number goes into the wait dialog, the lines into the report.
    void DeviceStarting(int number, int count) override;
    void SeriesLine(const QString& line) override;
    bool GoOnWithLocalCodes(const QString& question) override;
    void SeriesEnded(SeriesEnd end) override;

    QSpinBox* edtCount = nullptr;  // 0: until the user aborts
    QCheckBox* cbVerify = nullptr;
    QRadioButton* rbKeepCodes = nullptr;
    QRadioButton* rbCodeList = nullptr;
    QLineEdit* edtCodeList = nullptr;
    QPushButton* btnChooseList = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnClose = nullptr;
    QListWidget* lstReport = nullptr;
    QTableWidget* tblSummary = nullptr;
    QLabel* lblSummary = nullptr;
    ReportActions* seriesReport = nullptr;  // the summary's report of the series just written

  private:
    void ShowSummary(const Series& series);
    TfrmMain& main_;
    std::unique_ptr<Series> series_;  // the running or last series
    // Where the series' codes are asked for, away from the window's thread; it goes before the
    // series whose codes it works on.
    std::unique_ptr<JournalWorker> codesWorker_;
    bool usesCodeList_ = false;  // the running series gives each device a code of a list
    QDateTime seriesStarted_;    // of the last series; invalid before the first
    QDateTime seriesEnded_;
};
