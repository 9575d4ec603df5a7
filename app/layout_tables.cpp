#include "app/layout_tables.h"

namespace layout {

namespace {
using M = MainWindow;
using F = Field;
using G = Group;
}  // namespace

const std::vector<BoxRow>& Tables::BoxRows() {
    static const std::vector<BoxRow> rows{
        {G::RadioParameters, &M::gbxRadioParameters, General, 8, 0, 433, 145},
        {G::TechnicalAlarmsInfo, &M::gbxTechnicalAlarmsInfo, General, 8, 152, 433, 297},
        {G::UserAlarms, &M::gbxUserAlarms, General, 448, 0, 433, 305},
        {G::ProductInformation, &M::gbxProductInformation, General, 448, 312, 433, 137},
        {G::Rfid, &M::gbxRFID, Rfid, 8, 0, 873, 169},
        {G::CodesZones, &M::gbxCodesZones, Rfid, 8, 176, 433, 273, 'K'},
        {G::CodesZonesRestricted, &M::gbxCodesZonesRestricted, Rfid, 448, 176, 433, 273, 'B'},
    };
    return rows;
}

// Rows of the two pages: label at x = 16 (right column of the RF-ID box: 456), its control 8
// pixels above the label's y at x = 352 (RF-ID box: 368 and 808).
const std::vector<LabelRow>& Tables::LabelRows() {
    static const std::vector<LabelRow> rows{
        {"lblRadioCodeId", &M::gbxRadioParameters, 16, 32, 160, Msg::LabelRadioCodeId,
         F::newRadioCode, 'F'},
        {"lblOld", &M::gbxRadioParameters, 184, 32, 38, Msg::LabelOld, F::radioCode, 0},
        {"lblNew", &M::gbxRadioParameters, 312, 32, 38, Msg::LabelNew, F::newRadioCode, 0},
        {"lblNoOfShortTransmissions", &M::gbxRadioParameters, 16, 64, 328,
         Msg::LabelNoOfShortTransmissions, F::shortTransmissions, 'K'},
        {"lblNoOfLongTransmissions", &M::gbxRadioParameters, 16, 96, 328,
         Msg::LabelNoOfLongTransmissions, F::longTransmissions, 'G'},

        {"lblRadioTestAlarmActive", &M::gbxTechnicalAlarmsInfo, 16, 32, 328,
         Msg::LabelRadioTestAlarmActive, F::radioTestAlarmActive, 'T'},
        {"lblRadioTestAlarmInterval", &M::gbxTechnicalAlarmsInfo, 16, 64, 328,
         Msg::LabelRadioTestAlarmInterval, F::radioTestAlarmIntervalHours, 'I'},
        {"lblTransmitTestAlarmWithButtonCounterValue", &M::gbxTechnicalAlarmsInfo, 16, 96, 328,
         Msg::LabelTransmitTestAlarmWithButtonCounterValue, F::radioTestAlarmWithButtonCounter,
         'Z'},
        {"lblNoOfMissedAckBeforeSleep", &M::gbxTechnicalAlarmsInfo, 16, 128, 328,
         Msg::LabelNoOfMissedAckBeforeSleep, F::missedAcksBeforePowerSaving, '\xDC'},
        {"lblBatteryTestInterval", &M::gbxTechnicalAlarmsInfo, 16, 160, 328,
         Msg::LabelBatteryTestInterval, F::batteryAlarmIntervalHours, 'B'},
        {"lblButtonCounter", &M::gbxTechnicalAlarmsInfo, 16, 192, 328, Msg::LabelButtonCounter,
         F::acknowledgedAlarmCount, 0},
        {"lblTotalTxCounter", &M::gbxTechnicalAlarmsInfo, 16, 224, 328, Msg::LabelTotalTxCounter,
         F::transmissionCount, 0},

        {"lblShortPressEnabled", &M::gbxUserAlarms, 16, 32, 328, Msg::LabelShortPressEnabled,
         F::shortPressActive, 'U'},
        {"lblLongPressEnabled", &M::gbxUserAlarms, 16, 64, 328, Msg::LabelLongPressEnabled,
         F::longPressActive, 'N'},
        {"lblDoublePressEnabled", &M::gbxUserAlarms, 16, 96, 328, Msg::LabelDoublePressEnabled,
         F::doublePressActive, 'P'},
        {"lblTriplePressEnabled", &M::gbxUserAlarms, 16, 128, 328, Msg::LabelTriplePressEnabled,
         F::triplePressActive, 'C'},
        {"lblLongDoubleTriplePressTime", &M::gbxUserAlarms, 16, 160, 328,
         Msg::LabelLongDoubleTriplePressTime, F::pressTimeSeconds, 'E'},
        {"lblButtonActivationDelay", &M::gbxUserAlarms, 16, 192, 328,
         Msg::LabelButtonActivationDelay, F::activationDelaySeconds, 'V'},
        {"lblDementiaBlockTime", &M::gbxUserAlarms, 16, 224, 328, Msg::LabelDementiaBlockTime,
         F::userAlarmBlockMinutes, 'W'},
        {"lblTransmitUserAlarmWithPositionInfo", &M::gbxUserAlarms, 16, 256, 328,
         Msg::LabelTransmitUserAlarmWithPositionInfo, F::userAlarmWithPosition, 'A'},

        {"lblFirmwareVersion", &M::gbxProductInformation, 16, 32, 328, Msg::LabelFirmwareVersion,
         F::firmwareVersion, 0},
        {"lblProductionDate", &M::gbxProductInformation, 16, 64, 328, Msg::LabelProductionDate,
         F::productionDate, 0},
        {"lblFirmwareType", &M::gbxProductInformation, 16, 96, 328, Msg::LabelFirmwareType,
         F::firmwareType, 0},

        {"lblRfidActive", &M::gbxRFID, 16, 32, 344, Msg::LabelRfidActive, F::rfidActive, 'A'},
        {"lblRfidInactivityPeriodAfterReceive", &M::gbxRFID, 16, 64, 344,
         Msg::LabelRfidInactivityPeriodAfterReceive, F::rfidInactivitySeconds, 'I'},
        {"lblRadioInactivityPeriodAfterTransmit", &M::gbxRFID, 16, 96, 344,
         Msg::LabelRadioInactivityPeriodAfterTransmit, F::radioInactivitySeconds, 'F'},
        {"lblTransmitExtendedMessages", &M::gbxRFID, 16, 128, 344,
         Msg::LabelTransmitExtendedMessages, F::extendedMessages, 'E'},
        {"lblTransmitDoorAlarmInsteadOfPosition", &M::gbxRFID, 456, 32, 344,
         Msg::LabelTransmitDoorAlarmInsteadOfPosition, F::doorAlarmInsteadOfPosition, 'T'},
        {"lblPersonnelDevice", &M::gbxRFID, 456, 64, 344, Msg::LabelPersonnelDevice,
         F::personnelDevice, 'P'},
        {"lblRetransmitWhenReentering", &M::gbxRFID, 456, 96, 344,
         Msg::LabelRetransmitWhenReentering, F::retransmitOnReentry, 'W'},
        {"lblTimeOutOfFieldToAllowTx", &M::gbxRFID, 456, 128, 344,
         Msg::LabelTimeOutOfFieldToAllowTx, F::outOfFieldSecondsBeforeRetransmit, 'Z'},
    };
    return rows;
}

const std::vector<PlaceRow>& Tables::PlaceRows() {
    static const std::vector<PlaceRow> rows{
        {F::radioCode, &M::gbxRadioParameters, 224, 24, 57, 0},
        {F::newRadioCode, &M::gbxRadioParameters, 352, 24, 57, 1},
        {F::shortTransmissions, &M::gbxRadioParameters, 352, 56, 57, 2},
        {F::longTransmissions, &M::gbxRadioParameters, 352, 88, 57, 3},

        {F::radioTestAlarmIntervalHours, &M::gbxTechnicalAlarmsInfo, 352, 56, 57, 1},
        {F::missedAcksBeforePowerSaving, &M::gbxTechnicalAlarmsInfo, 352, 120, 57, 3},
        {F::batteryAlarmIntervalHours, &M::gbxTechnicalAlarmsInfo, 352, 152, 57, 4},
        {F::acknowledgedAlarmCount, &M::gbxTechnicalAlarmsInfo, 352, 184, 57, 5},
        {F::transmissionCount, &M::gbxTechnicalAlarmsInfo, 352, 216, 57, 6},

        {F::pressTimeSeconds, &M::gbxUserAlarms, 352, 152, 57, 4},
        {F::activationDelaySeconds, &M::gbxUserAlarms, 352, 184, 57, 5},
        {F::userAlarmBlockMinutes, &M::gbxUserAlarms, 352, 216, 57, 6},

        {F::firmwareVersion, &M::gbxProductInformation, 352, 24, 57, 0},
        {F::productionDate, &M::gbxProductInformation, 352, 56, 57, 1},
        {F::firmwareType, &M::gbxProductInformation, 352, 88, 57, 2},

        {F::rfidInactivitySeconds, &M::gbxRFID, 368, 56, 49, 1},
        {F::radioInactivitySeconds, &M::gbxRFID, 368, 88, 49, 2},
        {F::outOfFieldSecondsBeforeRetransmit, &M::gbxRFID, 808, 120, 49, 7},

        {F::radioTestAlarmActive, &M::gbxTechnicalAlarmsInfo, 352, 24, 0, 0},
        {F::radioTestAlarmWithButtonCounter, &M::gbxTechnicalAlarmsInfo, 352, 88, 0, 2},

        {F::shortPressActive, &M::gbxUserAlarms, 352, 24, 0, 0},
        {F::longPressActive, &M::gbxUserAlarms, 352, 56, 0, 1},
        {F::doublePressActive, &M::gbxUserAlarms, 352, 88, 0, 2},
        {F::triplePressActive, &M::gbxUserAlarms, 352, 120, 0, 3},
        // Level with its label, unlike the other boxes.
        {F::userAlarmWithPosition, &M::gbxUserAlarms, 352, 256, 0, 7},

        {F::rfidActive, &M::gbxRFID, 368, 24, 0, 0},
        {F::extendedMessages, &M::gbxRFID, 368, 120, 0, 3},
        {F::doorAlarmInsteadOfPosition, &M::gbxRFID, 808, 24, 0, 4},
        {F::personnelDevice, &M::gbxRFID, 808, 56, 0, 5},
        {F::retransmitOnReentry, &M::gbxRFID, 808, 88, 0, 6},
    };
    return rows;
}

const std::vector<MenuRow>& Tables::MenuRows() {
    static const std::vector<MenuRow> rows{
        {&M::mnuFile, "mnuFile", nullptr, "&File", Msg::MenuFile},
        {&M::mnuFileNew, "mnuFileNew", &M::mnuFile, "&New", Msg::MenuFileNew},
        {&M::mnuComm, "mnuComm", nullptr, "&Communication", Msg::MenuComm},
        {&M::mnuHelp, "mnuHelp", nullptr, "&Help", Msg::MenuHelp},
    };
    return rows;
}

// In menu order. The New submenu is inserted before mnuFileOpen.
const std::vector<ActionRow>& Tables::ActionRows() {
    static const std::vector<ActionRow> rows{
        {&M::mnuFileNewKorbiV2, "mnuFileNewKorbiV2", &M::mnuFileNew, "K-ORBI v2.x", 0, Qt::Key_N, 2,
         nullptr},
        {&M::mnuFileNewKorbiV1, "mnuFileNewKorbiV1", &M::mnuFileNew, "K-ORBI v1.x", 0, 0, 1,
         nullptr},
        {&M::mnuFileOpen, "mnuFileOpen", &M::mnuFile, "&Open...", Msg::MenuFileOpen, Qt::Key_O, -1,
         &M::onOpenTriggered},
        {&M::mnuFileSave, "mnuFileSave", &M::mnuFile, "&Save", Msg::MenuFileSave, Qt::Key_S, -1,
         &M::onSaveTriggered},
        {&M::mnuFileSaveAs, "mnuFileSaveAs", &M::mnuFile, "Save &As...", Msg::MenuFileSaveAs, 0, -1,
         &M::onSaveAsTriggered},
        {&M::mnuDelimiter1, "mnuDelimiter1", &M::mnuFile, "-", 0, 0, -1, nullptr},
        {&M::mnuFileSelectDefaultFolder, "mnuFileSelectDefaultFolder", &M::mnuFile,
         "Select default &folder...", Msg::MenuFileSelectDefaultFolder, 0, -1,
         &M::onSelectDefaultFolderTriggered},
        {&M::exitSeparator, "mnuDelimter2", &M::mnuFile, "-", 0, 0, -1, nullptr},
        {&M::mnuFileExit, "mnuFileExit", &M::mnuFile, "E&xit", Msg::MenuFileExit, Qt::Key_Q, -1,
         &M::onExitTriggered},
        {&M::mnuCommReadFromDevice, "mnuCommReadFromDevice", &M::mnuComm, "&Read from K-ORBI",
         Msg::MenuCommReadFromDevice, Qt::Key_R, -1, &M::onReadTriggered},
        {&M::mnuCommWriteToDevice, "mnuCommWriteToDevice", &M::mnuComm, "&Write to K-ORBI",
         Msg::MenuCommWriteToDevice, Qt::Key_W, -1, &M::onWriteTriggered},
        {&M::mnuCommWriteSeries, "mnuCommWriteSeries", &M::mnuComm, "Write &series...",
         Msg::MenuCommWriteSeries, 0, -1, &M::onWriteSeriesTriggered},
        {&M::mnuCommVerifyAfterWrite, "mnuCommVerifyAfterWrite", &M::mnuComm, "&Verify after write",
         Msg::MenuCommVerifyAfterWrite, 0, -1, &M::onVerifyAfterWriteTriggered},
        {&M::changeCodeSeparator, "N1", &M::mnuComm, "-", 0, 0, -1, nullptr},
        {&M::mnuCommChangeIdCode, "mnuCommChangeIdCode", &M::mnuComm, "&Change ID code...",
         Msg::MenuCommChangeIdCode, 0, -1, &M::onChangeCodeTriggered},
        {&M::journalSeparator, "N2", &M::mnuComm, "-", 0, 0, -1, nullptr},
        {&M::mnuCommShowJournal, "mnuCommShowJournal", &M::mnuComm, "Show &journal",
         Msg::MenuCommShowJournal, 0, -1, &M::onShowJournalTriggered},
        {&M::mnuHelpManual, "mnuHelpManual", &M::mnuHelp, "&Manual", Msg::MenuHelpManual,
         Qt::Key_F1, -1, &M::onManualTriggered},
        {&M::mnuHelpAbout, "mnuHelpAbout", &M::mnuHelp, "&About...", Msg::MenuHelpAbout, 0, -1,
         &M::onAboutTriggered},
    };
    return rows;
}

const std::vector<ButtonRow>& Tables::ButtonRows() {
    static const std::vector<ButtonRow> rows{
        {&M::btnReadFromDevice, "btnReadFromDevice", 496, 8, 185, 41, Msg::ButtonReadFromDevice,
         'L', true, &M::onReadClicked},
        {&M::btnWriteToDevice, "btnWriteToDevice", 696, 8, 185, 41, Msg::ButtonWriteToDevice, 'S',
         true, &M::onWriteClicked},
        {&M::btnGetKorbiCode, "btnGetKorbiCode", 136, 16, 97, 33, 0, 0, false,
         &M::onGetCodeClicked},
    };
    return rows;
}

static QString Suffix(bool restricted) {
    return restricted ? QStringLiteral("_R") : QString();
}

QString CodeLabelName(int number, bool restricted) {
    return QStringLiteral("lblDoorCode%1").arg(number) + Suffix(restricted);
}
QString ZoneLabelName(int zone, bool restricted) {
    return QStringLiteral("lblZone") + QString::number(zone, 16).toUpper() + Suffix(restricted);
}

}  // namespace layout
