#pragma once
// TfrmMain: the program's one main window. Its named controls are the settings view, the one
// place where the configuration lives while the program runs. The window's work is spread over
// several files: layout (app/), decoding, encoding and entry rules (config/), file commands and
// start-up (files/, app/), device jobs (link/).

#include <QMainWindow>
#include <QStringList>
#include <array>

#include "app/environment.h"
#include "config/image.h"
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
class TfrmReceiveRadio;
class TfrmSelectDirectory;
class TfrmChangeCode;
class TfrmAbout;

// Key filters of the settings edits.
enum class KeyFilter { None, Hexadecimal, WholeNumber, Decimal };

// Where the shown configuration came from.
enum ConfigOrigin : int {
    OriginTemplate = 0,
    OriginOpenedFile = 1,
    OriginSavedFile = 2,
    OriginDevice = 3
};

// Results of DecodeConfigImage besides an address.
constexpr int DecodeOk = -1;
constexpr int DecodeBadProduct = -2;

// How LoadConfigurationFile was reached.
enum class LoadKind { Open, Drop, CommandLine };

// Outcomes of a wait for the device's button (the wait dialog's result). WaitLineLost: the
// converter went away during the wait.
enum WaitOutcome : int {
    WaitDone = 1,
    WaitFailed = 2,
    WaitAborted = 3,
    WaitTimedOut = 5,
    WaitLineLost = 6,
};

// Poll kinds kept in the Tag of tmrPollLpxInfo.
enum PollKind : int { PollNone = 0, PollWriteJob = 200, PollReadJob = 300 };

