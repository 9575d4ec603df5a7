// Turning the settings view back into image bytes, and the device write's checks that read the
// view. Every text converts: a text that is no number takes the fallback of its field.

#include "config/numbers.h"
#include "config/settingsmodel.h"

namespace {

// Code texts are read one character per digit; characters beyond Latin-1 are no digit anyway.
std::string Latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// An unreadable time is stored as the least the device takes (0,5 s press time, also for the
// empty text of generation 1; no activation delay).
uint8_t TenthsFallback(Field field) {
    return uint8_t(SettingOf(field).range.minimum);
}

class Encoder {
  public:
    Encoder(const SettingsModel& model, ConfigImage& image, uint8_t mark)
        : model_(model), image_(image), mark_(mark) {}

    void Put(const SettingRow& s) {
        const int a = s.cells.address;
        const QString text = s.kind() == FieldKind::Text ? model_.Text(s.field) : QString();
        switch (s.cells.held) {
            case Held::Byte:
                return Put(a, WholeNumberByte(text));
            case Held::Word:
            case Held::LaterCounter:
                return PutCounter(a, text);
            case Held::HighNibble:
                // Unsigned arithmetic: only the low 8 bits of the cell's sum count, and no text
                // can overflow it.
                return Share(a, static_cast<uint32_t>(WholeNumberOrZero(text)) * 16u);
            case Held::LowNibble:
                return Share(a, static_cast<uint32_t>(WholeNumberOrZero(text)));
            case Held::Bit:
                return Share(a, (model_.Ticked(s.field) ? 1u : 0u) << s.cells.bit);
            case Held::Tenths:
                return Put(a, TenthsByte(text, TenthsFallback(s.field)));
            case Held::Code:
                return PutCode(a, text);
            case Held::RadioCode:
                // A device write carries the new code, a saved file the device's current one.
                if ((s.access == SettingAccess::WriteOnly) == (mark_ == MarkToDevice))
                    PutCode(a, text);
                return;
            case Held::Version:
            case Held::Date:
            case Held::Product:
                return PutProductInformation(s.cells.held, a, Latin1(text));
        }
    }

    // The cells that several settings share; bits without a setting stay 0.
    void PutShared() {
        for (int a = 0; a < kImageSize; ++a)
            if (shared_[a]) Put(a, sums_[a]);
    }

  private:
    void Put(int address, uint32_t value) {
        image_.cells[address] = ImageCell{static_cast<uint8_t>(value & 0xFF), mark_};
    }
    void Share(int address, uint32_t part) {
        shared_[address] = true;
        sums_[address] += part;
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
    // The product information is written back only when it shows a real value; a placeholder
    // ("?.?", "unknown") leaves the loaded bytes as they were.
    void PutProductInformation(Held held, int address, const std::string& text) {
        if (held == Held::Version) {
            // "?.?" has the form of a version too, but stands for a version that was not read:
            // writing it would store 0x00 and turn the configuration into generation 1.
            if (text.size() == 3 && text[1] == '.' && IsHexDigit(text[0]) && IsHexDigit(text[2]))
                Put(address, HexDigitValue(text[0]) * 16 + HexDigitValue(text[2]));
        } else if (held == Held::Date) {
            if (text.size() != 6) return;
            for (int i = 0; i < 3; ++i)
                Put(address + i, HexDigitValue(text[2 * i]) * 16 + HexDigitValue(text[2 * i + 1]));
        } else if (text == "K-ORBI") {
            Put(address, 0);
        }
    }

    const SettingsModel& model_;
    ConfigImage& image_;
    const uint8_t mark_;
    std::array<uint32_t, kImageSize> sums_{};
    std::array<bool, kImageSize> shared_{};
};

}  // namespace

void SettingsModel::EncodeConfigImage(ConfigImage& image, uint8_t mark) const {
    Encoder encoder(*this, image, mark);
    // The generation-2 cells are written whatever the generation; the write plan decides which
    // of them reach a device.
    for (const SettingRow& setting : Settings()) encoder.Put(setting);
    encoder.PutShared();
}

bool SettingsModel::UsesGeneration2Settings() const {
    if (Ticked(Field::longPressActive) || Ticked(Field::doublePressActive) ||
        Ticked(Field::triplePressActive))
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
    float delay = TenthsFallback(Field::activationDelaySeconds) / 10.0f;
    float press = TenthsFallback(Field::pressTimeSeconds) / 10.0f;
    if (!Text(Field::activationDelaySeconds).isEmpty()) {
        const std::optional<float> value = ParseDecimal(Text(Field::activationDelaySeconds));
        if (!value) return false;
        delay = *value;
    }
    if (!Enabled(Field::pressTimeSeconds)) return true;
    if (!Text(Field::pressTimeSeconds).isEmpty()) {
        const std::optional<float> value = ParseDecimal(Text(Field::pressTimeSeconds));
        if (!value) return false;
        press = *value;
    }
    const float factor = Ticked(Field::triplePressActive)   ? 4.0f
                         : Ticked(Field::doublePressActive) ? 3.0f
                         : Ticked(Field::longPressActive)   ? 2.0f
                                                            : 1.0f;
    // Single precision throughout, so that 0,1 x 3 equals 0,3 as the user reads it.
    const float needed = delay * factor;
    return needed < press;
}
