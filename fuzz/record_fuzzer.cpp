// Stores arbitrary read records into an image: a record is stored only when it is valid, and
// then exactly into the cells it names; nothing else of the image changes.

#include <cstdlib>
#include <string>

#include "config/image.h"
#include "link/lpxadapter.h"

#define CHECK(condition) \
    if (!(condition)) std::abort()

namespace {

int Byte(const std::string& text, size_t at) {
    return HexDigitValue(text[at]) * 16 + HexDigitValue(text[at + 1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string record(reinterpret_cast<const char*>(data), size);
    ConfigImage image;
    for (int a = 0; a < kImageSize; ++a)
        image.cells[a] = ImageCell{uint8_t(a ^ 0x5A), MarkFromFile};
    const ConfigImage before = image;

    const bool stored = StoreReadRecord(image, record, MarkFromDevice);

    const int count = size >= 10 ? Byte(record, 4) : 0;
    const int start = size >= 10 ? Byte(record, 6) : 0;
    const bool valid = size >= 10 && count >= 1 && count <= 8 &&
                       size == static_cast<size_t>(8 + 2 * count) && start + count <= kImageSize;
    CHECK(stored == valid);
    for (int a = 0; a < kImageSize; ++a) {
        const bool inside = valid && a >= start && a < start + count;
        const ImageCell& cell = image.cells[a];
        if (inside) {
            CHECK(cell.mark == MarkFromDevice);
            CHECK(cell.value == Byte(record, 8 + 2 * static_cast<size_t>(a - start)));
        } else {
            CHECK(cell.mark == before.cells[a].mark && cell.value == before.cells[a].value);
        }
    }
    return 0;
}
