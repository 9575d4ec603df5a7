#include "link/jobrecord.h"

namespace {
int HexPair(const std::string& text, size_t at) {
    return HexDigitValue(text[at]) * 16 + HexDigitValue(text[at + 1]);
}
}  // namespace

bool StoreRecordIfValid(ConfigImage& image, const std::string& record, uint8_t mark) {
    if (record.size() < 10) return false;
    const int count = HexPair(record, 4);
    const int start = HexPair(record, 6);
    if (count < 1 || count > 8 || record.size() != static_cast<size_t>(8 + 2 * count)) return false;
    if (start + count > kImageSize) return false;
    uint8_t values[8];
    for (int i = 0; i < count; ++i) values[i] = static_cast<uint8_t>(HexPair(record, 8 + 2 * i));
    StoreBlock(image, start, count, values, mark);
    return true;
}
