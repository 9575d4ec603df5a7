#pragma once
// Names of the text catalogue's ids (texts.inc). Code refers to a text by its name; the number
// is what the catalogue and the scripted tests see.

namespace Msg {
enum Id : int {
    ProgramName = 10000,

    // Menus
    MenuFile = 10101,
    MenuFileNew = 10102,
    MenuFileOpen = 10103,
    MenuFileSave = 10104,
    MenuFileSaveAs = 10105,
    MenuFileSelectDefaultFolder = 10106,
    MenuFileExit = 10107,
    MenuComm = 10108,
    MenuCommReadFromDevice = 10109,
    MenuCommWriteToDevice = 10110,
    MenuCommChangeIdCode = 10111,
    MenuHelp = 10112,
    MenuHelpAbout = 10113,

    // Settings view: pages, group boxes and labels
    PageGeneral = 10121,
    BoxRadioParameters = 10122,
    LabelRadioCodeId = 10123,
    LabelOld = 10124,
    LabelNew = 10125,
    LabelNoOfShortTransmissions = 10126,
    LabelNoOfLongTransmissions = 10127,
    BoxTechnicalAlarmsInfo = 10141,
    LabelRadioTestAlarmActive = 10142,
    LabelRadioTestAlarmInterval = 10143,
    LabelNoOfMissedAckBeforeSleep = 10144,
    LabelBatteryTestInterval = 10145,
    LabelTransmitTestAlarmWithButtonCounterValue = 10146,
    LabelButtonCounter = 10147,
    LabelTotalTxCounter = 10148,
    BoxUserAlarms = 10161,
    LabelShortPressEnabled = 10162,
    LabelLongPressEnabled = 10163,
    LabelDoublePressEnabled = 10164,
    LabelTriplePressEnabled = 10165,
    LabelLongDoubleTriplePressTime = 10166,
    LabelButtonActivationDelay = 10167,
    LabelDementiaBlockTime = 10168,
    LabelTransmitUserAlarmWithPositionInfo = 10169,
    BoxProductInformation = 10181,
    LabelFirmwareVersion = 10182,
    LabelProductionDate = 10183,
    LabelFirmwareType = 10184,
    PageRfid = 10201,
    BoxRfid = 10202,
    LabelRfidActive = 10203,
    LabelRfidInactivityPeriodAfterReceive = 10204,
    LabelRadioInactivityPeriodAfterTransmit = 10205,
    LabelTransmitExtendedMessages = 10206,
    LabelTransmitDoorAlarmInsteadOfPosition = 10207,
    LabelPersonnelDevice = 10208,
    LabelRetransmitWhenReentering = 10209,
    LabelTimeOutOfFieldToAllowTx = 10210,
    BoxCodesZones = 10221,
    BoxCodesZonesRestricted = 10222,
    LabelDoorCode = 10223,  // "Nummer %s"
    LabelZone = 10224,      // "Zone %s"
    ButtonReadFromDevice = 10251,
    ButtonWriteToDevice = 10252,

    // About box and default folder dialog
    AboutTitle = 10301,
    SelectFolderTitle = 10401,
    SelectFolderBox = 10402,
    SelectFolderInfo = 10403,
    BrowseButton = 10702,

    // Reading a device
    ReadTitle = 10501,
    PressToIdentify = 10502,
    PressToRead = 10503,
    ReadAborted = 10504,
    ReadFailed = 10505,
    ReadDone = 10506,
    LpxFirmwareTooOld = 10507,
    LpxJobNotStarted = 10508,

    // Writing a device
    WriteTitle = 10601,
    PressToWrite = 10602,
    WriteFailed = 10603,
    WriteAborted = 10604,
    WriteDone = 10605,

    // Radio ID code change
    ChangeCodeTitle = 10621,
    ChangeCodeNote = 10622,
    ChangeCodeNewCodeLabel = 10623,
    ChangeCodeButton = 10624,
    CodeAlreadySet = 10625,
    CodeChanged = 10626,
    CodeChangeFailed = 10627,
    PressToChangeCode = 10628,
    CodeNotFourHexDigits = 10629,

    // Files
    FileReadOnly = 10801,
    OpenTitle = 10802,
    IdentifyAborted = 10804,
    LpxNotReachable = 10805,
    FileNotLoaded = 10806,
    DropOneFileOnly = 10807,
    DropNotAConfiguration = 10808,
    FileOpened = 10809,
    TemplateNotFound = 10811,
    FileNotSaved = 10812,
    FileExistsOverwrite = 10813,
    SaveAsTitle = 10814,
    FileSaved = 10815,
    ConfigFileFilter = 10816,
    ConversionError = 10817,
    ForbiddenCode = 10818,
    SelectNewFolderTitle = 10819,
    BadProduct = 10820,
    TemplateLoaded = 10821,
    BadFileSize = 10822,
    EncodingError = 10823,

