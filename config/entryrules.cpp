// Entry rules of the settings view: key filters, range rules on every change of an edit, the
// radio-code warning and the click rules. They run for the user's edits and equally for every
// text and tick that decoding sets; none of them blocks a later save or write.

#include "config/numbers.h"
#include "config/settingsmodel.h"
#include "resources/msg.h"

namespace {

constexpr int kNoMessage = 0;

constexpr float kActivationDelayMax = 25.0f;
constexpr float kPressTimeMin = 0.5f;
// The press time is one byte of tenths, so 25,5 s is the longest time the device can hold, and
// the message shown for this rule names 25,5 as the upper value. Comparing with 25,0 would
// refuse values that the message allows and cut stored press times of 25,1 to 25,5 s to 25,0.
constexpr float kPressTimeMax = 25.5f;
constexpr double kPressTimeFallback = 2.0;

// A whole-number edit whose value must stay below limit; a larger value is answered with the
// message (if any) and replaced by the largest allowed value.
struct WholeNumberRule {
    Field field;
    int32_t limit;
    int messageId;
    const char* replacement;
};

const WholeNumberRule kWholeNumberRules[] = {
    {Field::edtNoShortTx, 16, Msg::RangeNoShortTx, "15"},
    {Field::edtNoLongTx, 16, Msg::RangeNoLongTx, "15"},
    {Field::edtBatteryTestInterval, 256, Msg::RangeBatteryTestInterval, "255"},
    {Field::edtRadioTestAlarmInterval, 256, Msg::RangeRadioTestAlarmInterval, "255"},
    {Field::edtMissedAck, 256, Msg::RangeMissedAck, "255"},
    {Field::edtDementiaBlockTime, 256, Msg::RangeDementiaBlockTime, "255"},
    {Field::edtRfidInactivity, 256, Msg::RangeRfidInactivity, "255"},
    {Field::edtRadioInactivity, 256, Msg::RangeRadioInactivity, "255"},
    // The out-of-field time is one byte of seconds like its neighbours; without a rule of its
    // own "300" would be stored as 44 s. The catalogue has no message for it, so the value is
    // only held at 255.
    {Field::edtOutOfFieldTimeToRetransmit, 256, kNoMessage, "255"},
};

const WholeNumberRule* WholeNumberRuleOf(Field field) {
    for (const WholeNumberRule& rule : kWholeNumberRules)
        if (rule.field == field) return &rule;
    return nullptr;
}

// The new radio ID code and the sixteen door codes share the code rule.
bool IsCodeField(Field field) {
    const int i = int(field);
    return field == Field::edtRadioCodeNew ||
           (i >= int(DoorCode(1, false)) && i < int(Zone(0, false))) ||
           (i >= int(DoorCode(1, true)) && i < int(Zone(0, true)));
}

bool IsHexDigit(QChar c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

QStringList PressTimeBounds() {
    return {FormatOneDecimal(kPressTimeMin), FormatOneDecimal(kPressTimeMax)};
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

    if (const WholeNumberRule* rule = WholeNumberRuleOf(field)) {
        // Texts that are no whole number count as 0 here and never trigger the rule.
        if (WholeNumberOrZero(text) < rule->limit) return;
        if (rule->messageId != kNoMessage) Error(rule->messageId);
        // The replacement sets off this rule once more; it then passes.
        SetText(field, QString::fromLatin1(rule->replacement));
    } else if (field == Field::edtButtonActivationDelay) {
        // A text that is no number passes here; encoding stores 0 for it.
        const std::optional<float> value = ParseDecimal(text);
        if (!value || *value <= kActivationDelayMax) return;
        Error(Msg::RangeActivationDelay);
        SetText(field, QStringLiteral("25"));
    } else if (field == Field::edtLongDoubleTriplePressTime) {
        const std::optional<float> value = ParseDecimal(text);
        // Values below the lower bound pass while typing, so that "0" and the separator can be
        // typed on the way to 0,5; leaving the edit checks them.
        if (value && *value <= kPressTimeMax) return;
        Error(Msg::RangePressTime, PressTimeBounds());
        SetText(field, FormatOneDecimal(value ? kPressTimeMax : kPressTimeFallback));
    } else if (IsCodeField(field)) {
        // Warns about a code the device treats specially; the text stays ("0000" is then stored
        // as the empty code). The device write refuses these as a new radio ID code.
        if (text == QLatin1String("0000") ||
            text.compare(QLatin1String("FFFF"), Qt::CaseInsensitive) == 0)
            Error(Msg::ForbiddenCode);
    }
}

void SettingsModel::LeavePressTimeEdit() {
    const Field field = Field::edtLongDoubleTriplePressTime;
    const QString text = Text(field);
    if (text.isEmpty()) return;
    const std::optional<float> value = ParseDecimal(text);
    if (value && *value >= kPressTimeMin && *value <= kPressTimeMax) return;
    Error(Msg::RangePressTime, PressTimeBounds());
    double replacement = kPressTimeFallback;
    if (value) replacement = *value < kPressTimeMin ? kPressTimeMin : kPressTimeMax;
    SetText(field, FormatOneDecimal(replacement));
}

// ---- click rules ----

void SettingsModel::RunClickRule(Field field) {
    const bool on = Ticked(field);
    if (field == Field::cbConfig_D0) {
        // The RFID controls follow the RFID-active box whatever the generation; for a
        // generation 1 configuration this also enables the restricted group, as it always has.
        for (Field f : {Field::edtRfidInactivity, Field::edtRadioInactivity, Field::cbConfig_D2,
                        Field::cbConfig_D5, Field::cbConfig_D3, Field::cbConfig2_D0,
                        Field::edtOutOfFieldTimeToRetransmit})
            SetEnabled(f, on);
        for (const bool restricted : {false, true}) {
            for (int k = 1; k <= kCodesPerGroup; ++k) SetEnabled(DoorCode(k, restricted), on);
        }
        for (const bool restricted : {false, true}) {
            for (int z = 0; z < kZonesPerGroup; ++z) SetEnabled(Zone(z, restricted), on);
        }
    } else if (field == Field::cbRadioTestAlarmActive) {
        for (Field f : {Field::edtRadioTestAlarmInterval, Field::cbConfig_D6, Field::edtMissedAck})
            SetEnabled(f, on);
    } else if (const int zone = InfoOf(field).zone; zone >= 0 && on) {
        // A zone belongs to one group at most: ticking it in one group unticks it in the other.
        const bool restricted = field == Zone(zone, true);
        SetTicked(Zone(zone, !restricted), false);
    }
}
