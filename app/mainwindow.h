#pragma once
// MainWindow: the program's one main window. Its named controls show the settings model, the one
// place where the configuration lives while the program runs, and hand the user's edits to it.
// The window's work is spread over several files: its layout and binding, the file commands
// (app/filecommands.*), start-up (app/startup.cpp); the device jobs are in jobs/ and run on the
// window's job thread (app/windowjobs.*), the model with its codec and entry rules in config/.

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>

#include "app/environment.h"
#include "app/filecommands.h"
#include "app/jobfeedback.h"
#include "app/ondemand.h"
#include "app/waitprogress.h"
#include "app/windowjobs.h"
#include "config/image.h"
#include "config/settingsmodel.h"
#include "jobs/devicejobs.h"
#include "jobs/jobhost.h"
#include "link/lpxadapter.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWidget;
class Prompts;
class PressWaitDialog;
class FolderDialog;
class CodeChangeDialog;
class AboutBox;
class SiteField;
namespace layout {
class Tables;
}

class MainWindow : public QMainWindow, public JobHost, public FileCommandView {
    Q_OBJECT
  public:
    explicit MainWindow(const AppEnvironment& env, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Dialogs made by the caller (or none), handed over at once.
    void AttachDialogs(PressWaitDialog* receiveRadio, FolderDialog* selectDirectory,
                       CodeChangeDialog* changeCode, AboutBox* about);
    // The program's dialogs: each is made by its maker the first time it is used.
    struct DialogMakers {
        std::function<PressWaitDialog*()> receiveRadio;
        std::function<FolderDialog*()> selectDirectory;
        std::function<CodeChangeDialog*()> changeCode;
        std::function<AboutBox*()> about;
    };
    void MakeDialogsOnDemand(DialogMakers makers);

    // ---- start-up and shutdown ----
    void FormCreate();
    void FormShow();
    void LocaliseCaptions();
    void BuildControlLists();
    void onExitTriggered();

    // ---- file commands ----
    void onNewTriggered(QObject* sender);
    void onOpenTriggered();
    void onSaveTriggered();
    void onSaveAsTriggered();
    void onSelectDefaultFolderTriggered();
    void HandleDroppedFiles(const QStringList& paths);
    void LoadConfigurationFile(const QString& path, LoadKind kind);
    // Writes the file image to the current file name: status line or box, then the title.
    void WriteCurrentFile();
    void UpdateCaption();
    // Sets the window title; in practice mode it ends in " [Übungsmodus]", so that nobody takes
    // the window for work on real devices.
    void SetCaption(const QString& title) override;

    // ---- unsaved edits (app/unsavededits.cpp) ----
    // When the settings hold edits that are in no file or device, asks Speichern / Verwerfen /
    // Abbrechen. True when the caller may go on: nothing to lose, the edits saved, or discarded.
    bool ConfirmLosingEdits();
    // Datei > Zuletzt geöffnet: filled from Values.ini each time it opens.
    void FillRecentMenu();
    void OpenRecentFile(const QString& path);

    // ---- the customer's site (app/sitefield.cpp, mainwindow_series.cpp) ----
    // The site every record line names from now on; a named one is offered again next time.
    void SetSite(const QString& site);
    QString Site() const;

    // ---- the settings view ----
    // The settings that the controls show; decoding, encoding and the entry rules work on it.
    SettingsModel& Model() { return settings_; }
    const SettingsModel& Model() const { return settings_; }
    // The control that shows a field.
    QWidget* ControlOf(Field field) const { return fieldWidgets_[int(field)]; }
    // Key filters: a swallowed key becomes null.
    void validateRadioCodeKeyPress(QChar& key);
    void validateNumericKeyPress(QChar& key);
    void validateFloatNumericKeyPress(QChar& key);
    void onPressTimeEditLeft();

    // ---- device jobs ----
    void onReadClicked();
    void onWriteClicked();
    void onGetCodeClicked();
    void onReadTriggered();
    void onWriteTriggered();
    void onChangeCodeTriggered();
    void onShowJournalTriggered();
    // Shows a configuration taken from the journal as a read from the device shows one; line
    // names the journal line (time, device code) on the status line.
    void ShowJournalImage(const QByteArray& image, const QStringList& line);
    // Nach dem Schreiben prüfen: ticked, every write reads the device back; kept in Values.ini.
    void onVerifyAfterWriteTriggered();
    void LoadVerifyAfterWrite();
    bool VerifyAfterWrite() const { return verifyAfterWrite_; }
    // Serie schreiben...: the series dialog.
    void onWriteSeriesTriggered();
    // The configuration file a write journals: the current file when the settings are its.
    QString WriteJournalFile() const;
    // "Gerät 3 von 20" in the wait dialogs of a series; empty outside a series.
    void SetSeriesProgress(const QString& text) { seriesProgress_ = text; }
    // The jobs on their thread.
    WindowJobs& Jobs() { return jobs_; }

    // ---- help ----
    void onAboutTriggered();
    // Hilfe > Handbuch and F1: the manual in the desktop's browser.
    void onManualTriggered();

    // ---- helpers shared by the handlers ----
    Prompts& prompts() const { return *env_.prompts; }
    const AppEnvironment& environment() const { return env_; }
    // Message boxes through the prompts seam, text from the catalogue filled with args; an
    // error's cause, when there is one, follows as a second paragraph.
    void ErrorBox(int textId, const QStringList& args = {}, const QString& cause = {});
    void InformationBox(int textId, const QStringList& args = {});
    void SetStatusText(const QString& text) override;
    QString StatusText() const;
    // The key filter an edit was given at creation (None for other widgets).
    static KeyFilter FilterOf(const QWidget* widget);

    // ==== window state ====
    QString applicationDataFolder;  // ends with "/"
    QString documentFolder;         // ends with "/"
    QString defaultFolder;          // no trailing "/"
    QString settingsFilePath;
    QString currentFileName;
    int configOrigin = OriginTemplate;
    ConfigImage fileImage;
    // Used on the job thread only, once the window is made.
    LpxAdapter adapter;

    OnDemand<PressWaitDialog> frmReceiveRadio;
    OnDemand<FolderDialog> frmSelectDirectory;
    OnDemand<CodeChangeDialog> frmChangeCode;
    OnDemand<AboutBox> frmAbout;

    // The configuration shown now came from origin; the title follows it.
    void ShowOrigin(int origin);
    // ---- the jobs' host on the window's thread (the jobs reach it through Jobs()) ----
    Messages& JobMessages() override;
    void ShowStatus(const QString& text) override;
    void SetWaitTitle(const QString& title) override;
    // Shows the wait dialog modal to the whole program and returns at once.
    void WaitBegins(const WaitTexts& texts) override;
    // The window's thread never waits: the job thread waits its poll intervals.
    bool PollInterval() override { return false; }
    void WaitEnds() override;
    ReadShown ShowRead(const QString& code, const ConfigImage& image) override;
    void ShowJournalWarning(const QString& text) override;
    void JobEnded(const JobOutcome& outcome) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class layout::Tables;
    QString seriesProgress_;
    bool verifyAfterWrite_ = false;

    // ==== the window's controls (objectName = member name) ====
    QTabWidget* pgMain = nullptr;
    QWidget* tbsGeneral = nullptr;
    QWidget* tbsRFID = nullptr;

    QGroupBox* gbxRadioParameters = nullptr;

    QGroupBox* gbxTechnicalAlarmsInfo = nullptr;

    QGroupBox* gbxUserAlarms = nullptr;

    QGroupBox* gbxProductInformation = nullptr;

    QGroupBox* gbxRFID = nullptr;
    QFrame* rfidColumnRule = nullptr;

    // The two code-and-zone groups; the arrays are indexed by code number - 1 and zone number.
    QGroupBox* gbxCodesZones = nullptr;
    QGroupBox* gbxCodesZonesRestricted = nullptr;
    std::array<QLabel*, 8> lblDoorCode{};    // lblDoorCode1 ... lblDoorCode8
    std::array<QLabel*, 8> lblDoorCode_R{};  // lblDoorCode1_R ...
    std::array<QLabel*, 16> lblZone{};       // lblZone0 ... lblZoneF
    std::array<QLabel*, 16> lblZone_R{};

    QFrame* commandPanel = nullptr;
    QPushButton* btnReadFromDevice = nullptr;
    QPushButton* btnWriteToDevice = nullptr;
    QPushButton* btnGetKorbiCode = nullptr;
    QStatusBar* sbStatus = nullptr;
    QLabel* sbStatusText = nullptr;  // the status bar's one text field
    SiteField* cbSite = nullptr;     // the customer's site, at the status bar's right

    QMenu* mnuFile = nullptr;
    QMenu* mnuFileNew = nullptr;
    QAction* mnuFileNewKorbiV2 = nullptr;  // Tag 2
    QAction* mnuFileNewKorbiV1 = nullptr;  // Tag 1
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuDelimiter1 = nullptr;
    QAction* mnuFileSelectDefaultFolder = nullptr;
    QAction* exitSeparator = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuComm = nullptr;
    QAction* mnuCommReadFromDevice = nullptr;
    QAction* mnuCommWriteToDevice = nullptr;
    QAction* mnuCommWriteSeries = nullptr;
    QAction* mnuCommVerifyAfterWrite = nullptr;
    QAction* changeCodeSeparator = nullptr;
    QAction* mnuCommChangeIdCode = nullptr;
    QAction* journalSeparator = nullptr;
    QAction* mnuCommShowJournal = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpManual = nullptr;
    QAction* mnuHelpAbout = nullptr;

    void BuildLayout();  // app/mainwindow_layout.cpp
    void NameSettingsControls();
    void BuildRecentMenu();
    void WireHandlers();
    // Binds every settings control to its field both ways.
    void BindSettings();
    void ShowField(Field field);

    AppEnvironment env_;
    SettingsModel settings_;
    FileCommands files_;
    QString captionTitle_;        // the title without the mark of unsaved edits
    bool exitConfirmed_ = false;  // Beenden asked already; the closing that follows must not
    QMenu* mnuFileRecent_ = nullptr;
    JobFeedback jobFeedback_;
    WaitProgress* waitProgress_ = nullptr;  // owned by the wait dialog
    // The control of every field, in the order of the fields: the layout fills it when it
    // creates the controls, so it is never empty, and BuildControlLists finds them again by name.
    std::array<QWidget*, kFieldCount> fieldWidgets_{};
    // The settings' row labels, in the order of the layout's label rows.
    std::vector<QLabel*> rowLabels_;
    // Last: a job still running ends before anything it reports to goes.
    WindowJobs jobs_;
};
