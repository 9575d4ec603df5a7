#include "app/layout_tables.h"

namespace layout {

namespace {
using M = TfrmMain;
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
        {G::CodesZones, &M::gbxCodesZones, Rfid, 8, 176, 433, 273},
        {G::CodesZonesRestricted, &M::gbxCodesZonesRestricted, Rfid, 448, 176, 433, 273},
    };
    return rows;
}

// Rows of the two pages: label at x = 16 (right column of the RF-ID box: 456), its control 8
// pixels above the label's y at x = 352 (RF-ID box: 368 and 808).
const std::vector<LabelRow>& Tables::LabelRows() {
    static const std::vector<LabelRow> rows{
        {&M::lblRadioCodeId, "lblRadioCodeId", &M::gbxRadioParameters, 16, 32, 160,
         Msg::LabelRadioCodeId},
        {&M::lblOld, "lblOld", &M::gbxRadioParameters, 184, 32, 38, Msg::LabelOld},
        {&M::lblNew, "lblNew", &M::gbxRadioParameters, 312, 32, 38, Msg::LabelNew},
        {&M::lblNoOfShortTransmissions, "lblNoOfShortTransmissions", &M::gbxRadioParameters, 16, 64,
         328, Msg::LabelNoOfShortTransmissions},
        {&M::lblNoOfLongTransmissions, "lblNoOfLongTransmissions", &M::gbxRadioParameters, 16, 96,
         328, Msg::LabelNoOfLongTransmissions},

        {&M::lblRadioTestAlarmActive, "lblRadioTestAlarmActive", &M::gbxTechnicalAlarmsInfo, 16, 32,
         328, Msg::LabelRadioTestAlarmActive},
        {&M::lblRadioTestAlarmInterval, "lblRadioTestAlarmInterval", &M::gbxTechnicalAlarmsInfo, 16,
         64, 328, Msg::LabelRadioTestAlarmInterval},
        {&M::lblTransmitTestAlarmWithButtonCounterValue,
         "lblTransmitTestAlarmWithButtonCounterValue", &M::gbxTechnicalAlarmsInfo, 16, 96, 328,
         Msg::LabelTransmitTestAlarmWithButtonCounterValue},
        {&M::lblNoOfMissedAckBeforeSleep, "lblNoOfMissedAckBeforeSleep", &M::gbxTechnicalAlarmsInfo,
         16, 128, 328, Msg::LabelNoOfMissedAckBeforeSleep},
        {&M::lblBatteryTestInterval, "lblBatteryTestInterval", &M::gbxTechnicalAlarmsInfo, 16, 160,
         328, Msg::LabelBatteryTestInterval},
        {&M::lblButtonCounter, "lblButtonCounter", &M::gbxTechnicalAlarmsInfo, 16, 192, 328,
         Msg::LabelButtonCounter},
        {&M::lblTotalTxCounter, "lblTotalTxCounter", &M::gbxTechnicalAlarmsInfo, 16, 224, 328,
         Msg::LabelTotalTxCounter},

        {&M::lblShortPressEnabled, "lblShortPressEnabled", &M::gbxUserAlarms, 16, 32, 328,
         Msg::LabelShortPressEnabled},
        {&M::lblLongPressEnabled, "lblLongPressEnabled", &M::gbxUserAlarms, 16, 64, 328,
         Msg::LabelLongPressEnabled},
        {&M::lblDoublePressEnabled, "lblDoublePressEnabled", &M::gbxUserAlarms, 16, 96, 328,
         Msg::LabelDoublePressEnabled},
        {&M::lblTriplePressEnabled, "lblTriplePressEnabled", &M::gbxUserAlarms, 16, 128, 328,
         Msg::LabelTriplePressEnabled},
        {&M::lblLongDoubleTriplePressTime, "lblLongDoubleTriplePressTime", &M::gbxUserAlarms, 16,
         160, 328, Msg::LabelLongDoubleTriplePressTime},
        {&M::lblButtonActivationDelay, "lblButtonActivationDelay", &M::gbxUserAlarms, 16, 192, 328,
         Msg::LabelButtonActivationDelay},
        {&M::lblDementiaBlockTime, "lblDementiaBlockTime", &M::gbxUserAlarms, 16, 224, 328,
         Msg::LabelDementiaBlockTime},
        {&M::lblTransmitUserAlarmWithPositionInfo, "lblTransmitUserAlarmWithPositionInfo",
         &M::gbxUserAlarms, 16, 256, 328, Msg::LabelTransmitUserAlarmWithPositionInfo},

        {&M::lblFirmwareVersion, "lblFirmwareVersion", &M::gbxProductInformation, 16, 32, 328,
         Msg::LabelFirmwareVersion},
        {&M::lblProductionDate, "lblProductionDate", &M::gbxProductInformation, 16, 64, 328,
         Msg::LabelProductionDate},
        {&M::lblFirmwareType, "lblFirmwareType", &M::gbxProductInformation, 16, 96, 328,
         Msg::LabelFirmwareType},

        {&M::lblRfidActive, "lblRfidActive", &M::gbxRFID, 16, 32, 344, Msg::LabelRfidActive},
        {&M::lblRfidInactivityPeriodAfterReceive, "lblRfidInactivityPeriodAfterReceive",
         &M::gbxRFID, 16, 64, 344, Msg::LabelRfidInactivityPeriodAfterReceive},
        {&M::lblRadioInactivityPeriodAfterTransmit, "lblRadioInactivityPeriodAfterTransmit",
         &M::gbxRFID, 16, 96, 344, Msg::LabelRadioInactivityPeriodAfterTransmit},
        {&M::lblTransmitExtendedMessages, "lblTransmitExtendedMessages", &M::gbxRFID, 16, 128, 344,
         Msg::LabelTransmitExtendedMessages},
        {&M::lblTransmitDoorAlarmInsteadOfPosition, "lblTransmitDoorAlarmInsteadOfPosition",
         &M::gbxRFID, 456, 32, 344, Msg::LabelTransmitDoorAlarmInsteadOfPosition},
        {&M::lblPersonnelDevice, "lblPersonnelDevice", &M::gbxRFID, 456, 64, 344,
         Msg::LabelPersonnelDevice},
        {&M::lblRetransmitWhenReentering, "lblRetransmitWhenReentering", &M::gbxRFID, 456, 96, 344,
         Msg::LabelRetransmitWhenReentering},
        {&M::lblTimeOutOfFieldToAllowTx, "lblTimeOutOfFieldToAllowTx", &M::gbxRFID, 456, 128, 344,
         Msg::LabelTimeOutOfFieldToAllowTx},
    };
    return rows;
}

