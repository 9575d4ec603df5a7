// Showing a configuration image in the settings view. Every text and tick is set as the user
// would set it, so the entry rules run on the way; the order of the steps is therefore part of
// the behaviour (it decides which messages appear and which missing field is reported).

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

enum class Step {
    TxCounts,         // nibble pair into two edits
    TickBit0,         // one box from bit 0
    Byte,             // decimal byte
    Counter,          // 16-bit counter
    TotalTxCounter,   // 16-bit counter that firmware 1.0 lacks
    Gen2Tenths,       // tenths, generation 2 only
    Tenths,           // tenths
    FirmwareVersion,  // "%X.%X"
    ProductionDate,   // "%02X%02X%02X"
    FirmwareType,     // "K-ORBI" or "unknown"
    Gen2Byte,         // decimal byte, generation 2 only
    ContinuousCodes,  // eight door codes
    ContinuousZones,  // eight zone boxes from one bitmap
    RestrictedGroup,  // generation 2: codes and both restricted bitmaps
    ConfigFlags1,     // seven flag boxes
    ConfigFlags2,     // four flag boxes, generation 2 only
};

struct DecodeStep {
    Step step;
    int address;
    Field edit = Field::edtRadioCodeOld;  // the edit of a step that shows one text
    int firstZone = 0;                    // for ContinuousZones
};

