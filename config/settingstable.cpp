#include "config/settingstable.h"

#include <QLocale>
#include <array>

#include "config/image.h"
#include "config/numbers.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

using F = Field;
using G = Group;
using H = Held;
using T = SettingType;
constexpr SettingAccess kEdit = SettingAccess::Editable;
constexpr SettingAccess kShown = SettingAccess::DeviceOnly;
constexpr KeyFilter kHex = KeyFilter::Hexadecimal;
constexpr KeyFilter kWhole = KeyFilter::WholeNumber;
constexpr KeyFilter kDecimal = KeyFilter::Decimal;
constexpr KeyFilter kNone = KeyFilter::None;
constexpr Range kNoRange{""};
// Shown from the file or device only: no start text, no limit, disabled.
constexpr Entry kShownEntry{"", false, 0, false, kNone};

Entry Tick(bool ticked, bool enabled = true) {
    return {"", ticked, 0, enabled, kNone};
}

// clang-format off
// The settings without the two code-and-zone groups, in the decoder's order. Every range that
// an editable whole number has is one the entry rules hold its edit to.
const SettingRow kSingleRows[] = {
    // The radio ID code is not among the read blocks: a read keeps the code that the
    // identification showed.
    {F::radioCode, "radioCode", "edtRadioCodeOld", G::RadioParameters,
     Msg::LabelOld, T::Code, kShown, {Addr::RadioIdCode, H::RadioCode}, {"", 0, 0xFFFF},
     {"", false, 4, false, kHex}},
    // 0000 and FFFF are refused as a device's new code.
    {F::newRadioCode, "newRadioCode", "edtRadioCodeNew", G::RadioParameters,
     Msg::LabelNew, T::Code, SettingAccess::WriteOnly, {Addr::RadioIdCode, H::RadioCode},
     {"", 0x0001, 0xFFFE}, {"", false, 4, true, kHex}},
    {F::shortTransmissions, "shortTransmissions", "edtNoShortTx", G::RadioParameters,
     Msg::LabelNoOfShortTransmissions, T::WholeNumber, kEdit, {Addr::TxCounts, H::HighNibble},
     {"", 0, 15, Msg::RangeNoShortTx}, {"3", false, 2, true, kWhole}},
    {F::longTransmissions, "longTransmissions", "edtNoLongTx", G::RadioParameters,
     Msg::LabelNoOfLongTransmissions, T::WholeNumber, kEdit, {Addr::TxCounts, H::LowNibble},
     {"", 0, 15, Msg::RangeNoLongTx}, {"3", false, 2, true, kWhole}},
    {F::radioTestAlarmActive, "radioTestAlarmActive",
     "cbRadioTestAlarmActive", G::TechnicalAlarmsInfo, Msg::LabelRadioTestAlarmActive, T::Tick,
     kEdit, {Addr::RadioTestAlarmActive, H::Bit, 0}, kNoRange, Tick(false)},
    {F::radioTestAlarmIntervalHours, "radioTestAlarmIntervalHours",
     "edtRadioTestAlarmInterval", G::TechnicalAlarmsInfo, Msg::LabelRadioTestAlarmInterval,
     T::WholeNumber, kEdit, {Addr::RadioTestAlarmInterval, H::Byte},
     {"Std", 0, 255, Msg::RangeRadioTestAlarmInterval}, {"9", false, 3, false, kWhole}},
    {F::missedAcksBeforePowerSaving, "missedAcksBeforePowerSaving", "edtMissedAck",
     G::TechnicalAlarmsInfo, Msg::LabelNoOfMissedAckBeforeSleep, T::WholeNumber, kEdit,
     {Addr::MissedAckBeforeSleep, H::Byte}, {"", 0, 255, Msg::RangeMissedAck},
     {"19", false, 3, false, kWhole}},
    {F::batteryAlarmIntervalHours, "batteryAlarmIntervalHours",
     "edtBatteryTestInterval", G::TechnicalAlarmsInfo, Msg::LabelBatteryTestInterval,
     T::WholeNumber, kEdit, {Addr::BatteryTestInterval, H::Byte},
     {"Std", 0, 255, Msg::RangeBatteryTestInterval}, {"24", false, 3, true, kWhole}},
    {F::acknowledgedAlarmCount, "acknowledgedAlarmCount", "edtButtonCounter",
     G::TechnicalAlarmsInfo, Msg::LabelButtonCounter, T::WholeNumber, kShown,
     {Addr::ButtonCounter, H::Word}, kNoRange, kShownEntry},
    {F::transmissionCount, "transmissionCount", "edtTotalTxCounter",
     G::TechnicalAlarmsInfo, Msg::LabelTotalTxCounter, T::WholeNumber, kShown,
     {Addr::TotalTxCounter, H::LaterCounter}, kNoRange, kShownEntry},
    // Unreadable texts are encoded as the minimum. The press time is one byte of tenths, so
    // 25,5 s is the longest time the device can hold, and the range message names 25,5 as the
    // upper value: holding the edit to 25,0 would cut stored press times of 25,1 to 25,5 s.
    {F::pressTimeSeconds, "pressTimeSeconds",
     "edtLongDoubleTriplePressTime", G::UserAlarms, Msg::LabelLongDoubleTriplePressTime, T::Tenths,
     kEdit, {Addr::PressTime, H::Tenths, 0, 2}, {"s", 5, 255, Msg::RangePressTime},
     {"2,5", false, 4, true, kDecimal}},
    {F::activationDelaySeconds, "activationDelaySeconds",
     "edtButtonActivationDelay", G::UserAlarms, Msg::LabelButtonActivationDelay, T::Tenths, kEdit,
     {Addr::ActivationDelay, H::Tenths}, {"s", 0, 250, Msg::RangeActivationDelay},
     {"0,1", false, 4, true, kDecimal}},
    {F::userAlarmBlockMinutes, "userAlarmBlockMinutes", "edtDementiaBlockTime",
     G::UserAlarms, Msg::LabelDementiaBlockTime, T::WholeNumber, kEdit,
     {Addr::DementiaBlockTime, H::Byte}, {"Minuten", 0, 255, Msg::RangeDementiaBlockTime},
     {"0", false, 3, true, kWhole}},
    {F::firmwareVersion, "firmwareVersion", "edtFirmwareVersion",
     G::ProductInformation, Msg::LabelFirmwareVersion, T::Text, kShown,
     {Addr::FirmwareVersion, H::Version}, kNoRange, kShownEntry},
    {F::productionDate, "productionDate", "edtProductionDate",
     G::ProductInformation, Msg::LabelProductionDate, T::Text, kShown,
     {Addr::ProductionDate, H::Date}, {"JJMMTT"}, kShownEntry},
    {F::firmwareType, "firmwareType", "edtFirmwareType",
     G::ProductInformation, Msg::LabelFirmwareType, T::Text, kShown,
     {Addr::FirmwareType, H::Product}, kNoRange, kShownEntry},
    {F::rfidInactivitySeconds, "rfidInactivitySeconds", "edtRfidInactivity",
     G::Rfid, Msg::LabelRfidInactivityPeriodAfterReceive, T::WholeNumber, kEdit,
     {Addr::RfidInactivity, H::Byte}, {"s", 0, 255, Msg::RangeRfidInactivity},
     {"3", false, 3, true, kWhole}},
    {F::radioInactivitySeconds, "radioInactivitySeconds", "edtRadioInactivity",
     G::Rfid, Msg::LabelRadioInactivityPeriodAfterTransmit, T::WholeNumber, kEdit,
     {Addr::RadioInactivity, H::Byte}, {"s", 0, 255, Msg::RangeRadioInactivity},
     {"25", false, 3, true, kWhole}},
    // One byte of seconds like its neighbours; without a rule "300" would be stored as 44 s.
    // The catalogue has no message for it, so the value is only held at 255.
    {F::outOfFieldSecondsBeforeRetransmit, "outOfFieldSecondsBeforeRetransmit",
     "edtOutOfFieldTimeToRetransmit", G::Rfid, Msg::LabelTimeOutOfFieldToAllowTx, T::WholeNumber,
     kEdit, {Addr::OutOfFieldTime, H::Byte, 0, 2}, {"s", 0, 255}, {"10", false, 3, true, kWhole}},
};

