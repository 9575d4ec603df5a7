#include "config/numbers.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "config/prewrite.h"

namespace {

// Sets the default locale for one test and restores the previous one.
class LocaleScope {
  public:
    explicit LocaleScope(QLocale::Language language, QLocale::Territory territory)
        : saved_(QLocale()) {
        QLocale::setDefault(QLocale(language, territory));
    }
    ~LocaleScope() { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

}  // namespace

TEST(Numbers, WholeNumbersAreDecimalOnly) {
    struct Case {
        const char* text;
        int32_t value;
        uint8_t byte;
    };
    const Case cases[] = {
        {"0", 0, 0},
        {"255", 255, 255},
        {"256", 256, 0},
        {"300", 300, 44},
        {"007", 7, 7},
        {"", 0, 0},
        {"abc", 0, 0},
        {"1.5", 0, 0},
        {"1,5", 0, 0},
        {" 1", 0, 0},
        {"1 ", 0, 0},
        {"$10", 0, 0},
        {"0x10", 0, 0},
        {"-1", -1, 255},
        {"+", 0, 0},
        {"2147483647", 2147483647, 255},
        {"2147483648", 0, 0},
        {"-2147483648", -2147483647 - 1, 0},
        {"99999999999999999999", 0, 0},
        {"\u0661", 0, 0},  // an Arabic-Indic digit is no decimal digit here
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(WholeNumberOrZero(text), c.value) << c.text;
        EXPECT_EQ(WholeNumberByte(text), c.byte) << c.text;
    }
}

TEST(Numbers, TenthsFollowTheCurrentSeparator) {
    struct Case {
        const char* text;
        int tenths;  // -1: no number, the fallback 99 is stored
    };
    // The same texts read under a comma and under a point separator.
    struct LocaleCases {
        QLocale::Language language;
        QLocale::Territory territory;
        std::vector<Case> cases;
    };
    const LocaleCases all[] = {
        {QLocale::German,
         QLocale::Germany,
         {{"0,3", 3},
          {"2,55", 25},
          {"0,05", 0},
          {"2,5", 25},
          {"25,5", 255},
          {"25,6", 0},  // 256 tenths: low 8 bits
          {"0,1", 1},
          {",5", 5},
          {"2,", 20},
          {"12", 120},
          {"2.5", -1},  // not 25: the point is no separator here
          {"1.000", -1},
          {",", -1},
          {"", -1},
          {"?.?", -1},
          {"2,5,", -1},
          {"-0,5", 251}}},
        {QLocale::English,
         QLocale::UnitedStates,
         {{"0.3", 3}, {"2.55", 25}, {"2.5", 25}, {"2,5", -1}, {"1,000", -1}, {".", -1}}},
    };
    for (const LocaleCases& lc : all) {
        LocaleScope scope(lc.language, lc.territory);
        for (const Case& c : lc.cases) {
            const uint8_t expected = c.tenths < 0 ? 99 : static_cast<uint8_t>(c.tenths);
            EXPECT_EQ(TenthsByte(QString::fromUtf8(c.text), 99), expected)
                << c.text << " in " << QLocale().name().toStdString();
            EXPECT_EQ(ParseDecimal(QString::fromUtf8(c.text)).has_value(), c.tenths >= 0) << c.text;
        }
    }
}

TEST(Numbers, DecimalValueIsSinglePrecision) {
    LocaleScope scope(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ParseDecimal("0,1"), 0.1f);
    EXPECT_EQ(ParseDecimal("25,5"), 25.5f);
    EXPECT_FALSE(ParseDecimal("2.5").has_value());
}

TEST(Numbers, FormattingUsesOneDecimalAndTheCurrentSeparator) {
    {
        LocaleScope scope(QLocale::German, QLocale::Germany);
        EXPECT_EQ(DecimalSeparator(), QChar(','));
        EXPECT_EQ(FormatTenths(25), "2,5");
        EXPECT_EQ(FormatTenths(0), "0,0");
        EXPECT_EQ(FormatTenths(255), "25,5");
        EXPECT_EQ(FormatOneDecimal(0.5), "0,5");
        EXPECT_EQ(FormatOneDecimal(2.0), "2,0");
        EXPECT_EQ(FormatOneDecimal(0.25), "0,3");  // half away from zero
    }
    {
        LocaleScope scope(QLocale::English, QLocale::UnitedKingdom);
        EXPECT_EQ(FormatTenths(25), "2.5");
        EXPECT_EQ(FormatOneDecimal(25.5), "25.5");
    }
}

TEST(PreWriteChecks, ForbiddenNewRadioCodes) {
    for (const char* bad : {"0", "00", "000", "0000", "FFFF", "ffff", "fFfF"})
        EXPECT_TRUE(IsForbiddenNewRadioCode(bad)) << bad;
    for (const char* good : {"", "0001", "1", "FFFE", "FFF", "F", "00000"})
        EXPECT_FALSE(IsForbiddenNewRadioCode(good)) << good;
}

namespace {
void PutCode(ConfigImage& image, int address, uint16_t code) {
    image.cells[address].value = code >> 8;
    image.cells[address + 1].value = code & 0xFF;
}
}  // namespace

TEST(PreWriteChecks, CodeInBothGroups) {
    struct Case {
        int continuousIndex;
        uint16_t continuousCode;
        int restrictedIndex;
        uint16_t restrictedCode;
        bool expected;
    };
    const Case cases[] = {
        {2, 0xFFFF, 4, 0xFFFF, true},  // same code, other positions
        {0, 0x1234, 7, 0x1234, true},  // first and last positions
        {7, 0x00AB, 0, 0x00AB, true},
        {0, 0x0000, 0, 0x0000, false},  // the empty code counts as no code
        {0, 0x1234, 0, 0x1235, false},  // same high byte only
        {0, 0x1234, 0, 0x3412, false},  // bytes swapped
        {3, 0x0001, 3, 0x0100, false},
    };
    for (const Case& c : cases) {
        ConfigImage image;
        PutCode(image, Addr::DoorCodes + 2 * c.continuousIndex, c.continuousCode);
        PutCode(image, Addr::DoorCodesRestricted + 2 * c.restrictedIndex, c.restrictedCode);
        EXPECT_EQ(HasCodeInBothGroups(image), c.expected)
            << std::hex << c.continuousCode << " / " << c.restrictedCode;
    }
    // A code repeated within one group is not looked for.
    ConfigImage image;
    PutCode(image, Addr::DoorCodes, 0x1111);
    PutCode(image, Addr::DoorCodes + 2, 0x1111);
    EXPECT_FALSE(HasCodeInBothGroups(image));
}

TEST(PreWriteChecks, ZoneInBothGroups) {
    struct Case {
        uint8_t high, low, highR, lowR;
        bool expected;
    };
    const Case cases[] = {
        {0x00, 0x10, 0x00, 0x10, true},   // zone 4 in both
        {0x80, 0x00, 0x80, 0x00, true},   // zone F in both
        {0x00, 0x10, 0x10, 0x00, false},  // zone 4 continuous, zone C restricted
        {0xFF, 0x00, 0x00, 0xFF, false},  // high and low bitmaps are not mixed up
        {0x0F, 0xF0, 0xF0, 0x0F, false},
    };
    for (const Case& c : cases) {
        ConfigImage image;
        image.cells[Addr::ZonesHigh].value = c.high;
        image.cells[Addr::ZonesLow].value = c.low;
        image.cells[Addr::ZonesHighRestricted].value = c.highR;
        image.cells[Addr::ZonesLowRestricted].value = c.lowR;
        EXPECT_EQ(HasZoneInBothGroups(image), c.expected);
    }
}
