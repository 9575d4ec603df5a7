// Showing a configuration image in the settings view. Every text and tick is set as the user
// would set it, so the entry rules run on the way; the order of the settings table is therefore
// part of the behaviour (it decides which messages appear and which missing field is reported).

#include "config/numbers.h"
#include "config/settingsmodel.h"

namespace {

const QString kUnknownNumber = QStringLiteral("?");
const QString kUnknownTenths = QStringLiteral("?.?");
const QString kNoCounter = QStringLiteral("---");
const QString kUnknownDate = QStringLiteral("YYMMDD");
const QString kUnknownProduct = QStringLiteral("unknown");
const QString kOwnProduct = QStringLiteral("K-ORBI");
constexpr uint8_t kFirmware10 = 0x10;  // firmware 1.0 has no total transmission counter

QString Hex(int value) {
    return QString::number(value, 16).toUpper();
}
QString Hex2(int value) {
    return QString::fromStdString(ByteToHex(static_cast<uint8_t>(value)));
}

class Decoder {
  public:
    Decoder(SettingsModel& model, const ConfigImage& image, uint8_t mark)
        : model_(model), image_(image), mark_(mark) {}

    int Run() {
        // The generation comes from the firmware version only when that cell was delivered.
        versionPresent_ = Present(Addr::FirmwareVersion, 1);
        version_ = versionPresent_ ? Value(Addr::FirmwareVersion) : uint8_t(0);
        gen2_ = (version_ & 0xF0) == 0x20;
        result_ = DecodeOk;
        for (const SettingRow& setting : Settings()) Show(setting);
        return result_;
    }

  private:
    bool Present(int address, int size) const { return FieldPresent(image_, address, size, mark_); }
    uint8_t Value(int address) const { return image_.cells[address].value; }
    int Word(int address) const { return Value(address) * 256 + Value(address + 1); }
    QString Code(int address) const {
        return QString::fromStdString(CodeToText(Value(address), Value(address + 1)));
    }

    // The setting's text as its cells hold it, with the placeholder for missing cells.
    QString TextOf(const SettingRow& s, QString* placeholder) const {
        const int a = s.cells.address;
        *placeholder = kUnknownNumber;
        switch (s.cells.held) {
            case Held::Word:
            case Held::LaterCounter:
                return QString::number(Word(a));
            case Held::HighNibble:
                return QString::number(Value(a) >> 4);
            case Held::LowNibble:
                return QString::number(Value(a) & 0x0F);
            case Held::Tenths:
                *placeholder = kUnknownTenths;
                return FormatTenths(Value(a));
            case Held::Code:
            case Held::RadioCode:
                return Code(a);
            case Held::Version:
                *placeholder = kUnknownTenths;
                return Hex(Value(a) >> 4) + '.' + Hex(Value(a) & 0x0F);
            case Held::Date:
                *placeholder = kUnknownDate;
                return Hex2(Value(a)) + Hex2(Value(a + 1)) + Hex2(Value(a + 2));
            case Held::Product:
                return Value(a) == 0 ? kOwnProduct : kUnknownProduct;
            case Held::Byte:
            case Held::Bit:
                break;
        }
        return QString::number(Value(a));
    }

    void Show(const SettingRow& s) {
        const int a = s.cells.address;
        const bool present = Present(a, s.cellCount());
        // A generation 1 device has no generation-2 settings, whatever the bytes hold.
        if (s.cells.generation == 2 && !gen2_) {
            if (s.kind() == FieldKind::Tick)
                model_.SetTicked(s.field, false);
            else
                model_.SetText(s.field, QString());
            return;
        }
        switch (s.cells.held) {
            case Held::RadioCode:
                // A file or read shows the device's code; the new one is the user's alone.
                if (s.access == SettingAccess::DeviceOnly && present)
                    model_.SetText(s.field, Code(a));
                return;
            case Held::LaterCounter:
                if (!versionPresent_ || version_ == kFirmware10)
                    return model_.SetText(s.field, kNoCounter);
                break;
            case Held::Bit:
                // A box stays as it was when its cell is missing.
                if (!present) return Missing(a);
                return model_.SetTicked(s.field, (Value(a) >> s.cells.bit) & 1);
            default:
                break;
        }
        QString placeholder;
        const QString text = TextOf(s, &placeholder);
        model_.SetText(s.field, present ? text : placeholder);
        if (!present) return Missing(a);
        if (s.cells.held == Held::Product && Value(a) != 0) result_ = DecodeBadProduct;
    }

    void Missing(int address) { result_ = address; }

    SettingsModel& model_;
    const ConfigImage& image_;
    const uint8_t mark_;
    uint8_t version_ = 0;
    bool versionPresent_ = false;
    bool gen2_ = false;
    int result_ = DecodeOk;
};

}  // namespace

int SettingsModel::DecodeConfigImage(const ConfigImage& image, uint8_t expectedMark) {
    return Decoder(*this, image, expectedMark).Run();
}

void SettingsModel::EnableGeneration2Controls(const ConfigImage& image) {
    // The firmware version cell is read whatever its mark.
    const bool on = ImageGeneration(image.cells[Addr::FirmwareVersion].value) == 2;
    for (const SettingRow& setting : Settings())
        if (setting.cells.generation == 2) SetEnabled(setting.field, on);
}

int SettingsModel::ShowFileImage(const ConfigImage& image, bool setEnabling) {
    if (setEnabling) EnableGeneration2Controls(image);
    const int result = DecodeConfigImage(image, MarkFromFile);
    // A file carries no code to give the device; the edit of a new code starts empty.
    if (result == DecodeOk) SetText(Field::newRadioCode, QString());
    MarkClean();
    return result;
}
