// Turning the settings view back into image bytes, and the device write's checks that read the
// view. Every text converts: a text that is no number takes the fallback of its field.

#include <QCheckBox>
#include <QLineEdit>

#include "app/mainwindow.h"
#include "config/numbers.h"

namespace {

constexpr uint8_t kPressTimeFallback = 5;  // 0,5 s, also for the empty text of generation 1
constexpr uint8_t kActivationDelayFallback = 0;

// Code texts are read one character per digit; characters beyond Latin-1 are no digit anyway.
std::string Latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

class Encoder {
  public:
    Encoder(ConfigImage& image, uint8_t mark) : image_(image), mark_(mark) {}

    void Put(int address, uint32_t value) {
        image_.cells[address] = ImageCell{static_cast<uint8_t>(value & 0xFF), mark_};
    }
    void PutCode(int address, const QString& text) {
        uint8_t high = 0, low = 0;
        TextToCode(Latin1(text), high, low);
        Put(address, high);
        Put(address + 1, low);
    }
    void PutCounter(int address, const QString& text) {
        // Signed division cuts toward zero, so "-1" gives 0x00 0xFF, not 0xFF 0xFF; each byte
        // keeps the low 8 bits of its part.
        const int32_t n = WholeNumberOrZero(text);
        Put(address, static_cast<uint32_t>(n / 256));
        Put(address + 1, static_cast<uint32_t>(n % 256));
    }
    template <size_t N>
    void PutBits(int address, const std::array<QCheckBox*, N>& boxes, size_t first) {
        int bits = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (boxes[first + bit]->isChecked()) bits |= 1 << bit;
        Put(address, bits);
    }
    void PutFlags(int address, std::initializer_list<const QCheckBox*> boxes) {
        // Bits without a function stay 0.
        int bits = 0, bit = 0;
        for (const QCheckBox* box : boxes) bits |= (box->isChecked() ? 1 : 0) << bit++;
        Put(address, bits);
    }

  private:
    ConfigImage& image_;
    const uint8_t mark_;
};

}  // namespace