const std::vector<EditRow>& Tables::EditRows() {
    static const std::vector<EditRow> rows{
        {F::edtRadioCodeOld, &M::edtRadioCodeOld, &M::gbxRadioParameters, 224, 24, 57, 0},
        {F::edtRadioCodeNew, &M::edtRadioCodeNew, &M::gbxRadioParameters, 352, 24, 57, 1},
        {F::edtNoShortTx, &M::edtNoShortTx, &M::gbxRadioParameters, 352, 56, 57, 2},
        {F::edtNoLongTx, &M::edtNoLongTx, &M::gbxRadioParameters, 352, 88, 57, 3},

        {F::edtRadioTestAlarmInterval, &M::edtRadioTestAlarmInterval, &M::gbxTechnicalAlarmsInfo,
         352, 56, 57, 1},
        {F::edtMissedAck, &M::edtMissedAck, &M::gbxTechnicalAlarmsInfo, 352, 120, 57, 3},
        {F::edtBatteryTestInterval, &M::edtBatteryTestInterval, &M::gbxTechnicalAlarmsInfo, 352,
         152, 57, 4},
        {F::edtButtonCounter, &M::edtButtonCounter, &M::gbxTechnicalAlarmsInfo, 352, 184, 57, 5},
        {F::edtTotalTxCounter, &M::edtTotalTxCounter, &M::gbxTechnicalAlarmsInfo, 352, 216, 57, 6},

        {F::edtLongDoubleTriplePressTime, &M::edtLongDoubleTriplePressTime, &M::gbxUserAlarms, 352,
         152, 57, 4},
        {F::edtButtonActivationDelay, &M::edtButtonActivationDelay, &M::gbxUserAlarms, 352, 184, 57,
         5},
        {F::edtDementiaBlockTime, &M::edtDementiaBlockTime, &M::gbxUserAlarms, 352, 216, 57, 6},

        {F::edtFirmwareVersion, &M::edtFirmwareVersion, &M::gbxProductInformation, 352, 24, 57, 0},
        {F::edtProductionDate, &M::edtProductionDate, &M::gbxProductInformation, 352, 56, 57, 1},
        {F::edtFirmwareType, &M::edtFirmwareType, &M::gbxProductInformation, 352, 88, 57, 2},

        {F::edtRfidInactivity, &M::edtRfidInactivity, &M::gbxRFID, 368, 56, 49, 1},
        {F::edtRadioInactivity, &M::edtRadioInactivity, &M::gbxRFID, 368, 88, 49, 2},
        {F::edtOutOfFieldTimeToRetransmit, &M::edtOutOfFieldTimeToRetransmit, &M::gbxRFID, 808, 120,
         49, 7},
    };
    return rows;
}