// The flags that follow the code-and-zone groups, bit by bit.
const SettingRow kFlagRows[] = {
    {F::rfidActive, "rfidActive", "cbConfig_D0", G::Rfid, Msg::LabelRfidActive,
     T::Tick, kEdit, {Addr::ConfigFlags1, H::Bit, 0}, kNoRange, Tick(true)},
    {F::userAlarmWithPosition, "userAlarmWithPosition", "cbConfig_D1", G::UserAlarms,
     Msg::LabelTransmitUserAlarmWithPositionInfo, T::Tick, kEdit, {Addr::ConfigFlags1, H::Bit, 1},
     kNoRange, Tick(true)},
    {F::extendedMessages, "extendedMessages", "cbConfig_D2", G::Rfid,
     Msg::LabelTransmitExtendedMessages, T::Tick, kEdit, {Addr::ConfigFlags1, H::Bit, 2}, kNoRange,
     Tick(true)},
    {F::personnelDevice, "personnelDevice", "cbConfig_D3", G::Rfid,
     Msg::LabelPersonnelDevice, T::Tick, kEdit, {Addr::ConfigFlags1, H::Bit, 3}, kNoRange,
     Tick(false)},
    {F::shortPressActive, "shortPressActive", "cbConfig_D4", G::UserAlarms,
     Msg::LabelShortPressEnabled, T::Tick, kEdit, {Addr::ConfigFlags1, H::Bit, 4}, kNoRange,
     Tick(true)},
    {F::doorAlarmInsteadOfPosition, "doorAlarmInsteadOfPosition", "cbConfig_D5", G::Rfid,
     Msg::LabelTransmitDoorAlarmInsteadOfPosition, T::Tick, kEdit, {Addr::ConfigFlags1, H::Bit, 5},
     kNoRange, Tick(false)},
    {F::radioTestAlarmWithButtonCounter, "radioTestAlarmWithButtonCounter", "cbConfig_D6",
     G::TechnicalAlarmsInfo, Msg::LabelTransmitTestAlarmWithButtonCounterValue, T::Tick, kEdit,
     {Addr::ConfigFlags1, H::Bit, 6}, kNoRange, Tick(false, false)},
    {F::retransmitOnReentry, "retransmitOnReentry", "cbConfig2_D0", G::Rfid,
     Msg::LabelRetransmitWhenReentering, T::Tick, kEdit, {Addr::ConfigFlags2, H::Bit, 0, 2},
     kNoRange, Tick(true)},
    {F::longPressActive, "longPressActive", "cbConfig2_D1", G::UserAlarms,
     Msg::LabelLongPressEnabled, T::Tick, kEdit, {Addr::ConfigFlags2, H::Bit, 1, 2}, kNoRange,
     Tick(false)},
    {F::doublePressActive, "doublePressActive", "cbConfig2_D2", G::UserAlarms,
     Msg::LabelDoublePressEnabled, T::Tick, kEdit, {Addr::ConfigFlags2, H::Bit, 2, 2}, kNoRange,
     Tick(false)},
    {F::triplePressActive, "triplePressActive", "cbConfig2_D3", G::UserAlarms,
     Msg::LabelTriplePressEnabled, T::Tick, kEdit, {Addr::ConfigFlags2, H::Bit, 3, 2}, kNoRange,
     Tick(false)},
};
// clang-format on

