#pragma once
// Every setting of the settings view in one table: what it means (its English name, the one
// korbi-cli uses), how the window shows it (German label, group, control name, start value, key
// filter) and where the device keeps it (cells and how they hold the value, device generation).
// Decoding, encoding, the entry rules, the write's check, korbi-cli, the report and the window
// all walk this table, so a setting is described in exactly one place.

#include <QString>
#include <optional>
#include <vector>

// Which typed characters reach an edit.
enum class KeyFilter { None, Hexadecimal, WholeNumber, Decimal };

enum class FieldKind { Text, Tick };

// The group boxes of the settings view.
enum class Group {
    RadioParameters,
    TechnicalAlarmsInfo,
    UserAlarms,
    ProductInformation,
    Rfid,
    CodesZones,
    CodesZonesRestricted,
};

// The fields in the order in which the window, korbi-cli and the report list them. The two
// code-and-zone groups follow as ranges: codes 1..8 and zones 0..F of the continuous group, then
// the same of the restricted group.
enum class Field : int {
    radioCode,
    newRadioCode,
    shortTransmissions,
    longTransmissions,
    radioTestAlarmActive,
    radioTestAlarmIntervalHours,
    radioTestAlarmWithButtonCounter,
    missedAcksBeforePowerSaving,
    batteryAlarmIntervalHours,
    acknowledgedAlarmCount,
    transmissionCount,
    shortPressActive,
    longPressActive,
    doublePressActive,
    triplePressActive,
    pressTimeSeconds,
    activationDelaySeconds,
    userAlarmBlockMinutes,
    userAlarmWithPosition,
    firmwareVersion,
    productionDate,
    firmwareType,
    rfidActive,
    rfidInactivitySeconds,
    radioInactivitySeconds,
    extendedMessages,
    doorAlarmInsteadOfPosition,
    personnelDevice,
    retransmitOnReentry,
    outOfFieldSecondsBeforeRetransmit,
    continuousCode1,
    continuousZone0 = continuousCode1 + 8,
    restrictedCode1 = continuousZone0 + 16,
    restrictedZone0 = restrictedCode1 + 8,
};

constexpr int kCodesPerGroup = 8;
constexpr int kZonesPerGroup = 16;
constexpr int kFieldCount = int(Field::restrictedZone0) + kZonesPerGroup;

// Door code number 1..8 of a group, and zone 0..15 of a group.
constexpr Field DoorCode(int number, bool restricted) {
    return Field(int(restricted ? Field::restrictedCode1 : Field::continuousCode1) + number - 1);
}
constexpr Field Zone(int zone, bool restricted) {
    return Field(int(restricted ? Field::restrictedZone0 : Field::continuousZone0) + zone);
}

// What a setting's value is, for scripts and the view's texts.
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

// How the device holds a setting in its cells.
enum class Held {
    Byte,          // one cell, decimal
    Word,          // two cells, high byte first
    LaterCounter,  // a word that firmware 1.0 does not keep
    HighNibble,    // bits 4..7 of a cell shared with a LowNibble setting
    LowNibble,     // bits 0..3
    Bit,           // one bit of a cell of flags or zones
    Tenths,        // one cell, tenths of a second
    Code,          // two cells, a radio ID code; 0x0000 is the empty code
    RadioCode,     // the device's radio ID code: a file keeps the current one, a write the new
    Version,       // one cell, major and minor in the two nibbles
    Date,          // three cells, year, month, day as two hexadecimal digits each
    Product,       // one cell, 0 for a K-ORBI
};

struct Cells {
    int address;
    Held held;
    int bit = 0;         // for Held::Bit
    int generation = 1;  // 2: a generation 1 device has no such cells
};

// The range of a value (tenths for Tenths); both 0 for none. An editable whole number is held
// within it by the entry rules: a larger value is answered with rangeMessage (0: none) and
// replaced by the maximum.
struct Range {
    const char* unit;  // German, as the window's label names it; "" for none
    int minimum = 0;
    int maximum = 0;
    int rangeMessage = 0;
};

// What the control is given at creation.
struct Entry {
    const char* start = "";  // start text, "," standing for the decimal separator
    bool ticked = false;     // start state of a tick
    int maxLength = 0;       // 0: no limit of its own
    bool enabled = true;
    KeyFilter filter = KeyFilter::None;
};

struct SettingRow {
    Field field;
    QString name;     // English, for scripts; never follows the window's names
    QString control;  // object name of the window's control; korbi-cli accepts it as an alias
    Group group;
    int labelId;  // catalogue id of its label's text
    SettingType type;
    SettingAccess access;
    Cells cells;
    Range range;
    Entry entry;
    QString labelArg = {};  // fills the "%s" of a code or zone label ("3", "B")
    int zone = -1;          // a zone box's zone number (its Tag)

    FieldKind kind() const { return type == SettingType::Tick ? FieldKind::Tick : FieldKind::Text; }
    int cellCount() const;  // cells the setting takes
};

struct GroupInfo {
    const char* name;  // object name of the group box
    int titleId;       // catalogue id of its caption
};

// The settings in the order in which the decoder shows them. That order is part of the
// behaviour: it decides which entry-rule messages appear in which order, and which missing field
// a device read reports (the last one).
const std::vector<SettingRow>& Settings();
const SettingRow& SettingOf(Field field);
const GroupInfo& InfoOf(Group group);
// The field of a control name, if the name is one.
std::optional<Field> FindField(const QString& name);
// The field of an English setting name or, for scripts written before, of a control name.
std::optional<Field> FindSetting(const QString& name);
// The label's German text ("Nummer 3" for a door code).
QString CaptionOf(Field field);
// A start text as shown under the current decimal separator ("2,5" becomes "2.5").
QString LocaliseStartValue(const char* start);

// German words for a script's reader: the type ("Zahl"), the range ("0..15", "0,5..25,5" with
// the current decimal separator; "" for none).
QString SettingTypeText(const SettingRow& setting);
QString SettingRangeText(const SettingRow& setting);
