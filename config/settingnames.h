#pragma once
// Every setting by a stable English name that says what it means (camelCase, e.g.
// batteryAlarmIntervalHours, shortPressActive, restrictedZone3), with what a script needs to
// know of its value: type, unit and range. Scripts outlive the window's layout, so these names
// never follow its control names; those stay accepted as aliases for scripts written before.

#include <QString>
#include <optional>

#include "config/settingsfields.h"

enum class SettingType {
    Tick,         // ticked or not
    WholeNumber,  // decimal digits
    Tenths,       // seconds with one decimal place
    Code,         // four hexadecimal digits
    Text,         // what the device reports (version, date, product type)
};

// Who may change a setting.
enum class SettingAccess {
    Editable,    // the window takes input (while its box is enabled)
    DeviceOnly,  // shown from the file or device, never typed
    WriteOnly,   // goes to the device with a write; no file keeps it
};

struct SettingInfo {
    QString name;
    SettingType type;
    SettingAccess access;
    const char* unit;  // German, as the window's label names it; "" for none
    int minimum;       // Tenths in tenths of a second; both 0 when the type has no range
    int maximum;
};

const SettingInfo& SettingOf(Field field);
// The field of an English setting name or, for scripts written before, of a control name.
std::optional<Field> FindSetting(const QString& name);

// German words for a script's reader: the type ("Zahl"), the range ("0..15", "0,5..25,5" with
// the current decimal separator; "" for none).
QString SettingTypeText(const SettingInfo& info);
QString SettingRangeText(const SettingInfo& info);