// Both code-and-zone groups alike: eight codes, then zones 0..7 from one cell and 8..F from
// another. Only the continuous group starts with zones 0 to 3; the restricted group is
// generation 2's.
void AddCodesAndZones(std::vector<SettingRow>& rows, bool restricted) {
    const QString suffix = restricted ? QStringLiteral("_R") : QString();
    const QString prefix = restricted ? QStringLiteral("restricted") : QStringLiteral("continuous");
    const Group group = restricted ? G::CodesZonesRestricted : G::CodesZones;
    const int generation = restricted ? 2 : 1;
    const int codes = restricted ? Addr::DoorCodesRestricted : Addr::DoorCodes;
    for (int k = 1; k <= kCodesPerGroup; ++k) {
        const QString number = QString::number(k);
        rows.push_back({DoorCode(k, restricted), prefix + "Code" + number,
                        "edtDoorCode" + number + suffix, group, Msg::LabelDoorCode, T::Code, kEdit,
                        Cells{codes + 2 * (k - 1), H::Code, 0, generation}, Range{"", 0, 0xFFFF},
                        Entry{"", false, 4, true, kHex}, number});
    }
    const int low = restricted ? Addr::ZonesLowRestricted : Addr::ZonesLow;
    const int high = restricted ? Addr::ZonesHighRestricted : Addr::ZonesHigh;
    for (int z = 0; z < kZonesPerGroup; ++z) {
        // The zones by the hexadecimal digit that the window's labels show ("Zone B").
        const QString digit = QString::number(z, 16).toUpper();
        rows.push_back({Zone(z, restricted), prefix + "Zone" + digit, "cbZone" + digit + suffix,
                        group, Msg::LabelZone, T::Tick, kEdit,
                        Cells{z < 8 ? low : high, H::Bit, z % 8, generation}, kNoRange,
                        Tick(!restricted && z < 4), digit, z});
    }
}

