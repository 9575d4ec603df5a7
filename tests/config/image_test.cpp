#include "config/image.h"

#include <gtest/gtest.h>

TEST(Image, ConversionsOfCodesAndDigits) {
    struct Case {
        const char* text;
        uint8_t high, low;
    };
    const Case cases[] = {{"", 0, 0},          {"1", 0x10, 0x00},    {"12", 0x12, 0x00},
                          {"123", 0x12, 0x30}, {"abcd", 0xAB, 0xCD}, {"12345", 0x12, 0x34},
                          {"zz0A", 0x00, 0x0A}};
    for (const Case& c : cases) {
        uint8_t h = 0xEE, l = 0xEE;
        TextToCode(c.text, h, l);
        EXPECT_EQ(h, c.high) << c.text;
        EXPECT_EQ(l, c.low) << c.text;
    }
    EXPECT_EQ(CodeToText(0, 0), "");
    EXPECT_EQ(CodeToText(0x00, 0x0A), "000A");
    EXPECT_EQ(CodeToText(0xAB, 0xCD), "ABCD");
    EXPECT_EQ(ByteToHex(0x0F), "0F");
    EXPECT_EQ(HexDigitValue('f'), 15);
    EXPECT_EQ(HexDigitValue('G'), 0);
}

TEST(Image, GenerationFromFirmwareVersion) {
    EXPECT_EQ(ImageGeneration(0x2F), 2);
    EXPECT_EQ(ImageGeneration(0x20), 2);
    EXPECT_EQ(ImageGeneration(0x30), 1);
    EXPECT_EQ(ImageGeneration(0x10), 1);
    EXPECT_EQ(ImageGeneration(0x1F), 1);
}

TEST(Image, BlockTextAndStoreStayInsideTheImage) {
    ConfigImage image;
    const uint8_t values[] = {0x09, 0x13, 0x01};
    StoreBlock(image, 0x27, 3, values, MarkToDevice);
    EXPECT_EQ(BuildBlockText(image, 3, 0x27), "0327091301");
    EXPECT_TRUE(FieldPresent(image, 0x27, 3, MarkToDevice));
    EXPECT_FALSE(FieldPresent(image, 0x26, 2, MarkToDevice));

    // A block that would run past 0xFF (or start before 0) writes only the cells that exist.
    const uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    StoreBlock(image, 0xFC, 8, eight, MarkFromDevice);
    EXPECT_EQ(image.cells[0xFF].value, 4);
    StoreBlock(image, -2, 4, eight, MarkFromDevice);
    EXPECT_EQ(image.cells[0x00].value, 3);
    EXPECT_EQ(image.cells[0x01].value, 4);
    // Building a block text reads only cells of the image as well.
    EXPECT_EQ(BuildBlockText(image, 4, 0xFE), "04FE0304");
    EXPECT_EQ(BuildBlockText(image, 4, -2), "04FE0304");
}

TEST(Image, FillExtractAndClear) {
    ImageBytes bytes;
    for (int a = 0; a < kImageSize; ++a) bytes[a] = static_cast<uint8_t>(255 - a);
    ConfigImage image;
    FillFileImage(image, bytes, MarkFromFile);
    EXPECT_EQ(ExtractImageBytes(image), bytes);
    EXPECT_TRUE(FieldPresent(image, 0, 256, MarkFromFile));
    ClearImage(image);
    EXPECT_EQ(image.cells[0x10].value, 0);
    EXPECT_EQ(image.cells[0x10].mark, MarkNone);
}

TEST(Image, ReadAndWritePlans) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ReadPlan(1), (V{"0622", "0828", "0830", "0840", "0848", "0238"}));
    EXPECT_EQ(ReadPlan(2), (V{"0622", "0828", "0830", "0840", "0848", "0738", "0850", "0858"}));
    const auto w2 = WritePlan(2, true);
    ASSERT_EQ(w2.size(), 9u);
    EXPECT_EQ(w2.back().start, 0x20);
    EXPECT_EQ(WritePlan(1, false).size(), 5u);
    EXPECT_EQ(WritePlan(3, false).size(), 5u);
}
