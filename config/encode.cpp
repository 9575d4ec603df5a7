// Turning the settings view back into image bytes, and the device write's checks that read the
// view. Every text converts: a text that is no number takes the fallback of its field.

#include "config/numbers.h"
#include "config/settingsmodel.h"

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
    Encoder(const SettingsModel& model, ConfigImage& image, uint8_t mark)
        : model_(model), image_(image), mark_(mark) {}

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
    void PutZones(int address, bool restricted, int first) {
        int bits = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (model_.Ticked(Zone(first + bit, restricted))) bits |= 1 << bit;
        Put(address, bits);
    }
    void PutFlags(int address, std::initializer_list<Field> boxes) {
        // Bits without a function stay 0.
        int bits = 0, bit = 0;
        for (Field box : boxes) bits |= (model_.Ticked(box) ? 1 : 0) << bit++;
        Put(address, bits);
    }

  private:
    const SettingsModel& model_;
    ConfigImage& image_;
    const uint8_t mark_;
};

}  // namespace

void SettingsModel::EncodeConfigImage(ConfigImage& image, uint8_t mark) const {
    Encoder e(*this, image, mark);
    // A device write carries the new code, a saved file the device's current one.
    e.PutCode(Addr::RadioIdCode,
              mark == MarkToDevice ? Text(Field::edtRadioCodeNew) : Text(Field::edtRadioCodeOld));
    // Unsigned arithmetic: only the low 8 bits count, and no text can overflow it.
    const uint32_t shortTx = static_cast<uint32_t>(WholeNumberOrZero(Text(Field::edtNoShortTx)));
    const uint32_t longTx = static_cast<uint32_t>(WholeNumberOrZero(Text(Field::edtNoLongTx)));
    e.Put(Addr::TxCounts, shortTx * 16u + longTx);
    e.Put(Addr::RadioTestAlarmActive, Ticked(Field::cbRadioTestAlarmActive) ? 1 : 0);
    e.Put(Addr::RadioTestAlarmInterval, WholeNumberByte(Text(Field::edtRadioTestAlarmInterval)));
    e.Put(Addr::MissedAckBeforeSleep, WholeNumberByte(Text(Field::edtMissedAck)));
    e.Put(Addr::BatteryTestInterval, WholeNumberByte(Text(Field::edtBatteryTestInterval)));
    e.PutCounter(Addr::ButtonCounter, Text(Field::edtButtonCounter));
    e.PutCounter(Addr::TotalTxCounter, Text(Field::edtTotalTxCounter));
    e.Put(Addr::PressTime,
          TenthsByte(Text(Field::edtLongDoubleTriplePressTime), kPressTimeFallback));
    e.Put(Addr::ActivationDelay,
          TenthsByte(Text(Field::edtButtonActivationDelay), kActivationDelayFallback));
    e.Put(Addr::DementiaBlockTime, WholeNumberByte(Text(Field::edtDementiaBlockTime)));

    // The product information is written back only when it shows a real value; a placeholder
    // ("?.?", "unknown") leaves the loaded bytes as they were.
    // "?.?" has the form of a version too, but stands for a version that was not read: writing
    // it would store 0x00 and turn the configuration into generation 1.
    const std::string version = Latin1(Text(Field::edtFirmwareVersion));
    if (version.size() == 3 && version[1] == '.' && IsHexDigit(version[0]) &&
        IsHexDigit(version[2]))
        e.Put(Addr::FirmwareVersion, HexDigitValue(version[0]) * 16 + HexDigitValue(version[2]));
    const std::string date = Latin1(Text(Field::edtProductionDate));
    if (date.size() == 6) {
        for (int i = 0; i < 3; ++i)
            e.Put(Addr::ProductionDate + i,
                  HexDigitValue(date[2 * i]) * 16 + HexDigitValue(date[2 * i + 1]));
    }
    if (Text(Field::edtFirmwareType) == QLatin1String("K-ORBI")) e.Put(Addr::FirmwareType, 0);

    e.Put(Addr::RfidInactivity, WholeNumberByte(Text(Field::edtRfidInactivity)));
    e.Put(Addr::RadioInactivity, WholeNumberByte(Text(Field::edtRadioInactivity)));
    e.Put(Addr::OutOfFieldTime, WholeNumberByte(Text(Field::edtOutOfFieldTimeToRetransmit)));
    for (int k = 0; k < kCodesPerGroup; ++k)
        e.PutCode(Addr::DoorCodes + 2 * k, Text(DoorCode(k + 1, false)));
    e.PutZones(Addr::ZonesLow, false, 0);
    e.PutZones(Addr::ZonesHigh, false, 8);
    // The generation-2 cells are written whatever the generation; the write plan decides which
    // of them reach a device.
    for (int k = 0; k < kCodesPerGroup; ++k)
        e.PutCode(Addr::DoorCodesRestricted + 2 * k, Text(DoorCode(k + 1, true)));
    e.PutZones(Addr::ZonesLowRestricted, true, 0);
    e.PutZones(Addr::ZonesHighRestricted, true, 8);
    e.PutFlags(Addr::ConfigFlags1,
               {Field::cbConfig_D0, Field::cbConfig_D1, Field::cbConfig_D2, Field::cbConfig_D3,
                Field::cbConfig_D4, Field::cbConfig_D5, Field::cbConfig_D6});
    e.PutFlags(Addr::ConfigFlags2, {Field::cbConfig2_D0, Field::cbConfig2_D1, Field::cbConfig2_D2,
                                    Field::cbConfig2_D3});
}

bool SettingsModel::UsesGeneration2Settings() const {
    if (Ticked(Field::cbConfig2_D1) || Ticked(Field::cbConfig2_D2) || Ticked(Field::cbConfig2_D3))
        return true;
    for (int k = 1; k <= kCodesPerGroup; ++k)
        if (!Text(DoorCode(k, true)).isEmpty()) return true;
    for (int z = 0; z < kZonesPerGroup; ++z)
        if (Ticked(Zone(z, true))) return true;
    return false;
}

// The press time must be longer than the activation delay times a factor for the highest press
// function in use. Both are read from the texts in seconds. An empty operand stands for the
// value that the encoding writes for it (delay 0, press time 0,5 s), so the check judges what
// the device would actually get.
bool SettingsModel::PressTimeFitsDelay() const {
    float delay = kActivationDelayFallback / 10.0f;
    float press = kPressTimeFallback / 10.0f;
    if (!Text(Field::edtButtonActivationDelay).isEmpty()) {
        const std::optional<float> value = ParseDecimal(Text(Field::edtButtonActivationDelay));
        if (!value) return false;
        delay = *value;
    }
    if (!Enabled(Field::edtLongDoubleTriplePressTime)) return true;
    if (!Text(Field::edtLongDoubleTriplePressTime).isEmpty()) {
        const std::optional<float> value = ParseDecimal(Text(Field::edtLongDoubleTriplePressTime));
        if (!value) return false;
        press = *value;
    }
    const float factor = Ticked(Field::cbConfig2_D3)   ? 4.0f
                         : Ticked(Field::cbConfig2_D2) ? 3.0f
                         : Ticked(Field::cbConfig2_D1) ? 2.0f
                                                       : 1.0f;
    // Single precision throughout, so that 0,1 x 3 equals 0,3 as the user reads it.
    const float needed = delay * factor;
    return needed < press;
}
