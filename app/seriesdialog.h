#pragma once
// Kommunikation > Serie schreiben...: the configuration in the window written to one device
// after the other, with the normal wait dialog showing "Gerät 3 von 20", optionally checked and
// with new radio ID codes from a list. At the end a table tells each device's codes before and
// after, its outcome and whether it was checked. The rules are the series' in the core, the same
// as korbi-cli write --repeat.

#include <QDateTime>
#include <QDialog>
#include <memory>

#include "jobs/series.h"
#include "link/codelist.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class ReportActions;
class SiteField;
class MainWindow;

class SeriesDialog : public QDialog, public SeriesHost {
    Q_OBJECT
  public:
    explicit SeriesDialog(MainWindow& main);
    ~SeriesDialog() override;

    void onStartClicked();
    void onChooseListClicked();

    // SeriesHost, on the window's thread: the device number goes into the wait dialog, the lines
    // into the report. The series runs on the job thread, which passes these on.
    void DeviceStarting(int number, int count, const QString& code) override;
    void SeriesLine(const QString& line) override;
    bool GoOnWithLocalCodes(const QString& question) override;
    // The series has ended so, after its last line.
    void SeriesEnded(SeriesEnd end);

    SiteField* cbSeriesSite = nullptr;  // the customer's site, the window's own
    QSpinBox* edtCount = nullptr;       // 0: until the user aborts
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

  protected:
    // A running series is aborted first; the dialog closes once it has ended.
    void reject() override;

  private:
    void ShowSummary(const Series& series);
    MainWindow& main_;
    class Relay;
    std::shared_ptr<Relay> relay_;    // the series' host on the job thread
    std::unique_ptr<Series> series_;  // the last series, once it has ended
    bool closeWhenEnded_ = false;
    CodeRooms rooms_;          // the rooms the running series' list names
    QDateTime seriesStarted_;  // of the last series; invalid before the first
    QDateTime seriesEnded_;
};