    // Entry rules
    RangeBatteryTestInterval = 10851,
    RangeRadioTestAlarmInterval = 10852,
    RangeMissedAck = 10853,
    RangeNoShortTx = 10854,
    RangeNoLongTx = 10855,
    RangeDementiaBlockTime = 10856,
    RangeRfidInactivity = 10857,
    RangeRadioInactivity = 10858,
    RangeActivationDelay = 10859,
    RangePressTime = 10860,

    // Device jobs
    ConfirmCodeChange = 10871,
    WaitingForDevice = 10872,
    WaitTimedOutText = 10873,
    Generation1Warning = 10874,
    CodeInBothGroups = 10875,
    ZoneInBothGroups = 10876,
    PressTimeTooShort = 10877,

    // Window title
    OriginDeviceCaption = 10891,
    OriginTemplateCaption = 10892,

    DataSubPath = 19999,  // "\TALO\K-ORBI Programmer (DE)\"

    // Why a file could not be read or written
    CauseNoSpace = 20000,
    CauseQuotaExceeded = 20001,
    CauseNoPermission = 20002,
    CauseNotPermitted = 20003,
    CauseReadOnlyMedium = 20004,
    CauseFileTooLarge = 20005,
    CauseNameTooLong = 20006,
    CauseNotFound = 20007,
    CauseForeignLink = 20008,
    CauseNotAFile = 20009,
    CauseOther = 20010,  // "Das Betriebssystem meldet den Fehler %s."
    CauseForeignFolderLink = 20011,
    CauseFileMayBeDamaged = 20012,
    CauseNotAFolder = 20013,
    CauseForeignFile = 20014,
    CauseSpecialFile = 20015,

    // The line to the LPX
    LpxLineLost = 20050,
    LpxNoPermissionJoinGroup = 20051,
    LpxNoPermission = 20052,
    LpxBusy = 20053,

    // The journal of device jobs
    MenuCommShowJournal = 20100,
    JournalTitle = 20101,
    JournalWriteFailed = 20102,
    JournalReadFailed = 20103,
    JournalServerUnreachable = 20104,  // the line stays in the local record
    JournalSent = 20105,
    JournalNoImage = 20106,
    JournalBadServer = 20107,
    JournalImportFailed = 20108,
    JournalNoServer = 20109,
    JournalServerNotUnderstood = 20140,  // the line stays in the local record
    JournalLineSetAside = 20141,         // the server refused the line's values
    JournalServerRefused = 20142,        // e.g. a locked table: the line is sent later
    // A series with a code list reserves its codes on the server
    SeriesNoCodeServer = 20143,
    SeriesAskLocalCodes = 20144,
    SeriesCodeServerLost = 20145,
    SeriesLocalCodesOnly = 20146,
    // The journal's columns, in file order
    JournalColumnTime = 20110,
    JournalColumnJob = 20111,
    JournalColumnCodeBefore = 20112,
    JournalColumnCodeAfter = 20113,
    JournalColumnFirmwareVersion = 20114,
    JournalColumnProductionDate = 20115,
    JournalColumnFileName = 20116,
    JournalColumnSha256 = 20117,
    JournalColumnOutcome = 20118,
    JournalColumnProgram = 20119,
    JournalColumnVerifySha256 = 20120,
    JournalColumnLoginName = 20121,
    JournalColumnHostName = 20122,
    JournalColumnProgramVersion = 20123,
    JournalColumnSite = 20124,
    JournalColumnRoom = 20125,
    // The journal window
    JournalDeviceFilter = 20130,
    JournalOpenConfiguration = 20131,
    JournalConfigurationLoaded = 20132,
    // The record's versions, its causes in German, and the journal window's filters
    JournalNewerVersion = 20600,
    CauseRecordBusy = 20601,
    CauseRecordReadOnly = 20602,
    CauseRecordDamaged = 20603,
    CauseRecordIo = 20604,
    CauseRecordCannotOpen = 20605,
    CauseRecordOther = 20606,
    RestoreTargetUnusable = 20607,
    JournalPracticeNotRecorded = 20608,
    JournalExport = 20609,
    JournalFrom = 20610,
    JournalUntil = 20611,
    JournalLineCount = 20612,
    JournalLineCaption = 20613,
    JournalExportFailed = 20614,
    JournalExported = 20615,
    JournalKeptLocally = 20616,
    JournalExportTitle = 20617,
    JournalExportFilter = 20618,
    JournalLoading = 20619,
    JournalExporting = 20620,