std::vector<SettingRow> BuildRows() {
    std::vector<SettingRow> rows(std::begin(kSingleRows), std::end(kSingleRows));
    AddCodesAndZones(rows, false);
    AddCodesAndZones(rows, true);
    rows.insert(rows.end(), std::begin(kFlagRows), std::end(kFlagRows));
    return rows;
}

// Where each field's row stands in Settings().
std::array<int, kFieldCount> BuildIndex() {
    std::array<int, kFieldCount> index{};
    index.fill(-1);
    const std::vector<SettingRow>& rows = Settings();
    for (size_t i = 0; i < rows.size(); ++i) index[int(rows[i].field)] = int(i);
    return index;
}

const GroupInfo kGroups[] = {
    {"gbxRadioParameters", Msg::BoxRadioParameters},
    {"gbxTechnicalAlarmsInfo", Msg::BoxTechnicalAlarmsInfo},
    {"gbxUserAlarms", Msg::BoxUserAlarms},
    {"gbxProductInformation", Msg::BoxProductInformation},
    {"gbxRFID", Msg::BoxRfid},
    {"gbxCodesZones", Msg::BoxCodesZones},
    {"gbxCodesZonesRestricted", Msg::BoxCodesZonesRestricted},
};

QString CodeText(int code) {
    return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

int SettingRow::cellCount() const {
    switch (cells.held) {
        case Held::Word:
        case Held::LaterCounter:
        case Held::Code:
        case Held::RadioCode:
            return 2;
        case Held::Date:
            return 3;
        default:
            return 1;
    }
}

const std::vector<SettingRow>& Settings() {
    static const std::vector<SettingRow> rows = BuildRows();
    return rows;
}

const SettingRow& SettingOf(Field field) {
    static const std::array<int, kFieldCount> index = BuildIndex();
    return Settings()[index[int(field)]];
}

const GroupInfo& InfoOf(Group group) {
    return kGroups[int(group)];
}

std::optional<Field> FindField(const QString& name) {
    for (const SettingRow& setting : Settings())
        if (setting.control == name) return setting.field;
    return std::nullopt;
}

std::optional<Field> FindSetting(const QString& name) {
    for (const SettingRow& setting : Settings())
        if (setting.name == name) return setting.field;
    return FindField(name);
}

QString CaptionOf(Field field) {
    const SettingRow& setting = SettingOf(field);
    return setting.labelArg.isEmpty() ? Text(setting.labelId)
                                      : FillText(setting.labelId, {setting.labelArg});
}

QString LocaliseStartValue(const char* start) {
    QString text = QString::fromLatin1(start);
    text.replace(QLatin1Char(','), QLocale().decimalPoint());
    return text;
}

QString SettingTypeText(const SettingRow& setting) {
    switch (setting.type) {
        case SettingType::Tick:
            return QStringLiteral("ja/nein");
        case SettingType::WholeNumber:
            return QStringLiteral("Zahl");
        case SettingType::Tenths:
            return QStringLiteral("Zahl mit einer Nachkommastelle");
        case SettingType::Code:
            return QStringLiteral("Funkkennung");
        case SettingType::Text:
            break;
    }
    return QStringLiteral("Text");
}

QString SettingRangeText(const SettingRow& setting) {
    const Range& range = setting.range;
    if (range.minimum == range.maximum) return QString();
    switch (setting.type) {
        case SettingType::Tenths:
            return FormatTenths(range.minimum) + ".." + FormatTenths(range.maximum);
        case SettingType::Code:
            return CodeText(range.minimum) + ".." + CodeText(range.maximum);
        default:
            return QString::number(range.minimum) + ".." + QString::number(range.maximum);
    }
}
