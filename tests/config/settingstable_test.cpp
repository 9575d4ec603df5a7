// The settings table is where a new setting goes in; these checks catch the slips that would
// otherwise corrupt a neighbour's bits or leave a setting without a row.

#include "config/settingstable.h"

#include <gtest/gtest.h>

#include <QSet>
#include <array>

#include "config/image.h"

namespace {

// The bits of its cells that a setting holds.
uint8_t BitsOf(const SettingRow& setting) {
    switch (setting.cells.held) {
        case Held::Bit:
            return uint8_t(1u << setting.cells.bit);
        case Held::HighNibble:
            return 0xF0;
        case Held::LowNibble:
            return 0x0F;
        default:
            return 0xFF;
    }
}

TEST(SettingsTable, EveryFieldHasOneRowAndNoTwoSettingsShareABit) {
    std::array<int, kFieldCount> rows{};
    std::array<uint8_t, kImageSize> taken{};
    QSet<QString> names, controls;
    for (const SettingRow& setting : Settings()) {
        ++rows[int(setting.field)];
        EXPECT_FALSE(names.contains(setting.name)) << setting.name.toStdString();
        EXPECT_FALSE(controls.contains(setting.control)) << setting.control.toStdString();
        names << setting.name;
        controls << setting.control;
        // The two radio codes are one cell pair: a file keeps the old, a write sends the new.
        if (setting.cells.held == Held::RadioCode) continue;
        for (int a = setting.cells.address; a < setting.cells.address + setting.cellCount(); ++a) {
            ASSERT_TRUE(a >= 0 && a < kImageSize) << setting.name.toStdString();
            EXPECT_EQ(taken[a] & BitsOf(setting), 0) << setting.name.toStdString() << " at " << a;
            taken[a] |= BitsOf(setting);
        }
    }
    for (int i = 0; i < kFieldCount; ++i) EXPECT_EQ(rows[i], 1) << "field " << i;
}

}  // namespace
