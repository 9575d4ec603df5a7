#include "config/prewrite.h"

#include "config/settingsmodel.h"
#include "resources/msg.h"

bool IsForbiddenNewRadioCode(const QString& text) {
    static const char* const forbidden[] = {"0", "00", "000", "0000", "FFFF"};
    for (const char* code : forbidden)
        if (text.compare(QLatin1String(code), Qt::CaseInsensitive) == 0) return true;
    return false;
}

namespace {

int CodeAt(const ConfigImage& image, int base, int index) {
    const int address = base + 2 * index;
    return image.cells[address].value * 256 + image.cells[address + 1].value;
}
}  // namespace

bool HasCodeInBothGroups(const ConfigImage& image) {
    for (int k = 0; k < kCodesPerGroup; ++k) {
        const int continuous = CodeAt(image, Addr::DoorCodes, k);
        if (continuous == 0) continue;  // 0x0000 is the empty code
        for (int j = 0; j < kCodesPerGroup; ++j)
            if (CodeAt(image, Addr::DoorCodesRestricted, j) == continuous) return true;
    }
    return false;
}

bool HasZoneInBothGroups(const ConfigImage& image) {
    const auto& c = image.cells;
    return (c[Addr::ZonesHigh].value & c[Addr::ZonesHighRestricted].value) != 0 ||
           (c[Addr::ZonesLow].value & c[Addr::ZonesLowRestricted].value) != 0;
}

bool IsFourHexDigits(const QString& text) {
    if (text.size() != 4) return false;
    for (const QChar c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!hex) return false;
    }
    return true;
}

int CheckNewRadioCode(const QString& newCode) {
    if (IsForbiddenNewRadioCode(newCode)) return Msg::ForbiddenCode;
    // A shorter code or pasted characters would give the device a code other than the one the
    // user confirms.
    if (!newCode.isEmpty() && !IsFourHexDigits(newCode)) return Msg::CodeNotFourHexDigits;
    return 0;
}

int CheckWriteImage(const ConfigImage& writeImage) {
    if (HasCodeInBothGroups(writeImage)) return Msg::CodeInBothGroups;
    if (HasZoneInBothGroups(writeImage)) return Msg::ZoneInBothGroups;
    return 0;
}

int CheckSettingsBeforeWrite(const SettingsModel& settings, ConfigImage& writeImage) {
    if (const int failed = CheckNewRadioCode(settings.Text(Field::newRadioCode))) return failed;
    settings.EncodeConfigImage(writeImage, MarkToDevice);
    return CheckWriteImage(writeImage);
}
