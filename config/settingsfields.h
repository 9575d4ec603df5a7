#pragma once
// The fields of the settings view: one per named control that holds a setting, in the order of
// the window's pages and boxes. A field is a text (an edit) or a tick (a check box) and carries
// what the control was given at creation: start value, maximum length, enabling, key filter.

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

// The fields, named after their controls. The two code-and-zone groups follow as ranges:
// codes 1..8 and zones 0..F of the continuous group, then the same of the restricted group.
enum class Field : int {
    edtRadioCodeOld,
    edtRadioCodeNew,
    edtNoShortTx,
    edtNoLongTx,
    cbRadioTestAlarmActive,
    edtRadioTestAlarmInterval,
    cbConfig_D6,
    edtMissedAck,
    edtBatteryTestInterval,
    edtButtonCounter,
    edtTotalTxCounter,
    cbConfig_D4,
    cbConfig2_D1,
    cbConfig2_D2,
    cbConfig2_D3,
    edtLongDoubleTriplePressTime,
    edtButtonActivationDelay,
    edtDementiaBlockTime,
    cbConfig_D1,
    edtFirmwareVersion,
    edtProductionDate,
    edtFirmwareType,
    cbConfig_D0,
    edtRfidInactivity,
    edtRadioInactivity,
    cbConfig_D2,
    cbConfig_D5,
    cbConfig_D3,
    cbConfig2_D0,
    edtOutOfFieldTimeToRetransmit,
    edtDoorCode1,
    cbZone0 = edtDoorCode1 + 8,
    edtDoorCode1_R = cbZone0 + 16,
    cbZone0_R = edtDoorCode1_R + 8,
};

constexpr int kCodesPerGroup = 8;
constexpr int kZonesPerGroup = 16;
constexpr int kFieldCount = int(Field::cbZone0_R) + kZonesPerGroup;

// Door code number 1..8 of a group, and zone 0..15 of a group.
constexpr Field DoorCode(int number, bool restricted) {
    return Field(int(restricted ? Field::edtDoorCode1_R : Field::edtDoorCode1) + number - 1);
}
constexpr Field Zone(int zone, bool restricted) {
    return Field(int(restricted ? Field::cbZone0_R : Field::cbZone0) + zone);
}

struct GroupInfo {
    const char* name;  // object name of the group box
    int titleId;       // catalogue id of its caption
};

struct FieldInfo {
    QString name;  // object name of the control
    FieldKind kind;
    Group group;
    int labelId;        // catalogue id of its label's text
    QString labelArg;   // fills the "%s" of a code or zone label ("3", "B"); empty otherwise
    const char* start;  // start text, "," standing for the decimal separator; "" for a tick
    bool ticked;        // start state of a tick
    int maxLength;      // 0: no limit of its own
    bool enabled;       // at creation
    KeyFilter filter;
    int zone;  // a zone box's zone number (its Tag), -1 for other fields
};

const FieldInfo& InfoOf(Field field);
const GroupInfo& InfoOf(Group group);
// The field of a control name, if the name is one.
std::optional<Field> FindField(const QString& name);
// The label's German text ("Nummer 3" for a door code).
QString CaptionOf(Field field);
// A start text as shown under the current decimal separator ("2,5" becomes "2.5").
QString LocaliseStartValue(const char* start);