enum CodeChangeResult : int {
    CodeChangeDone = 0,
    CodeChangeNotDone = 1,
    CodeChangeFailed = 2,
    CodeChangeTimedOut = 3,
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TfrmMain(const AppEnvironment& env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The dialogs are created after the main window; the program entry hands them over.
    void AttachDialogs(TfrmReceiveRadio* receiveRadio, TfrmSelectDirectory* selectDirectory,
                       TfrmChangeCode* changeCode, TfrmAbout* about);

    // ---- start-up and shutdown ----
    void FormCreate();
    void FormShow();
    void LocaliseCaptions();
    void BuildControlLists();
    void mnuFileExitClick();

    // ---- file commands ----
    void mnuFileNewClick(QObject* sender);
    void mnuFileOpenClick();
    void mnuFileSaveClick();
    void mnuFileSaveAsClick();
    void mnuFileSelectDefaultFolderClick();
    void HandleDroppedFiles(const QStringList& paths);
    void LoadConfigurationFile(const QString& path, LoadKind kind);
    // Writes the file image to the current file name: status line or box, then the title.
    void WriteCurrentFile();
    void UpdateCaption();
    // Sets the window title; in practice mode it ends in " [Übungsmodus]", so that nobody takes
    // the window for work on real devices.
    void SetCaption(const QString& title);

    // ---- decoding and encoding ----
    int DecodeConfigImage(const ConfigImage& image, uint8_t expectedMark);
    void EnableGeneration2Controls(const ConfigImage& image);
    int EncodeConfigImage(ConfigImage& image, uint8_t mark);
    bool UsesGeneration2Settings() const;
    bool PressTimeFitsDelay() const;

    // ---- entry rules ----
    void validateRadioCodeKeyPress(QChar& key);
    void validateNumericKeyPress(QChar& key);
    void validateFloatNumericKeyPress(QChar& key);
    void edtBatteryTestIntervalChange();
    void edtRadioTestAlarmIntervalChange();
    void edtMissedAckChange();
    void edtNoShortTxChange();
    void edtNoLongTxChange();
    void edtDementiaBlockTimeChange();
    void edtRfidInactivityChange();
    void edtRadioInactivityChange();
    void edtOutOfFieldTimeToRetransmitChange();
    void edtButtonActivationDelayChange();
    void edtLongDoubleTriplePressTimeChange();
    void edtLongDoubleTriplePressTimeExit();
    void edtValidateRadioCode(QLineEdit* sender);
    void cbConfig_D0Click();
    void cbRadioTestAlarmActiveClick();
    void cbConfig_D4Click();
    void cbZoneClick(QCheckBox* sender);
    void cbZone_RClick(QCheckBox* sender);

    // ---- device jobs ----
    void btnReadFromDeviceClick();
    void btnWriteToDeviceClick();
    void btnGetKorbiCodeClick();
    void mnuCommReadFromDeviceClick();
    void mnuCommWriteToDeviceClick();
    void mnuCommChangeIdCodeClick();
    int ChangeDeviceRadioCode();
    void tmrPollLpxInfoTimer();
    void tmrPollLpxTimer();

    // ---- about ----
    void mnuHelpAboutClick();

    // ---- helpers shared by the handlers ----
    Prompts& prompts() const { return *env_.prompts; }
    const AppEnvironment& environment() const { return env_; }
    // Message boxes through the prompts seam, text from the catalogue filled with args.
    void ErrorBox(int textId, const QStringList& args = {});
    // The same box with a second paragraph naming the cause, when there is one.
    void ErrorBox(int textId, const QStringList& args, const QString& cause);
    void InformationBox(int textId, const QStringList& args = {});
    void SetStatusText(const QString& text);
    QString StatusText() const;
    // The key filter an edit was given at creation (None for other widgets).
    static KeyFilter FilterOf(const QWidget* widget);

    // ==== the settings view (objectName = member name) ====
    QTabWidget* pgMain = nullptr;
    QWidget* tbsGeneral = nullptr;
    QWidget* tbsRFID = nullptr;

    QGroupBox* gbxRadioParameters = nullptr;
    QLabel* lblRadioCodeId = nullptr;
    QLabel* lblOld = nullptr;
    QLineEdit* edtRadioCodeOld = nullptr;
    QLabel* lblNew = nullptr;
    QLineEdit* edtRadioCodeNew = nullptr;
    QLabel* lblNoOfShortTransmissions = nullptr;
    QLineEdit* edtNoShortTx = nullptr;
    QLabel* lblNoOfLongTransmissions = nullptr;
    QLineEdit* edtNoLongTx = nullptr;

    QGroupBox* gbxTechnicalAlarmsInfo = nullptr;
    QLabel* lblRadioTestAlarmActive = nullptr;
    QCheckBox* cbRadioTestAlarmActive = nullptr;
    QLabel* lblRadioTestAlarmInterval = nullptr;
    QLineEdit* edtRadioTestAlarmInterval = nullptr;
    QLabel* lblTransmitTestAlarmWithButtonCounterValue = nullptr;
    QCheckBox* cbConfig_D6 = nullptr;
    QLabel* lblNoOfMissedAckBeforeSleep = nullptr;
    QLineEdit* edtMissedAck = nullptr;
    QLabel* lblBatteryTestInterval = nullptr;
    QLineEdit* edtBatteryTestInterval = nullptr;
    QLabel* lblButtonCounter = nullptr;
    QLineEdit* edtButtonCounter = nullptr;
    QLabel* lblTotalTxCounter = nullptr;
    QLineEdit* edtTotalTxCounter = nullptr;

    QGroupBox* gbxUserAlarms = nullptr;
    QLabel* lblShortPressEnabled = nullptr;
    QCheckBox* cbConfig_D4 = nullptr;
    QLabel* lblLongPressEnabled = nullptr;
    QCheckBox* cbConfig2_D1 = nullptr;
    QLabel* lblDoublePressEnabled = nullptr;
    QCheckBox* cbConfig2_D2 = nullptr;
    QLabel* lblTriplePressEnabled = nullptr;
    QCheckBox* cbConfig2_D3 = nullptr;
    QLabel* lblLongDoubleTriplePressTime = nullptr;
    QLineEdit* edtLongDoubleTriplePressTime = nullptr;
    QLabel* lblButtonActivationDelay = nullptr;
    QLineEdit* edtButtonActivationDelay = nullptr;
    QLabel* lblDementiaBlockTime = nullptr;
    QLineEdit* edtDementiaBlockTime = nullptr;
    QLabel* lblTransmitUserAlarmWithPositionInfo = nullptr;
    QCheckBox* cbConfig_D1 = nullptr;

    QGroupBox* gbxProductInformation = nullptr;
    QLabel* lblFirmwareVersion = nullptr;
    QLineEdit* edtFirmwareVersion = nullptr;
    QLabel* lblProductionDate = nullptr;
    QLineEdit* edtProductionDate = nullptr;
    QLabel* lblFirmwareType = nullptr;
    QLineEdit* edtFirmwareType = nullptr;

    QGroupBox* gbxRFID = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* lblRfidActive = nullptr;
    QCheckBox* cbConfig_D0 = nullptr;
    QLabel* lblRfidInactivityPeriodAfterReceive = nullptr;
    QLineEdit* edtRfidInactivity = nullptr;
    QLabel* lblRadioInactivityPeriodAfterTransmit = nullptr;
    QLineEdit* edtRadioInactivity = nullptr;
    QLabel* lblTransmitExtendedMessages = nullptr;
    QCheckBox* cbConfig_D2 = nullptr;
    QLabel* lblTransmitDoorAlarmInsteadOfPosition = nullptr;
    QCheckBox* cbConfig_D5 = nullptr;
    QLabel* lblPersonnelDevice = nullptr;
    QCheckBox* cbConfig_D3 = nullptr;
    QLabel* lblRetransmitWhenReentering = nullptr;
    QCheckBox* cbConfig2_D0 = nullptr;
    QLabel* lblTimeOutOfFieldToAllowTx = nullptr;
    QLineEdit* edtOutOfFieldTimeToRetransmit = nullptr;

    // The two code-and-zone groups; the arrays are indexed by code number - 1 and zone number.
    QGroupBox* gbxCodesZones = nullptr;
    QGroupBox* gbxCodesZonesRestricted = nullptr;
    std::array<QLabel*, 8> lblDoorCode{};    // lblDoorCode1 ... lblDoorCode8
    std::array<QLabel*, 8> lblDoorCode_R{};  // lblDoorCode1_R ...
    std::array<QLabel*, 16> lblZone{};       // lblZone0 ... lblZoneF
    std::array<QLabel*, 16> lblZone_R{};
    // The four ordered control lists that the codec walks: edtDoorCode1 ... edtDoorCode8,
    // cbZone0 ... cbZoneF, and the same with "_R". The layout fills them when it creates the
    // controls, so they are never empty, and BuildControlLists finds them again by name.
    std::array<QLineEdit*, 8> continuousCodes{};
    std::array<QCheckBox*, 16> continuousZones{};
    std::array<QLineEdit*, 8> restrictedCodes{};
    std::array<QCheckBox*, 16> restrictedZones{};

    QFrame* Panel1 = nullptr;
    QPushButton* btnReadFromDevice = nullptr;
    QPushButton* btnWriteToDevice = nullptr;
    QPushButton* btnGetKorbiCode = nullptr;
    QStatusBar* sbStatus = nullptr;
    QLabel* sbStatusText = nullptr;  // the status bar's one text field

    QMenu* mnuFile = nullptr;
    QMenu* mnuFileNew = nullptr;
    QAction* mnuFileNewKorbiV2 = nullptr;  // Tag 2
    QAction* mnuFileNewKorbiV1 = nullptr;  // Tag 1
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuDelimiter1 = nullptr;
    QAction* mnuFileSelectDefaultFolder = nullptr;
    QAction* mnuDelimter2 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuComm = nullptr;
    QAction* mnuCommReadFromDevice = nullptr;
    QAction* mnuCommWriteToDevice = nullptr;
    QAction* N1 = nullptr;
    QAction* mnuCommChangeIdCode = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;

    QTimer* tmrPollLpx = nullptr;      // standby timer: 1000 ms, never started
    QTimer* tmrPollLpxInfo = nullptr;  // status poll timer; its Tag is pollTag
    int pollTag = PollNone;

    // ==== window state ====
    QString applicationDataFolder;  // ends with "/"
    QString documentFolder;         // ends with "/"
    QString defaultFolder;          // no trailing "/"
    QString settingsFilePath;
    QString currentFileName;
    int configOrigin = OriginTemplate;
    ConfigImage fileImage;
    ConfigImage readImage;
    ConfigImage writeImage;
    LpxAdapter adapter;
    QString deviceRadioCode;
    uint8_t deviceFirmwareVersion = 0;
    QString newRadioCode;
    QString jobStatusText;
    QString c1StatusText;

    TfrmReceiveRadio* frmReceiveRadio = nullptr;
    TfrmSelectDirectory* frmSelectDirectory = nullptr;
    TfrmChangeCode* frmChangeCode = nullptr;
    TfrmAbout* frmAbout = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildLayout();  // app/mainwindow_layout.cpp
    void WireHandlers();

    AppEnvironment env_;
};