    // Practice mode
    PracticePressButton = 20150,
    PracticeCaption = 20151,
    PracticeBadOption = 20152,

    // Checking a write by reading it back
    MenuCommVerifyAfterWrite = 20200,
    PressToVerify = 20201,
    WriteVerified = 20202,
    VerifyMismatch = 20203,
    VerifyDifference = 20204,
    VerifyNotDone = 20205,
    VerifyAbortedCause = 20206,

    // Writing a series of devices
    MenuCommWriteSeries = 20210,
    SeriesTitle = 20211,
    SeriesDeviceOf = 20212,
    SeriesDevice = 20213,
    SeriesDeviceWritten = 20214,
    SeriesDeviceVerified = 20215,
    SeriesDeviceFailed = 20216,
    SeriesDeviceAborted = 20217,
    SeriesCodeSkipped = 20218,
    SeriesCodesUsedUp = 20219,
    SeriesSameFailureTwice = 20220,
    SeriesSummary = 20221,
    SeriesDeviceNotVerified = 20222,
    SeriesDeviceAgain = 20248,
    // The series dialog
    SeriesCountLabel = 20223,
    SeriesUntilStopped = 20224,
    SeriesKeepCodes = 20225,
    SeriesCodesFromList = 20226,
    SeriesChooseList = 20227,
    SeriesStart = 20228,
    SeriesConfiguration = 20229,
    SeriesColumnDevice = 20236,
    SeriesColumnVerified = 20237,
    SeriesOutcomeWritten = 20238,
    SeriesOutcomeFailed = 20239,
    // The code list of a series
    CodeListBadLine = 20230,
    CodeListForbidden = 20231,
    CodeListTwice = 20232,
    CodeListEmpty = 20233,
    CodeListUnreadable = 20234,
    CodeListBadRange = 20235,
    CodeListTooLarge = 20242,

    // The support trace
    TraceOpenFailed = 20240,
    TraceIncomplete = 20241,
    // The series dialog: what it writes, the next device's code, a list shorter than the count
    SeriesTemplate = 20243,
    SeriesReadFromDevice = 20244,
    SeriesEdited = 20245,
    SeriesNextCode = 20246,
    SeriesListShorterThanCount = 20247,

    // korbi-cli read -o
    ReadTargetUnusable = 20300,
    ReadSavedUnderOtherName = 20301,
    // The command lines and korbi-cli's output
    OutputFailed = 20400,
    UnknownOption = 20401,
    OptionNeedsValue = 20402,
    OptionTakesNoValue = 20403,
    OptionTwice = 20404,
    DataFolderUnusable = 20405,
    ValueEmpty = 20406,
    ValueOutOfRange = 20407,
    ValueNotKept = 20412,  // the file cannot hold the value as given
    ValueControlCharacter = 20408,
    FieldNotStored = 20409,
    IdentifyRetryFailed = 20410,
    IdentifyRetryTimedOut = 20411,

    // The LPX at a glance: the status line's field
    LpxStatusConnected = 20500,
    LpxStatusNotFound = 20501,
    LpxStatusNoPermission = 20502,
    LpxStatusPractice = 20503,
    AboutDataFolder = 20504,
    PracticeBanner = 20505,
    DeviceSuccess = 20506,
    LpxStatusPortUsable = 20507,  // --port
    LpxStatusPortMissing = 20508,
    LpxStatusPortDenied = 20509,

    // The wait dialog's progress line
    WaitStepIdentify = 20530,
    WaitStepRead = 20531,
    WaitStepWrite = 20532,
    WaitStepChangeCode = 20533,
    WaitStepSeconds = 20534,
    WaitSeconds = 20535,
    WaitReminder = 20536,
    WaitStepIdentifyOfThree = 20537,
    WaitStepWriteOfThree = 20538,
    WaitStepVerify = 20539,

    // The manual
    ManualMissing = 20540,
    ManualNotShown = 20541,
    MenuHelpManual = 20542,

    // Unsaved edits and recent files
    UnsavedEditsQuestion = 20520,
    UnsavedSave = 20521,
    UnsavedDiscard = 20522,
    UnsavedCancel = 20523,
    MenuFileRecent = 20524,
    // korbi-cli ports
    PortsConverterUsable = 20510,
    PortsConverterDenied = 20511,
    PortsNoConverter = 20512,
    PortsRuleInstalled = 20513,
    PortsRuleMissing = 20514,
    PortsLinkPresent = 20515,
    PortsLinkMissing = 20516,
};
}  // namespace Msg
