#include "config/settingnames.h"

#include <array>

#include "config/numbers.h"

namespace {

using F = Field;
using T = SettingType;
constexpr SettingAccess kEdit = SettingAccess::Editable;
constexpr SettingAccess kShown = SettingAccess::DeviceOnly;

struct SettingRow {
    Field field;
    const char* name;
    SettingType type;
    SettingAccess access;
    const char* unit;
    int minimum;
    int maximum;
};

// The ranges are those the entry rules hold an edit to.
const SettingRow kRows[] = {
    {F::edtRadioCodeOld, "radioCode", T::Code, kShown, "", 0, 0xFFFF},
    // 0000 and FFFF are refused as a device's new code.
    {F::edtRadioCodeNew, "newRadioCode", T::Code, SettingAccess::WriteOnly, "", 0x0001, 0xFFFE},
    {F::edtNoShortTx, "shortTransmissions", T::WholeNumber, kEdit, "", 0, 15},
    {F::edtNoLongTx, "longTransmissions", T::WholeNumber, kEdit, "", 0, 15},
    {F::cbRadioTestAlarmActive, "radioTestAlarmActive", T::Tick, kEdit, "", 0, 0},
    {F::edtRadioTestAlarmInterval, "radioTestAlarmIntervalHours", T::WholeNumber, kEdit, "Std", 0,
     255},
    {F::cbConfig_D6, "radioTestAlarmWithButtonCounter", T::Tick, kEdit, "", 0, 0},
    {F::edtMissedAck, "missedAcksBeforePowerSaving", T::WholeNumber, kEdit, "", 0, 255},
    {F::edtBatteryTestInterval, "batteryAlarmIntervalHours", T::WholeNumber, kEdit, "Std", 0, 255},
    {F::edtButtonCounter, "acknowledgedAlarmCount", T::WholeNumber, kShown, "", 0, 0},
    {F::edtTotalTxCounter, "transmissionCount", T::WholeNumber, kShown, "", 0, 0},
    {F::cbConfig_D4, "shortPressActive", T::Tick, kEdit, "", 0, 0},
    {F::cbConfig2_D1, "longPressActive", T::Tick, kEdit, "", 0, 0},
    {F::cbConfig2_D2, "doublePressActive", T::Tick, kEdit, "", 0, 0},
    {F::cbConfig2_D3, "triplePressActive", T::Tick, kEdit, "", 0, 0},
    {F::edtLongDoubleTriplePressTime, "pressTimeSeconds", T::Tenths, kEdit, "s", 5, 255},
    {F::edtButtonActivationDelay, "activationDelaySeconds", T::Tenths, kEdit, "s", 0, 250},
    {F::edtDementiaBlockTime, "userAlarmBlockMinutes", T::WholeNumber, kEdit, "Minuten", 0, 255},
    {F::cbConfig_D1, "userAlarmWithPosition", T::Tick, kEdit, "", 0, 0},
    {F::edtFirmwareVersion, "firmwareVersion", T::Text, kShown, "", 0, 0},
    {F::edtProductionDate, "productionDate", T::Text, kShown, "JJMMTT", 0, 0},
    {F::edtFirmwareType, "firmwareType", T::Text, kShown, "", 0, 0},
    {F::cbConfig_D0, "rfidActive", T::Tick, kEdit, "", 0, 0},
    {F::edtRfidInactivity, "rfidInactivitySeconds", T::WholeNumber, kEdit, "s", 0, 255},
    {F::edtRadioInactivity, "radioInactivitySeconds", T::WholeNumber, kEdit, "s", 0, 255},
    {F::cbConfig_D2, "extendedMessages", T::Tick, kEdit, "", 0, 0},
    {F::cbConfig_D5, "doorAlarmInsteadOfPosition", T::Tick, kEdit, "", 0, 0},
    {F::cbConfig_D3, "personnelDevice", T::Tick, kEdit, "", 0, 0},
    {F::cbConfig2_D0, "retransmitOnReentry", T::Tick, kEdit, "", 0, 0},
    {F::edtOutOfFieldTimeToRetransmit, "outOfFieldSecondsBeforeRetransmit", T::WholeNumber, kEdit,
     "s", 0, 255},
};

using SettingTable = std::array<SettingInfo, kFieldCount>;

SettingTable BuildSettings() {
    SettingTable settings;
    for (const SettingRow& r : kRows)
        settings[int(r.field)] = {r.name, r.type, r.access, r.unit, r.minimum, r.maximum};
    // The zones by the hexadecimal digit that the window's labels show ("Zone B").
    for (const bool restricted : {false, true}) {
        const QString group =
            restricted ? QStringLiteral("restricted") : QStringLiteral("continuous");
        for (int k = 1; k <= kCodesPerGroup; ++k)
            settings[int(DoorCode(k, restricted))] = {
                group + "Code" + QString::number(k), T::Code, kEdit, "", 0, 0xFFFF};
        for (int z = 0; z < kZonesPerGroup; ++z)
            settings[int(Zone(z, restricted))] = {
                group + "Zone" + QString::number(z, 16).toUpper(), T::Tick, kEdit, "", 0, 0};
    }
    return settings;
}

const SettingTable& Settings() {
    static const SettingTable settings = BuildSettings();
    return settings;
}

QString CodeText(int code) {
    return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

const SettingInfo& SettingOf(Field field) {
    return Settings()[int(field)];
}

std::optional<Field> FindSetting(const QString& name) {
    for (int i = 0; i < kFieldCount; ++i)
        if (Settings()[i].name == name) return Field(i);
    return FindField(name);
}

QString SettingTypeText(const SettingInfo& info) {
    switch (info.type) {
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

QString SettingRangeText(const SettingInfo& info) {
    if (info.minimum == info.maximum) return QString();
    switch (info.type) {
        case SettingType::Tenths:
            return FormatTenths(info.minimum) + ".." + FormatTenths(info.maximum);
        case SettingType::Code:
            return CodeText(info.minimum) + ".." + CodeText(info.maximum);
        default:
            return QString::number(info.minimum) + ".." + QString::number(info.maximum);
    }
}
