// Entry rules of the settings view: key filters, range rules on every change of an edit, the
// radio-code warning and the click rules. They run for the user's edits and equally for every
// text and tick that decoding sets; none of them blocks a later save or write.

#include "config/numbers.h"
#include "config/settingsmodel.h"
#include "resources/msg.h"

namespace {

constexpr int kNoMessage = 0;

// What an unreadable press time becomes.
constexpr double kPressTimeFallback = 2.0;

// A bound of a time's range, in seconds.
float Seconds(int tenths) {
    return float(tenths) / 10.0f;
}
float MinimumOf(Field field) {
    return Seconds(SettingOf(field).range.minimum);
}
float MaximumOf(Field field) {
    return Seconds(SettingOf(field).range.maximum);
}

// An editable whole number with a range of its own: a larger value is answered with the
// setting's message (if any) and replaced by the largest allowed value.
bool HasWholeNumberRule(const SettingRow& setting) {
    return setting.type == SettingType::WholeNumber && setting.access == SettingAccess::Editable &&
           setting.range.maximum > setting.range.minimum;
}

// The new radio ID code and the sixteen door codes share the code rule.
bool IsCodeField(const SettingRow& setting) {
    return setting.type == SettingType::Code && setting.access != SettingAccess::DeviceOnly;
}

bool IsHexDigit(QChar c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

QStringList PressTimeBounds() {
    const Field field = Field::pressTimeSeconds;
    return {FormatOneDecimal(MinimumOf(field)), FormatOneDecimal(MaximumOf(field))};
}

}  // namespace

// ---- key filters ----

// Every character that is no control character is text the edit would insert, including those
// that QChar::isPrint does not count (zero-width and private-use characters), and must be
// allowed; pasted text is not filtered.
bool SettingsModel::KeyPasses(KeyFilter filter, QChar key) {
    if (key.category() == QChar::Other_Control) return true;
    switch (filter) {
        case KeyFilter::Hexadecimal:
            return IsHexDigit(key);
        case KeyFilter::WholeNumber:
            return key >= '0' && key <= '9';
        case KeyFilter::Decimal:
            return (key >= '0' && key <= '9') || key == DecimalSeparator();
        case KeyFilter::None:
            break;
    }
    return true;
}

// ---- change rules ----

void SettingsModel::RunChangeRule(Field field) {
    const QString text = Text(field);
    if (text.isEmpty()) return;

    const SettingRow& setting = SettingOf(field);
    if (HasWholeNumberRule(setting)) {
        const Range& range = setting.range;
        // Texts that are no whole number count as 0 here and never trigger the rule.
        if (WholeNumberOrZero(text) <= range.maximum) return;
        if (range.rangeMessage != kNoMessage) Error(range.rangeMessage);
        // The replacement sets off this rule once more; it then passes.
        SetText(field, QString::number(range.maximum));
    } else if (field == Field::activationDelaySeconds) {
        // A text that is no number passes here; encoding stores 0 for it.
        const std::optional<float> value = ParseDecimal(text);
        if (!value || *value <= MaximumOf(field)) return;
        Error(setting.range.rangeMessage);
        SetText(field, QString::number(MaximumOf(field)));
    } else if (field == Field::pressTimeSeconds) {
        const std::optional<float> value = ParseDecimal(text);
        // Values below the lower bound pass while typing, so that "0" and the separator can be
        // typed on the way to 0,5; leaving the edit checks them.
        if (value && *value <= MaximumOf(field)) return;
        Error(setting.range.rangeMessage, PressTimeBounds());
        SetText(field, FormatOneDecimal(value ? MaximumOf(field) : kPressTimeFallback));
    } else if (IsCodeField(setting)) {
        // Warns about a code the device treats specially; the text stays ("0000" is then stored
        // as the empty code). The device write refuses these as a new radio ID code.
        if (text == QLatin1String("0000") ||
            text.compare(QLatin1String("FFFF"), Qt::CaseInsensitive) == 0)
            Error(Msg::ForbiddenCode);
    }
}

void SettingsModel::LeavePressTimeEdit() {
    const Field field = Field::pressTimeSeconds;
    const QString text = Text(field);
    if (text.isEmpty()) return;
    const std::optional<float> value = ParseDecimal(text);
    const float minimum = MinimumOf(field), maximum = MaximumOf(field);
    if (value && *value >= minimum && *value <= maximum) return;
    Error(SettingOf(field).range.rangeMessage, PressTimeBounds());
    double replacement = kPressTimeFallback;
    if (value) replacement = *value < minimum ? minimum : maximum;
    SetText(field, FormatOneDecimal(replacement));
}

// ---- click rules ----

void SettingsModel::RunClickRule(Field field) {
    const bool on = Ticked(field);
    if (field == Field::rfidActive) {
        // The RFID controls follow the RFID-active box whatever the generation; for a
        // generation 1 configuration this also enables the restricted group, as it always has.
        for (Field f :
             {Field::rfidInactivitySeconds, Field::radioInactivitySeconds, Field::extendedMessages,
              Field::doorAlarmInsteadOfPosition, Field::personnelDevice, Field::retransmitOnReentry,
              Field::outOfFieldSecondsBeforeRetransmit})
            SetEnabled(f, on);
        for (const bool restricted : {false, true}) {
            for (int k = 1; k <= kCodesPerGroup; ++k) SetEnabled(DoorCode(k, restricted), on);
        }
        for (const bool restricted : {false, true}) {
            for (int z = 0; z < kZonesPerGroup; ++z) SetEnabled(Zone(z, restricted), on);
        }
    } else if (field == Field::radioTestAlarmActive) {
        for (Field f : {Field::radioTestAlarmIntervalHours, Field::radioTestAlarmWithButtonCounter,
                        Field::missedAcksBeforePowerSaving})
            SetEnabled(f, on);
    } else if (const int zone = SettingOf(field).zone; zone >= 0 && on) {
        // A zone belongs to one group at most: ticking it in one group unticks it in the other.
        const bool restricted = field == Zone(zone, true);
        SetTicked(Zone(zone, !restricted), false);
    }
}
