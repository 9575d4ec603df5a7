// Entry rules of the settings view: key filters, range rules on every change of an edit, the
// radio-code warning and the click rules. They run for the user's edits and equally for every
// text and tick that decoding sets; none of them blocks a later save or write.

#include <QCheckBox>
#include <QLineEdit>

#include "app/mainwindow.h"
#include "config/numbers.h"
#include "resources/msg.h"

namespace {

// Message ids of the range rules.
constexpr int kMsgForbiddenCode = Msg::ForbiddenCode;
constexpr int kMsgBatteryTestInterval = Msg::RangeBatteryTestInterval;
constexpr int kMsgRadioTestAlarmInterval = Msg::RangeRadioTestAlarmInterval;
constexpr int kMsgMissedAck = Msg::RangeMissedAck;
constexpr int kMsgNoShortTx = Msg::RangeNoShortTx;
constexpr int kMsgNoLongTx = Msg::RangeNoLongTx;
constexpr int kMsgDementiaBlockTime = Msg::RangeDementiaBlockTime;
constexpr int kMsgRfidInactivity = Msg::RangeRfidInactivity;
constexpr int kMsgRadioInactivity = Msg::RangeRadioInactivity;
constexpr int kMsgActivationDelay = Msg::RangeActivationDelay;
constexpr int kMsgPressTime = Msg::RangePressTime;
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
    QLineEdit* TfrmMain::*edit;
    int32_t limit;
    int messageId;
    const char* replacement;
};

void ApplyWholeNumberRule(TfrmMain& window, const WholeNumberRule& rule) {
    QLineEdit* edit = window.*rule.edit;
    if (!edit || edit->text().isEmpty()) return;
    // Texts that are no whole number count as 0 here and never trigger the rule.
    if (WholeNumberOrZero(edit->text()) < rule.limit) return;
    if (rule.messageId != kNoMessage) window.ErrorBox(rule.messageId);
    // The replacement sets off this rule once more; it then passes.
    edit->setText(QString::fromLatin1(rule.replacement));
}

const WholeNumberRule kNoShortTx{&TfrmMain::edtNoShortTx, 16, kMsgNoShortTx, "15"};
const WholeNumberRule kNoLongTx{&TfrmMain::edtNoLongTx, 16, kMsgNoLongTx, "15"};
const WholeNumberRule kBatteryTestInterval{&TfrmMain::edtBatteryTestInterval, 256,
                                           kMsgBatteryTestInterval, "255"};
const WholeNumberRule kRadioTestAlarmInterval{&TfrmMain::edtRadioTestAlarmInterval, 256,
                                              kMsgRadioTestAlarmInterval, "255"};
const WholeNumberRule kMissedAck{&TfrmMain::edtMissedAck, 256, kMsgMissedAck, "255"};
const WholeNumberRule kDementiaBlockTime{&TfrmMain::edtDementiaBlockTime, 256,
                                         kMsgDementiaBlockTime, "255"};
const WholeNumberRule kRfidInactivity{&TfrmMain::edtRfidInactivity, 256, kMsgRfidInactivity, "255"};
const WholeNumberRule kRadioInactivity{&TfrmMain::edtRadioInactivity, 256, kMsgRadioInactivity,
                                       "255"};
// The out-of-field time is one byte of seconds like its neighbours; without a rule of its own
// "300" would be stored as 44 s. The catalogue has no message for it, so the value is only
// held at 255.
const WholeNumberRule kOutOfFieldTime{&TfrmMain::edtOutOfFieldTimeToRetransmit, 256, kNoMessage,
                                      "255"};

bool IsHexDigit(QChar c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Control characters (copy 3, backspace 8, paste 22, cut 24 and the other editing keys) always
// pass, so pasted text is not filtered either. Every other character is text the edit would
// insert, including those that QChar::isPrint does not count (zero-width and private-use
// characters), and must be allowed.
void FilterKey(QChar& key, bool (*allowed)(QChar)) {
    if (key.category() != QChar::Other_Control && !allowed(key)) key = QChar();
}

}  // namespace

// ---- key filters ----

void TfrmMain::validateRadioCodeKeyPress(QChar& key) {
    FilterKey(key, IsHexDigit);
}

void TfrmMain::validateNumericKeyPress(QChar& key) {
    FilterKey(key, [](QChar c) { return c >= '0' && c <= '9'; });
}

void TfrmMain::validateFloatNumericKeyPress(QChar& key) {
    FilterKey(key, [](QChar c) { return (c >= '0' && c <= '9') || c == DecimalSeparator(); });
}

// ---- range rules ----