const std::vector<CheckRow>& Tables::CheckRows() {
    static const std::vector<CheckRow> rows{
        {F::cbRadioTestAlarmActive, &M::cbRadioTestAlarmActive, &M::gbxTechnicalAlarmsInfo, 352, 24,
         0},
        {F::cbConfig_D6, &M::cbConfig_D6, &M::gbxTechnicalAlarmsInfo, 352, 88, 2},

        {F::cbConfig_D4, &M::cbConfig_D4, &M::gbxUserAlarms, 352, 24, 0},
        {F::cbConfig2_D1, &M::cbConfig2_D1, &M::gbxUserAlarms, 352, 56, 1},
        {F::cbConfig2_D2, &M::cbConfig2_D2, &M::gbxUserAlarms, 352, 88, 2},
        {F::cbConfig2_D3, &M::cbConfig2_D3, &M::gbxUserAlarms, 352, 120, 3},
        // Level with its label, unlike the other boxes.
        {F::cbConfig_D1, &M::cbConfig_D1, &M::gbxUserAlarms, 352, 256, 7},

        {F::cbConfig_D0, &M::cbConfig_D0, &M::gbxRFID, 368, 24, 0},
        {F::cbConfig_D2, &M::cbConfig_D2, &M::gbxRFID, 368, 120, 3},
        {F::cbConfig_D5, &M::cbConfig_D5, &M::gbxRFID, 808, 24, 4},
        {F::cbConfig_D3, &M::cbConfig_D3, &M::gbxRFID, 808, 56, 5},
        {F::cbConfig2_D0, &M::cbConfig2_D0, &M::gbxRFID, 808, 88, 6},
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
         &M::mnuFileOpenClick},
        {&M::mnuFileSave, "mnuFileSave", &M::mnuFile, "&Save", Msg::MenuFileSave, Qt::Key_S, -1,
         &M::mnuFileSaveClick},
        {&M::mnuFileSaveAs, "mnuFileSaveAs", &M::mnuFile, "Save &As...", Msg::MenuFileSaveAs, 0, -1,
         &M::mnuFileSaveAsClick},
        {&M::mnuDelimiter1, "mnuDelimiter1", &M::mnuFile, "-", 0, 0, -1, nullptr},
        {&M::mnuFileSelectDefaultFolder, "mnuFileSelectDefaultFolder", &M::mnuFile,
         "Select default &folder...", Msg::MenuFileSelectDefaultFolder, 0, -1,
         &M::mnuFileSelectDefaultFolderClick},
        {&M::mnuDelimter2, "mnuDelimter2", &M::mnuFile, "-", 0, 0, -1, nullptr},
        {&M::mnuFileExit, "mnuFileExit", &M::mnuFile, "E&xit", Msg::MenuFileExit, 0, -1,
         &M::mnuFileExitClick},
        {&M::mnuCommReadFromDevice, "mnuCommReadFromDevice", &M::mnuComm, "&Read from K-ORBI",
         Msg::MenuCommReadFromDevice, Qt::Key_R, -1, &M::mnuCommReadFromDeviceClick},
        {&M::mnuCommWriteToDevice, "mnuCommWriteToDevice", &M::mnuComm, "&Write to K-ORBI",
         Msg::MenuCommWriteToDevice, Qt::Key_W, -1, &M::mnuCommWriteToDeviceClick},
        {&M::mnuCommWriteSeries, "mnuCommWriteSeries", &M::mnuComm, "Write &series...",
         Msg::MenuCommWriteSeries, 0, -1, &M::mnuCommWriteSeriesClick},
        {&M::mnuCommVerifyAfterWrite, "mnuCommVerifyAfterWrite", &M::mnuComm, "&Verify after write",
         Msg::MenuCommVerifyAfterWrite, 0, -1, &M::mnuCommVerifyAfterWriteClick},
        {&M::N1, "N1", &M::mnuComm, "-", 0, 0, -1, nullptr},
        {&M::mnuCommChangeIdCode, "mnuCommChangeIdCode", &M::mnuComm, "&Change ID code...",
         Msg::MenuCommChangeIdCode, 0, -1, &M::mnuCommChangeIdCodeClick},
        {&M::N2, "N2", &M::mnuComm, "-", 0, 0, -1, nullptr},
        {&M::mnuCommShowJournal, "mnuCommShowJournal", &M::mnuComm, "Show &journal",
         Msg::MenuCommShowJournal, 0, -1, &M::mnuCommShowJournalClick},
        {&M::mnuHelpAbout, "mnuHelpAbout", &M::mnuHelp, "&About...", Msg::MenuHelpAbout, 0, -1,
         &M::mnuHelpAboutClick},
    };
    return rows;
}

const std::vector<ButtonRow>& Tables::ButtonRows() {
    static const std::vector<ButtonRow> rows{
        {&M::btnReadFromDevice, "btnReadFromDevice", 496, 8, 185, 41, Msg::ButtonReadFromDevice,
         true, &M::btnReadFromDeviceClick},
        {&M::btnWriteToDevice, "btnWriteToDevice", 696, 8, 185, 41, Msg::ButtonWriteToDevice, true,
         &M::btnWriteToDeviceClick},
        {&M::btnGetKorbiCode, "btnGetKorbiCode", 136, 16, 97, 33, 0, false,
         &M::btnGetKorbiCodeClick},
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
