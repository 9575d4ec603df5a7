#include "app/layout_tables.h"

#include <QLocale>

namespace layout {

namespace {
using M = TfrmMain;
constexpr KeyFilter kNone = KeyFilter::None;
constexpr KeyFilter kHex = KeyFilter::Hexadecimal;
constexpr KeyFilter kWhole = KeyFilter::WholeNumber;
constexpr KeyFilter kDecimal = KeyFilter::Decimal;
}  // namespace

const std::vector<BoxRow>& BoxRows() {
    static const std::vector<BoxRow> rows{
        {&M::gbxRadioParameters, "gbxRadioParameters", General, 8, 0, 433, 145, 10122},
        {&M::gbxTechnicalAlarmsInfo, "gbxTechnicalAlarmsInfo", General, 8, 152, 433, 297, 10141},
        {&M::gbxUserAlarms, "gbxUserAlarms", General, 448, 0, 433, 305, 10161},
        {&M::gbxProductInformation, "gbxProductInformation", General, 448, 312, 433, 137, 10181},
        {&M::gbxRFID, "gbxRFID", Rfid, 8, 0, 873, 169, 10202},
        {&M::gbxCodesZones, "gbxCodesZones", Rfid, 8, 176, 433, 273, 10221},
        {&M::gbxCodesZonesRestricted, "gbxCodesZonesRestricted", Rfid, 448, 176, 433, 273, 10222},
    };
    return rows;
}

// Rows of the two pages: label at x = 16 (right column of the RF-ID box: 456), its control 8
// pixels above the label's y at x = 352 (RF-ID box: 368 and 808).
const std::vector<LabelRow>& LabelRows() {
    static const std::vector<LabelRow> rows{
        {&M::lblRadioCodeId, "lblRadioCodeId", &M::gbxRadioParameters, 16, 32, 160, 10123},
        {&M::lblOld, "lblOld", &M::gbxRadioParameters, 184, 32, 38, 10124},
        {&M::lblNew, "lblNew", &M::gbxRadioParameters, 312, 32, 38, 10125},
        {&M::lblNoOfShortTransmissions, "lblNoOfShortTransmissions", &M::gbxRadioParameters, 16, 64,
         328, 10126},
        {&M::lblNoOfLongTransmissions, "lblNoOfLongTransmissions", &M::gbxRadioParameters, 16, 96,
         328, 10127},

        {&M::lblRadioTestAlarmActive, "lblRadioTestAlarmActive", &M::gbxTechnicalAlarmsInfo, 16, 32,
         328, 10142},
        {&M::lblRadioTestAlarmInterval, "lblRadioTestAlarmInterval", &M::gbxTechnicalAlarmsInfo, 16,
         64, 328, 10143},
        {&M::lblTransmitTestAlarmWithButtonCounterValue,
         "lblTransmitTestAlarmWithButtonCounterValue", &M::gbxTechnicalAlarmsInfo, 16, 96, 328,
         10146},
        {&M::lblNoOfMissedAckBeforeSleep, "lblNoOfMissedAckBeforeSleep", &M::gbxTechnicalAlarmsInfo,
         16, 128, 328, 10144},
        {&M::lblBatteryTestInterval, "lblBatteryTestInterval", &M::gbxTechnicalAlarmsInfo, 16, 160,
         328, 10145},
        {&M::lblButtonCounter, "lblButtonCounter", &M::gbxTechnicalAlarmsInfo, 16, 192, 328, 10147},
        {&M::lblTotalTxCounter, "lblTotalTxCounter", &M::gbxTechnicalAlarmsInfo, 16, 224, 328,
         10148},

        {&M::lblShortPressEnabled, "lblShortPressEnabled", &M::gbxUserAlarms, 16, 32, 328, 10162},
        {&M::lblLongPressEnabled, "lblLongPressEnabled", &M::gbxUserAlarms, 16, 64, 328, 10163},
        {&M::lblDoublePressEnabled, "lblDoublePressEnabled", &M::gbxUserAlarms, 16, 96, 328, 10164},
        {&M::lblTriplePressEnabled, "lblTriplePressEnabled", &M::gbxUserAlarms, 16, 128, 328,
         10165},
        {&M::lblLongDoubleTriplePressTime, "lblLongDoubleTriplePressTime", &M::gbxUserAlarms, 16,
         160, 328, 10166},
        {&M::lblButtonActivationDelay, "lblButtonActivationDelay", &M::gbxUserAlarms, 16, 192, 328,
         10167},
        {&M::lblDementiaBlockTime, "lblDementiaBlockTime", &M::gbxUserAlarms, 16, 224, 328, 10168},
        {&M::lblTransmitUserAlarmWithPositionInfo, "lblTransmitUserAlarmWithPositionInfo",
         &M::gbxUserAlarms, 16, 256, 328, 10169},

        {&M::lblFirmwareVersion, "lblFirmwareVersion", &M::gbxProductInformation, 16, 32, 328,
         10182},
        {&M::lblProductionDate, "lblProductionDate", &M::gbxProductInformation, 16, 64, 328, 10183},
        {&M::lblFirmwareType, "lblFirmwareType", &M::gbxProductInformation, 16, 96, 328, 10184},

        {&M::lblRfidActive, "lblRfidActive", &M::gbxRFID, 16, 32, 344, 10203},
        {&M::lblRfidInactivityPeriodAfterReceive, "lblRfidInactivityPeriodAfterReceive",
         &M::gbxRFID, 16, 64, 344, 10204},
        {&M::lblRadioInactivityPeriodAfterTransmit, "lblRadioInactivityPeriodAfterTransmit",
         &M::gbxRFID, 16, 96, 344, 10205},
        {&M::lblTransmitExtendedMessages, "lblTransmitExtendedMessages", &M::gbxRFID, 16, 128, 344,
         10206},
        {&M::lblTransmitDoorAlarmInsteadOfPosition, "lblTransmitDoorAlarmInsteadOfPosition",
         &M::gbxRFID, 456, 32, 344, 10207},
        {&M::lblPersonnelDevice, "lblPersonnelDevice", &M::gbxRFID, 456, 64, 344, 10208},
        {&M::lblRetransmitWhenReentering, "lblRetransmitWhenReentering", &M::gbxRFID, 456, 96, 344,
         10209},
        {&M::lblTimeOutOfFieldToAllowTx, "lblTimeOutOfFieldToAllowTx", &M::gbxRFID, 456, 128, 344,
         10210},
    };
    return rows;
}

const std::vector<EditRow>& EditRows() {
    static const std::vector<EditRow> rows{
        {&M::edtRadioCodeOld, "edtRadioCodeOld", &M::gbxRadioParameters, 224, 24, 57, "", 4, false,
         kHex, 0, nullptr},
        // edtRadioCodeNew runs the code rule, wired with the other code edits.
        {&M::edtRadioCodeNew, "edtRadioCodeNew", &M::gbxRadioParameters, 352, 24, 57, "", 4, true,
         kHex, 1, nullptr},
        {&M::edtNoShortTx, "edtNoShortTx", &M::gbxRadioParameters, 352, 56, 57, "3", 2, true,
         kWhole, 2, &M::edtNoShortTxChange},
        {&M::edtNoLongTx, "edtNoLongTx", &M::gbxRadioParameters, 352, 88, 57, "3", 2, true, kWhole,
         3, &M::edtNoLongTxChange},

        {&M::edtRadioTestAlarmInterval, "edtRadioTestAlarmInterval", &M::gbxTechnicalAlarmsInfo,
         352, 56, 57, "9", 3, false, kWhole, 1, &M::edtRadioTestAlarmIntervalChange},
        {&M::edtMissedAck, "edtMissedAck", &M::gbxTechnicalAlarmsInfo, 352, 120, 57, "19", 3, false,
         kWhole, 3, &M::edtMissedAckChange},
        {&M::edtBatteryTestInterval, "edtBatteryTestInterval", &M::gbxTechnicalAlarmsInfo, 352, 152,
         57, "24", 3, true, kWhole, 4, &M::edtBatteryTestIntervalChange},
        {&M::edtButtonCounter, "edtButtonCounter", &M::gbxTechnicalAlarmsInfo, 352, 184, 57, "", 0,
         false, kNone, 5, nullptr},
        {&M::edtTotalTxCounter, "edtTotalTxCounter", &M::gbxTechnicalAlarmsInfo, 352, 216, 57, "",
         0, false, kNone, 6, nullptr},

        {&M::edtLongDoubleTriplePressTime, "edtLongDoubleTriplePressTime", &M::gbxUserAlarms, 352,
         152, 57, "2,5", 4, true, kDecimal, 4, &M::edtLongDoubleTriplePressTimeChange},
        {&M::edtButtonActivationDelay, "edtButtonActivationDelay", &M::gbxUserAlarms, 352, 184, 57,
         "0,1", 4, true, kDecimal, 5, &M::edtButtonActivationDelayChange},
        {&M::edtDementiaBlockTime, "edtDementiaBlockTime", &M::gbxUserAlarms, 352, 216, 57, "0", 3,
         true, kWhole, 6, &M::edtDementiaBlockTimeChange},

        {&M::edtFirmwareVersion, "edtFirmwareVersion", &M::gbxProductInformation, 352, 24, 57, "",
         0, false, kNone, 0, nullptr},
        {&M::edtProductionDate, "edtProductionDate", &M::gbxProductInformation, 352, 56, 57, "", 0,
         false, kNone, 1, nullptr},
        {&M::edtFirmwareType, "edtFirmwareType", &M::gbxProductInformation, 352, 88, 57, "", 0,
         false, kNone, 2, nullptr},

        {&M::edtRfidInactivity, "edtRfidInactivity", &M::gbxRFID, 368, 56, 49, "3", 3, true, kWhole,
         1, &M::edtRfidInactivityChange},
        {&M::edtRadioInactivity, "edtRadioInactivity", &M::gbxRFID, 368, 88, 49, "25", 3, true,
         kWhole, 2, &M::edtRadioInactivityChange},
        {&M::edtOutOfFieldTimeToRetransmit, "edtOutOfFieldTimeToRetransmit", &M::gbxRFID, 808, 120,
         49, "10", 3, true, kWhole, 7, &M::edtOutOfFieldTimeToRetransmitChange},
    };
    return rows;
}

const std::vector<CheckRow>& CheckRows() {
    static const std::vector<CheckRow> rows{
        {&M::cbRadioTestAlarmActive, "cbRadioTestAlarmActive", &M::gbxTechnicalAlarmsInfo, 352, 24,
         false, true, 0, &M::cbRadioTestAlarmActiveClick},
        {&M::cbConfig_D6, "cbConfig_D6", &M::gbxTechnicalAlarmsInfo, 352, 88, false, false, 2,
         nullptr},

        {&M::cbConfig_D4, "cbConfig_D4", &M::gbxUserAlarms, 352, 24, true, true, 0,
         &M::cbConfig_D4Click},
        {&M::cbConfig2_D1, "cbConfig2_D1", &M::gbxUserAlarms, 352, 56, false, true, 1,
         &M::cbConfig_D4Click},
        {&M::cbConfig2_D2, "cbConfig2_D2", &M::gbxUserAlarms, 352, 88, false, true, 2, nullptr},
        {&M::cbConfig2_D3, "cbConfig2_D3", &M::gbxUserAlarms, 352, 120, false, true, 3,
         &M::cbConfig_D4Click},
        // Level with its label, unlike the other boxes.
        {&M::cbConfig_D1, "cbConfig_D1", &M::gbxUserAlarms, 352, 256, true, true, 7, nullptr},

        {&M::cbConfig_D0, "cbConfig_D0", &M::gbxRFID, 368, 24, true, true, 0, &M::cbConfig_D0Click},
        {&M::cbConfig_D2, "cbConfig_D2", &M::gbxRFID, 368, 120, true, true, 3, nullptr},
        {&M::cbConfig_D5, "cbConfig_D5", &M::gbxRFID, 808, 24, false, true, 4, nullptr},
        {&M::cbConfig_D3, "cbConfig_D3", &M::gbxRFID, 808, 56, false, true, 5, nullptr},
        {&M::cbConfig2_D0, "cbConfig2_D0", &M::gbxRFID, 808, 88, true, true, 6, nullptr},
    };
    return rows;
}

const std::vector<MenuRow>& MenuRows() {
    static const std::vector<MenuRow> rows{
        {&M::mnuFile, "mnuFile", nullptr, "&File", 10101},
        {&M::mnuFileNew, "mnuFileNew", &M::mnuFile, "&New", 10102},
        {&M::mnuComm, "mnuComm", nullptr, "&Communication", 10108},
        {&M::mnuHelp, "mnuHelp", nullptr, "&Help", 10112},
    };
    return rows;
}

// In menu order. The New submenu is inserted before mnuFileOpen.
const std::vector<ActionRow>& ActionRows() {
    static const std::vector<ActionRow> rows{
        {&M::mnuFileNewKorbiV2, "mnuFileNewKorbiV2", &M::mnuFileNew, "K-ORBI v2.x", 0, Qt::Key_N, 2,
         nullptr},
        {&M::mnuFileNewKorbiV1, "mnuFileNewKorbiV1", &M::mnuFileNew, "K-ORBI v1.x", 0, 0, 1,
         nullptr},
        {&M::mnuFileOpen, "mnuFileOpen", &M::mnuFile, "&Open...", 10103, Qt::Key_O, -1,
         &M::mnuFileOpenClick},
        {&M::mnuFileSave, "mnuFileSave", &M::mnuFile, "&Save", 10104, Qt::Key_S, -1,
         &M::mnuFileSaveClick},
        {&M::mnuFileSaveAs, "mnuFileSaveAs", &M::mnuFile, "Save &As...", 10105, 0, -1,
         &M::mnuFileSaveAsClick},
        {&M::mnuDelimiter1, "mnuDelimiter1", &M::mnuFile, "-", 0, 0, -1, nullptr},
        {&M::mnuFileSelectDefaultFolder, "mnuFileSelectDefaultFolder", &M::mnuFile,
         "Select default &folder...", 10106, 0, -1, &M::mnuFileSelectDefaultFolderClick},
        {&M::mnuDelimter2, "mnuDelimter2", &M::mnuFile, "-", 0, 0, -1, nullptr},
        {&M::mnuFileExit, "mnuFileExit", &M::mnuFile, "E&xit", 10107, 0, -1, &M::mnuFileExitClick},
        {&M::mnuCommReadFromDevice, "mnuCommReadFromDevice", &M::mnuComm, "&Read from K-ORBI",
         10109, Qt::Key_R, -1, &M::mnuCommReadFromDeviceClick},
        {&M::mnuCommWriteToDevice, "mnuCommWriteToDevice", &M::mnuComm, "&Write to K-ORBI", 10110,
         Qt::Key_W, -1, &M::mnuCommWriteToDeviceClick},
        {&M::N1, "N1", &M::mnuComm, "-", 0, 0, -1, nullptr},
        {&M::mnuCommChangeIdCode, "mnuCommChangeIdCode", &M::mnuComm, "&Change ID code...", 10111,
         0, -1, &M::mnuCommChangeIdCodeClick},
        {&M::mnuHelpAbout, "mnuHelpAbout", &M::mnuHelp, "&About...", 10113, 0, -1,
         &M::mnuHelpAboutClick},
    };
    return rows;
}

const std::vector<ButtonRow>& ButtonRows() {
    static const std::vector<ButtonRow> rows{
        {&M::btnReadFromDevice, "btnReadFromDevice", 496, 8, 185, 41, 10251, true,
         &M::btnReadFromDeviceClick},
        {&M::btnWriteToDevice, "btnWriteToDevice", 696, 8, 185, 41, 10252, true,
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
QString CodeEditName(int number, bool restricted) {
    return QStringLiteral("edtDoorCode%1").arg(number) + Suffix(restricted);
}
QString ZoneLabelName(int zone, bool restricted) {
    return QStringLiteral("lblZone") + QString::number(zone, 16).toUpper() + Suffix(restricted);
}
QString ZoneBoxName(int zone, bool restricted) {
    return QStringLiteral("cbZone") + QString::number(zone, 16).toUpper() + Suffix(restricted);
}

QString LocaliseStartValue(const char* start) {
    QString text = QString::fromLatin1(start);
    text.replace(QLatin1Char(','), QLocale().decimalPoint());
    return text;
}

}  // namespace layout
