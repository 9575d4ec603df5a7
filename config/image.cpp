#include "config/image.h"

void ClearImage(ConfigImage& image) {
    for (ImageCell& cell : image.cells) cell = ImageCell{};
}

void FillFileImage(ConfigImage& image, const ImageBytes& bytes, uint8_t mark) {
    for (int a = 0; a < kImageSize; ++a) image.cells[a] = ImageCell{bytes[a], mark};
}

ImageBytes ExtractImageBytes(const ConfigImage& image) {
    ImageBytes bytes{};
    for (int a = 0; a < kImageSize; ++a) bytes[a] = image.cells[a].value;
    return bytes;
}

void StoreBlock(ConfigImage& image, int start, int count, const uint8_t* values, uint8_t mark) {
    for (int i = 0; i < count; ++i) {
        const int address = start + i;
        if (address < 0 || address >= kImageSize) continue;
        image.cells[address] = ImageCell{values[i], mark};
    }
}

std::string BuildBlockText(const ConfigImage& image, int count, int start) {
    std::string text =
        ByteToHex(static_cast<uint8_t>(count)) + ByteToHex(static_cast<uint8_t>(start));
    // Only cells of the image are read: a block reaching outside it carries fewer values.
    for (int i = 0; i < count; ++i) {
        const int address = start + i;
        if (address >= 0 && address < kImageSize) text += ByteToHex(image.cells[address].value);
    }
    return text;
}

int ImageGeneration(uint8_t firmwareVersion) {
    return (firmwareVersion & 0xF0) == 0x20 ? 2 : 1;
}

bool FieldPresent(const ConfigImage& image, int address, int size, uint8_t mark) {
    for (int a = address; a < address + size; ++a) {
        if (a < 0 || a >= kImageSize || image.cells[a].mark != mark) return false;
    }
    return true;
}

std::string ByteToHex(uint8_t value) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[value >> 4], digits[value & 0x0F]};
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

std::string CodeToText(uint8_t high, uint8_t low) {
    if (high == 0 && low == 0) return std::string();
    return ByteToHex(high) + ByteToHex(low);
}

void TextToCode(const std::string& text, uint8_t& high, uint8_t& low) {
    if (text.empty()) {
        high = low = 0;
        return;
    }
    // Short texts keep their digits at the front: "12" is 0x1200.
    char c[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < 4 && i < text.size(); ++i) c[i] = text[i];
    high = static_cast<uint8_t>(HexDigitValue(c[0]) * 16 + HexDigitValue(c[1]));
    low = static_cast<uint8_t>(HexDigitValue(c[2]) * 16 + HexDigitValue(c[3]));
}

std::vector<std::string> ReadPlan(int generation) {
    std::vector<std::string> plan = {"0622", "0828", "0830", "0840", "0848"};
    if (generation == 1) plan.push_back("0238");
    if (generation == 2) plan.insert(plan.end(), {"0738", "0850", "0858"});
    return plan;
}

std::vector<WriteBlock> WritePlan(int generation, bool changeCode) {
    std::vector<WriteBlock> plan = {{3, 0x27}, {2, 0x2C}, {7, 0x30}, {8, 0x40}, {8, 0x48}};
    if (generation == 2) plan.insert(plan.end(), {{5, 0x3A}, {8, 0x50}, {8, 0x58}});
    if (changeCode) plan.push_back({2, 0x20});
    return plan;
}
