#include "config/prewrite.h"

bool IsForbiddenNewRadioCode(const QString& text) {
    static const char* const forbidden[] = {"0", "00", "000", "0000", "FFFF"};
    for (const char* code : forbidden)
        if (text.compare(QLatin1String(code), Qt::CaseInsensitive) == 0) return true;
    return false;
}

namespace {
constexpr int kCodesPerGroup = 8;

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