void TfrmMain::edtBatteryTestIntervalChange() {
    ApplyWholeNumberRule(*this, kBatteryTestInterval);
}
void TfrmMain::edtRadioTestAlarmIntervalChange() {
    ApplyWholeNumberRule(*this, kRadioTestAlarmInterval);
}
void TfrmMain::edtMissedAckChange() {
    ApplyWholeNumberRule(*this, kMissedAck);
}
void TfrmMain::edtNoShortTxChange() {
    ApplyWholeNumberRule(*this, kNoShortTx);
}
void TfrmMain::edtNoLongTxChange() {
    ApplyWholeNumberRule(*this, kNoLongTx);
}
void TfrmMain::edtDementiaBlockTimeChange() {
    ApplyWholeNumberRule(*this, kDementiaBlockTime);
}
void TfrmMain::edtRfidInactivityChange() {
    ApplyWholeNumberRule(*this, kRfidInactivity);
}
void TfrmMain::edtRadioInactivityChange() {
    ApplyWholeNumberRule(*this, kRadioInactivity);
}
void TfrmMain::edtOutOfFieldTimeToRetransmitChange() {
    ApplyWholeNumberRule(*this, kOutOfFieldTime);
}

void TfrmMain::edtButtonActivationDelayChange() {
    const QString text = edtButtonActivationDelay->text();
    if (text.isEmpty()) return;
    // A text that is no number passes here; encoding stores 0 for it.
    const std::optional<float> value = ParseDecimal(text);
    if (!value || *value <= kActivationDelayMax) return;
    ErrorBox(kMsgActivationDelay);
    edtButtonActivationDelay->setText(QStringLiteral("25"));
}

namespace {
void ShowPressTimeMessage(TfrmMain& window) {
    window.ErrorBox(kMsgPressTime,
                    {FormatOneDecimal(kPressTimeMin), FormatOneDecimal(kPressTimeMax)});
}
}  // namespace

void TfrmMain::edtLongDoubleTriplePressTimeChange() {
    const QString text = edtLongDoubleTriplePressTime->text();
    if (text.isEmpty()) return;
    const std::optional<float> value = ParseDecimal(text);
    // Values below the lower bound pass while typing, so that "0" and the separator can be
    // typed on the way to 0,5; leaving the edit checks them.
    if (value && *value <= kPressTimeMax) return;
    ShowPressTimeMessage(*this);
    edtLongDoubleTriplePressTime->setText(
        FormatOneDecimal(value ? kPressTimeMax : kPressTimeFallback));
}

void TfrmMain::edtLongDoubleTriplePressTimeExit() {
    const QString text = edtLongDoubleTriplePressTime->text();
    if (text.isEmpty()) return;
    const std::optional<float> value = ParseDecimal(text);
    if (value && *value >= kPressTimeMin && *value <= kPressTimeMax) return;
    ShowPressTimeMessage(*this);
    double replacement = kPressTimeFallback;
    if (value) replacement = *value < kPressTimeMin ? kPressTimeMin : kPressTimeMax;
    edtLongDoubleTriplePressTime->setText(FormatOneDecimal(replacement));
}

// Warns about a code the device treats specially; the text stays ("0000" is then stored as the
// empty code). The device write refuses these as a new radio ID code.
void TfrmMain::edtValidateRadioCode(QLineEdit* sender) {
    if (!sender) return;
    const QString text = sender->text();
    if (text == QLatin1String("0000") ||
        text.compare(QLatin1String("FFFF"), Qt::CaseInsensitive) == 0)
        ErrorBox(kMsgForbiddenCode);
}

// ---- click rules ----

void TfrmMain::cbConfig_D0Click() {
    const bool on = cbConfig_D0->isChecked();
    // The RFID controls follow the RFID-active box whatever the generation; for a generation 1
    // configuration this also enables the restricted group, as it always has.
    QWidget* const single[] = {
        edtRfidInactivity, edtRadioInactivity,           cbConfig_D2, cbConfig_D5, cbConfig_D3,
        cbConfig2_D0,      edtOutOfFieldTimeToRetransmit};
    for (QWidget* w : single) w->setEnabled(on);
    for (QLineEdit* e : continuousCodes) e->setEnabled(on);
    for (QLineEdit* e : restrictedCodes) e->setEnabled(on);
    for (QCheckBox* b : continuousZones) b->setEnabled(on);
    for (QCheckBox* b : restrictedZones) b->setEnabled(on);
}

void TfrmMain::cbRadioTestAlarmActiveClick() {
    const bool on = cbRadioTestAlarmActive->isChecked();
    edtRadioTestAlarmInterval->setEnabled(on);
    cbConfig_D6->setEnabled(on);
    edtMissedAck->setEnabled(on);
}

void TfrmMain::cbConfig_D4Click() {}

namespace {
// The zone number of a zone box is its Tag; another value touches nothing.
QCheckBox* SameZoneIn(const std::array<QCheckBox*, 16>& group, QCheckBox* sender) {
    if (!sender || !sender->isChecked()) return nullptr;
    bool ok = false;
    const int zone = sender->property("Tag").toInt(&ok);
    if (!ok || zone < 0 || zone >= int(group.size())) return nullptr;
    return group[zone];
}
}  // namespace

// A zone belongs to one group at most: ticking it in one group unticks it in the other.
void TfrmMain::cbZoneClick(QCheckBox* sender) {
    if (QCheckBox* other = SameZoneIn(restrictedZones, sender)) other->setChecked(false);
}

void TfrmMain::cbZone_RClick(QCheckBox* sender) {
    if (QCheckBox* other = SameZoneIn(continuousZones, sender)) other->setChecked(false);
}