// In this order. A later missing field overrides the address of an earlier one.
const DecodeStep kSteps[] = {
    {Step::TxCounts, Addr::TxCounts},
    {Step::TickBit0, Addr::RadioTestAlarmActive},
    {Step::Byte, Addr::RadioTestAlarmInterval, Field::edtRadioTestAlarmInterval},
    {Step::Byte, Addr::MissedAckBeforeSleep, Field::edtMissedAck},
    {Step::Byte, Addr::BatteryTestInterval, Field::edtBatteryTestInterval},
    {Step::Counter, Addr::ButtonCounter, Field::edtButtonCounter},
    {Step::TotalTxCounter, Addr::TotalTxCounter, Field::edtTotalTxCounter},
    {Step::Gen2Tenths, Addr::PressTime, Field::edtLongDoubleTriplePressTime},
    {Step::Tenths, Addr::ActivationDelay, Field::edtButtonActivationDelay},
    {Step::Byte, Addr::DementiaBlockTime, Field::edtDementiaBlockTime},
    {Step::FirmwareVersion, Addr::FirmwareVersion, Field::edtFirmwareVersion},
    {Step::ProductionDate, Addr::ProductionDate, Field::edtProductionDate},
    {Step::FirmwareType, Addr::FirmwareType, Field::edtFirmwareType},
    {Step::Byte, Addr::RfidInactivity, Field::edtRfidInactivity},
    {Step::Byte, Addr::RadioInactivity, Field::edtRadioInactivity},
    {Step::Gen2Byte, Addr::OutOfFieldTime, Field::edtOutOfFieldTimeToRetransmit},
    {Step::ContinuousCodes, Addr::DoorCodes},
    {Step::ContinuousZones, Addr::ZonesLow, {}, 0},
    {Step::ContinuousZones, Addr::ZonesHigh, {}, 8},
    {Step::RestrictedGroup, Addr::DoorCodesRestricted},
    {Step::ConfigFlags1, Addr::ConfigFlags1},
    {Step::ConfigFlags2, Addr::ConfigFlags2},
};

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
        const uint8_t g =
            Present(Addr::FirmwareVersion, 1) ? Value(Addr::FirmwareVersion) : uint8_t(0);
        version_ = g;
        versionPresent_ = Present(Addr::FirmwareVersion, 1);
        gen2_ = (g & 0xF0) == 0x20;
        result_ = DecodeOk;

        // The radio ID code is not among the read blocks: a read keeps the code that the
        // identification showed.
        if (Present(Addr::RadioIdCode, 2)) SetText(Field::edtRadioCodeOld, Code(Addr::RadioIdCode));

        for (const DecodeStep& s : kSteps) RunStep(s);
        return result_;
    }

  private:
    bool Present(int address, int size) const { return FieldPresent(image_, address, size, mark_); }
    uint8_t Value(int address) const { return image_.cells[address].value; }
    int Word(int address) const { return Value(address) * 256 + Value(address + 1); }
    QString Code(int address) const {
        return QString::fromStdString(CodeToText(Value(address), Value(address + 1)));
    }
    void Missing(int address) { result_ = address; }

    void SetText(Field edit, const QString& text) { model_.SetText(edit, text); }
    void SetTick(Field box, bool on) { model_.SetTicked(box, on); }

    // Shows the field's text, or the placeholder and records the address when it is missing.
    void Show(Field edit, int address, int size, const QString& text, const QString& placeholder) {
        if (Present(address, size)) {
            SetText(edit, text);
        } else {
            SetText(edit, placeholder);
            Missing(address);
        }
    }

    void ShowCodes(bool restricted, int base) {
        for (int k = 0; k < kCodesPerGroup; ++k) {
            const int address = base + 2 * k;
            Show(DoorCode(k + 1, restricted), address, 2, Code(address), kUnknownNumber);
        }
    }

    // Boxes first..first+7 of a group from the bits 0..7 of one bitmap; unchanged when missing.
    void ShowZones(bool restricted, int address, int first) {
        if (!Present(address, 1)) return Missing(address);
        for (int bit = 0; bit < 8; ++bit)
            SetTick(Zone(first + bit, restricted), (Value(address) >> bit) & 1);
    }

    void ShowFlags(std::initializer_list<Field> boxes, int address) {
        if (!Present(address, 1)) return Missing(address);
        int bit = 0;
        for (Field box : boxes) SetTick(box, (Value(address) >> bit++) & 1);
    }

    void RunStep(const DecodeStep& s) {
        const int a = s.address;
        const Field edit = s.edit;
        switch (s.step) {
            case Step::TxCounts:
                Show(Field::edtNoShortTx, a, 1, QString::number(Value(a) >> 4), kUnknownNumber);
                Show(Field::edtNoLongTx, a, 1, QString::number(Value(a) & 0x0F), kUnknownNumber);
                break;
            case Step::TickBit0:
                if (!Present(a, 1)) return Missing(a);
                SetTick(Field::cbRadioTestAlarmActive, Value(a) & 1);
                break;
            case Step::Byte:
                Show(edit, a, 1, QString::number(Value(a)), kUnknownNumber);
                break;
            case Step::Counter:
                Show(edit, a, 2, QString::number(Word(a)), kUnknownNumber);
                break;
            case Step::TotalTxCounter:
                if (!versionPresent_ || version_ == kFirmware10)
                    SetText(edit, kNoCounter);
                else
                    Show(edit, a, 2, QString::number(Word(a)), kUnknownNumber);
                break;
            case Step::Gen2Tenths:
                if (gen2_)
                    Show(edit, a, 1, FormatTenths(Value(a)), kUnknownTenths);
                else
                    SetText(edit, QString());
                break;
            case Step::Tenths:
                Show(edit, a, 1, FormatTenths(Value(a)), kUnknownTenths);
                break;
            case Step::FirmwareVersion:
                Show(edit, a, 1, Hex(Value(a) >> 4) + '.' + Hex(Value(a) & 0x0F), kUnknownTenths);
                break;
            case Step::ProductionDate:
                Show(edit, a, 3, Hex2(Value(a)) + Hex2(Value(a + 1)) + Hex2(Value(a + 2)),
                     kUnknownDate);
                break;
            case Step::FirmwareType:
                Show(edit, a, 1, Value(a) == 0 ? kOwnProduct : kUnknownProduct, kUnknownNumber);
                if (Present(a, 1) && Value(a) != 0) result_ = DecodeBadProduct;
                break;
            case Step::Gen2Byte:
                if (gen2_)
                    Show(edit, a, 1, QString::number(Value(a)), kUnknownNumber);
                else
                    SetText(edit, QString());
                break;
            case Step::ContinuousCodes:
                ShowCodes(false, a);
                break;
            case Step::ContinuousZones:
                ShowZones(false, a, s.firstZone);
                break;
            case Step::RestrictedGroup:
                if (gen2_) {
                    ShowCodes(true, a);
                    ShowZones(true, Addr::ZonesLowRestricted, 0);
                    ShowZones(true, Addr::ZonesHighRestricted, 8);
                } else {
                    // A generation 1 device has no restricted group, whatever the bytes hold.
                    for (int k = 1; k <= kCodesPerGroup; ++k) SetText(DoorCode(k, true), QString());
                    for (int z = 0; z < kZonesPerGroup; ++z) SetTick(Zone(z, true), false);
                }
                break;
            case Step::ConfigFlags1:
                ShowFlags(
                    {Field::cbConfig_D0, Field::cbConfig_D1, Field::cbConfig_D2, Field::cbConfig_D3,
                     Field::cbConfig_D4, Field::cbConfig_D5, Field::cbConfig_D6},
                    a);
                break;
            case Step::ConfigFlags2:
                if (gen2_) {
                    ShowFlags({Field::cbConfig2_D0, Field::cbConfig2_D1, Field::cbConfig2_D2,
                               Field::cbConfig2_D3},
                              a);
                } else {
                    for (Field b : {Field::cbConfig2_D0, Field::cbConfig2_D1, Field::cbConfig2_D2,
                                    Field::cbConfig2_D3})
                        SetTick(b, false);
                }
                break;
        }
    }

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
    for (Field f :
         {Field::cbConfig2_D0, Field::cbConfig2_D1, Field::cbConfig2_D2, Field::cbConfig2_D3,
          Field::edtLongDoubleTriplePressTime, Field::edtOutOfFieldTimeToRetransmit})
        SetEnabled(f, on);
    for (int k = 1; k <= kCodesPerGroup; ++k) SetEnabled(DoorCode(k, true), on);
    for (int z = 0; z < kZonesPerGroup; ++z) SetEnabled(Zone(z, true), on);
}

int SettingsModel::ShowFileImage(const ConfigImage& image, bool setEnabling) {
    if (setEnabling) EnableGeneration2Controls(image);
    const int result = DecodeConfigImage(image, MarkFromFile);
    // A file carries no code to give the device; the edit of a new code starts empty.
    if (result == DecodeOk) SetText(Field::edtRadioCodeNew, QString());
    MarkClean();
    return result;
}