int TfrmMain::EncodeConfigImage(ConfigImage& image, uint8_t mark) {
    Encoder e(image, mark);
    // A device write carries the new code, a saved file the device's current one.
    e.PutCode(Addr::RadioIdCode,
              mark == MarkToDevice ? edtRadioCodeNew->text() : edtRadioCodeOld->text());
    // Unsigned arithmetic: only the low 8 bits count, and no text can overflow it.
    const uint32_t shortTx = static_cast<uint32_t>(WholeNumberOrZero(edtNoShortTx->text()));
    const uint32_t longTx = static_cast<uint32_t>(WholeNumberOrZero(edtNoLongTx->text()));
    e.Put(Addr::TxCounts, shortTx * 16u + longTx);
    e.Put(Addr::RadioTestAlarmActive, cbRadioTestAlarmActive->isChecked() ? 1 : 0);
    e.Put(Addr::RadioTestAlarmInterval, WholeNumberByte(edtRadioTestAlarmInterval->text()));
    e.Put(Addr::MissedAckBeforeSleep, WholeNumberByte(edtMissedAck->text()));
    e.Put(Addr::BatteryTestInterval, WholeNumberByte(edtBatteryTestInterval->text()));
    e.PutCounter(Addr::ButtonCounter, edtButtonCounter->text());
    e.PutCounter(Addr::TotalTxCounter, edtTotalTxCounter->text());
    e.Put(Addr::PressTime, TenthsByte(edtLongDoubleTriplePressTime->text(), kPressTimeFallback));
    e.Put(Addr::ActivationDelay,
          TenthsByte(edtButtonActivationDelay->text(), kActivationDelayFallback));
    e.Put(Addr::DementiaBlockTime, WholeNumberByte(edtDementiaBlockTime->text()));

    // The product information is written back only when it shows a real value; a placeholder
    // ("?.?", "unknown") leaves the loaded bytes as they were.
    // "?.?" has the form of a version too, but stands for a version that was not read: writing
    // it would store 0x00 and turn the configuration into generation 1.
    const std::string version = Latin1(edtFirmwareVersion->text());
    if (version.size() == 3 && version[1] == '.' && IsHexDigit(version[0]) &&
        IsHexDigit(version[2]))
        e.Put(Addr::FirmwareVersion, HexDigitValue(version[0]) * 16 + HexDigitValue(version[2]));
    const std::string date = Latin1(edtProductionDate->text());
    if (date.size() == 6) {
        for (int i = 0; i < 3; ++i)
            e.Put(Addr::ProductionDate + i,
                  HexDigitValue(date[2 * i]) * 16 + HexDigitValue(date[2 * i + 1]));
    }
    if (edtFirmwareType->text() == QLatin1String("K-ORBI")) e.Put(Addr::FirmwareType, 0);

    e.Put(Addr::RfidInactivity, WholeNumberByte(edtRfidInactivity->text()));
    e.Put(Addr::RadioInactivity, WholeNumberByte(edtRadioInactivity->text()));
    e.Put(Addr::OutOfFieldTime, WholeNumberByte(edtOutOfFieldTimeToRetransmit->text()));
    for (int k = 0; k < 8; ++k) e.PutCode(Addr::DoorCodes + 2 * k, continuousCodes[k]->text());
    e.PutBits(Addr::ZonesLow, continuousZones, 0);
    e.PutBits(Addr::ZonesHigh, continuousZones, 8);
    // The generation-2 cells are written whatever the generation; the write plan decides which
    // of them reach a device.
    for (int k = 0; k < 8; ++k)
        e.PutCode(Addr::DoorCodesRestricted + 2 * k, restrictedCodes[k]->text());
    e.PutBits(Addr::ZonesLowRestricted, restrictedZones, 0);
    e.PutBits(Addr::ZonesHighRestricted, restrictedZones, 8);
    e.PutFlags(Addr::ConfigFlags1, {cbConfig_D0, cbConfig_D1, cbConfig_D2, cbConfig_D3, cbConfig_D4,
                                    cbConfig_D5, cbConfig_D6});
    e.PutFlags(Addr::ConfigFlags2, {cbConfig2_D0, cbConfig2_D1, cbConfig2_D2, cbConfig2_D3});
    return -1;  // every text converts
}

bool TfrmMain::UsesGeneration2Settings() const {
    if (cbConfig2_D1->isChecked() || cbConfig2_D2->isChecked() || cbConfig2_D3->isChecked())
        return true;
    for (const QLineEdit* e : restrictedCodes)
        if (!e->text().isEmpty()) return true;
    for (const QCheckBox* b : restrictedZones)
        if (b->isChecked()) return true;
    return false;
}

// The press time must be longer than the activation delay times a factor for the highest press
// function in use. Both are read from the texts in seconds. An empty operand stands for the
// value that the encoding writes for it (delay 0, press time 0,5 s), so the check judges what
// the device would actually get.
bool TfrmMain::PressTimeFitsDelay() const {
    float delay = kActivationDelayFallback / 10.0f;
    float press = kPressTimeFallback / 10.0f;
    if (!edtButtonActivationDelay->text().isEmpty()) {
        const std::optional<float> value = ParseDecimal(edtButtonActivationDelay->text());
        if (!value) return false;
        delay = *value;
    }
    if (!edtLongDoubleTriplePressTime->isEnabled()) return true;
    if (!edtLongDoubleTriplePressTime->text().isEmpty()) {
        const std::optional<float> value = ParseDecimal(edtLongDoubleTriplePressTime->text());
        if (!value) return false;
        press = *value;
    }
    const float factor = cbConfig2_D3->isChecked()   ? 4.0f
                         : cbConfig2_D2->isChecked() ? 3.0f
                         : cbConfig2_D1->isChecked() ? 2.0f
                                                     : 1.0f;
    // Single precision throughout, so that 0,1 x 3 equals 0,3 as the user reads it.
    const float needed = delay * factor;
    return needed < press;
}
