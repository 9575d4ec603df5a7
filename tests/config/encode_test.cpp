#include <set>

#include "config/prewrite.h"
#include "view_fixture.h"

using Encode = ModelTest;

TEST_F(Encode, RadioCodeComesFromTheNewCodeOnlyForADevice) {
    ShowFile(Generation2Bytes());
    model->SetText(Field::newRadioCode, "beef");
    ConfigImage image;
    model->EncodeConfigImage(image, MarkToDevice);
    EXPECT_EQ(image.cells[0x20].value, 0xBE);
    EXPECT_EQ(image.cells[0x21].value, 0xEF);
    model->EncodeConfigImage(image, MarkToFile);
    EXPECT_EQ(image.cells[0x20].value, 0x12);
    EXPECT_EQ(image.cells[0x21].value, 0x34);
    model->SetText(Field::newRadioCode, "");
    model->EncodeConfigImage(image, MarkToDevice);
    EXPECT_EQ(image.cells[0x20].value, 0x00);
    EXPECT_EQ(image.cells[0x21].value, 0x00);
}

// Texts that the user typed, pasted or that decoding left, and the bytes they give.
TEST_F(Encode, TextsAndTheirBytes) {
    struct Case {
        std::vector<std::pair<Field, const char*>> texts;
        std::vector<std::pair<int, int>> cells;  // value -1: the loaded byte stays
    };
    using T = Field;
    const Case cases[] = {
        {{{T::shortTransmissions, "15"}, {T::longTransmissions, "15"}}, {{0x33, 0xFF}}},
        {{{T::shortTransmissions, "2"}, {T::longTransmissions, ""}}, {{0x33, 0x20}}},
        {{{T::shortTransmissions, "?"}, {T::longTransmissions, "?"}}, {{0x33, 0x00}}},
        {{{T::batteryAlarmIntervalHours, "abc"}}, {{0x2C, 0}}},  // pasted: no number
        {{{T::acknowledgedAlarmCount, "?"}, {T::transmissionCount, "---"}},
         {{0x2A, 0}, {0x2B, 0}, {0x38, 0}, {0x39, 0}}},
        {{{T::acknowledgedAlarmCount, "65535"}, {T::transmissionCount, "256"}},
         {{0x2A, 0xFF}, {0x2B, 0xFF}, {0x38, 0x01}, {0x39, 0x00}}},
        // Cut toward zero, then the low 8 bits of each part.
        {{{T::acknowledgedAlarmCount, "-1"}, {T::transmissionCount, "70000"}},
         {{0x2A, 0x00}, {0x2B, 0xFF}, {0x38, 0x11}, {0x39, 0x70}}},
        {{{T::pressTimeSeconds, ""}}, {{0x3C, 5}}},
        {{{T::pressTimeSeconds, "0,3"}, {T::activationDelaySeconds, "2,55"}},
         {{0x3C, 3}, {0x36, 25}}},
        {{{T::activationDelaySeconds, ""}}, {{0x36, 0}}},
        {{{T::activationDelaySeconds, "x"}}, {{0x36, 0}}},
        {{{T::firmwareVersion, "?.?"}, {T::firmwareType, "unknown"}}, {{0x2F, -1}, {0x2E, -1}}},
        {{{T::firmwareVersion, "3.a"}}, {{0x2F, 0x3A}}},
        {{{T::firmwareVersion, "2.10"}, {T::productionDate, "14052"}},
         {{0x2F, -1}, {0x22, -1}, {0x23, -1}, {0x24, -1}}},
        {{{T::productionDate, "YYMMDD"}}, {{0x22, 0x00}, {0x23, 0x00}, {0x24, 0xDD}}},
        {{{T::productionDate, "991231"}}, {{0x22, 0x99}, {0x23, 0x12}, {0x24, 0x31}}},
        {{{T::outOfFieldSecondsBeforeRetransmit, ""}}, {{0x3A, 0}}},
        {{{T::userAlarmBlockMinutes, "7"},
          {T::rfidInactivitySeconds, "0"},
          {T::radioInactivitySeconds, "255"}},
         {{0x32, 7}, {0x34, 0}, {0x35, 255}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const ImageBytes loaded = Generation2Bytes();
        ShowFile(loaded);
        for (const auto& [field, text] : cases[i].texts)
            model->SetText(field, QString::fromUtf8(text));
        const ImageBytes saved = SaveFile();
        for (const auto& [address, value] : cases[i].cells)
            EXPECT_EQ(saved[address], value < 0 ? loaded[address] : value) << std::hex << address;
    }
}

TEST_F(Encode, CodesAreReadAsHexadecimalDigits) {
    const std::pair<const char*, uint16_t> cases[] = {
        {"abcd", 0xABCD}, {"1", 0x1000}, {"123", 0x1230},
        {"0000", 0x0000}, {"", 0x0000},  {"?", 0x0000},
    };
    ShowFile(Generation2Bytes());
    for (const auto& [text, code] : cases) {
        model->SetText(DoorCode(6, false), text);
        model->SetText(DoorCode(7, true), text);
        const ImageBytes saved = SaveFile();
        EXPECT_EQ(saved[0x4A] * 256 + saved[0x4B], code) << text;
        EXPECT_EQ(saved[0x5C] * 256 + saved[0x5D], code) << text;
    }
}

// Only the cells of the settings view are written, each with the mark; a placeholder of the
// product information leaves its cells (value and mark) as loaded.
TEST_F(Encode, WritesOnlyTheCellsOfTheView) {
    ShowFile(Generation2Bytes());
    model->SetText(Field::firmwareVersion, "?.?");
    model->SetText(Field::productionDate, "?");
    model->SetText(Field::firmwareType, "unknown");
    const ConfigImage before = fileImage;
    model->EncodeConfigImage(fileImage, MarkToDevice);

    std::set<int> written = {0x20, 0x21, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x30, 0x31, 0x32,
                             0x33, 0x34, 0x35, 0x36, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E};
    for (int a = 0x40; a <= 0x5F; ++a) written.insert(a);
    for (int a = 0; a < kImageSize; ++a) {
        const ImageCell& cell = fileImage.cells[a];
        if (written.count(a)) {
            EXPECT_EQ(cell.mark, MarkToDevice) << std::hex << a;
        } else {
            EXPECT_EQ(cell.mark, before.cells[a].mark) << std::hex << a;
            EXPECT_EQ(cell.value, before.cells[a].value) << std::hex << a;
        }
    }
}

TEST_F(Encode, Generation2SettingsInUse) {
    using Setup = std::function<void(SettingsModel&)>;
    const std::pair<const char*, Setup> uses[] = {
        {"long press", [](SettingsModel& w) { w.SetTicked(Field::longPressActive, true); }},
        {"double press", [](SettingsModel& w) { w.SetTicked(Field::doublePressActive, true); }},
        {"triple press", [](SettingsModel& w) { w.SetTicked(Field::triplePressActive, true); }},
        {"restricted code 8", [](SettingsModel& w) { w.SetText(DoorCode(8, true), "1"); }},
        {"restricted zone 9", [](SettingsModel& w) { w.SetTicked(Zone(9, true), true); }},
    };
    const std::pair<const char*, Setup> others[] = {
        {"nothing", [](SettingsModel&) {}},
        {"re-entering", [](SettingsModel& w) { w.SetTicked(Field::retransmitOnReentry, true); }},
        {"out-of-field time",
         [](SettingsModel& w) { w.SetText(Field::outOfFieldSecondsBeforeRetransmit, "10"); }},
        {"press time", [](SettingsModel& w) { w.SetText(Field::pressTimeSeconds, "2,5"); }},
    };
    ImageBytes v1 = Generation2Bytes();
    v1[0x2F] = 0x13;
    for (const auto& [what, setup] : others) {
        ShowFile(v1);
        setup(*model);
        EXPECT_FALSE(model->UsesGeneration2Settings()) << what;
    }
    for (const auto& [what, setup] : uses) {
        ShowFile(v1);
        setup(*model);
        EXPECT_TRUE(model->UsesGeneration2Settings()) << what;
    }
}

TEST_F(Encode, PressTimeMustExceedTheDelayTimesTheHighestPress) {
    struct Case {
        const char* delay;
        const char* press;
        int highestPress;  // 0 none, 1 long, 2 double, 3 triple
        bool pressEnabled;
        bool fits;
    };
    const Case cases[] = {
        {"1,2", "2,5", 1, true, true},   // 2,4 < 2,5
        {"1,3", "2,5", 1, true, false},  // 2,6
        {"1,25", "2,5", 1, true, false},
        {"0,1", "0,4", 3, true, false},  // equal is too short
        {"0,1", "0,5", 3, true, true},
        {"0,1", "0,3", 2, true, false},  // 0,1 x 3 is 0,3 in single precision too
        {"0,1", "0,4", 2, true, true},
        {"1,0", "2,5", 3, true, false},
        {"2,4", "2,5", 0, true, true},
        {"2,5", "2,5", 0, true, false},
        {"25", "25,5", 0, true, true},
        {"x", "2,5", 0, true, false},  // a delay that is no number
        {"x", "2,5", 0, false, false},
        {"1,0", "0,5", 3, false, true},  // no press functions on a disabled press time
        {"", "0,5", 3, true, true},      // empty delay: 0 is what the device gets
        {"0,1", "", 0, true, true},      // empty press time: the device gets 0,5
        {"0,5", "", 0, true, false},
    };
    ShowFile(Generation2Bytes());
    const Field press[] = {Field::longPressActive, Field::doublePressActive,
                           Field::triplePressActive};
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) model->SetTicked(press[i], i + 1 == c.highestPress);
        model->SetText(Field::activationDelaySeconds, c.delay);
        model->SetText(Field::pressTimeSeconds, c.press);
        model->SetEnabled(Field::pressTimeSeconds, c.pressEnabled);
        EXPECT_EQ(model->PressTimeFitsDelay(), c.fits) << c.delay << " / " << c.press;
    }
    // Lower press functions do not matter beside the highest.
    model->SetTicked(press[0], true);
    model->SetTicked(press[2], true);
    model->SetText(Field::activationDelaySeconds, "0,6");
    model->SetText(Field::pressTimeSeconds, "2,5");
    model->SetEnabled(Field::pressTimeSeconds, true);
    EXPECT_TRUE(model->PressTimeFitsDelay());  // 2,4 < 2,5
    EXPECT_TRUE(prompts.records.isEmpty());
}

class EncodeEnglish : public ModelTest {
  protected:
    EncodeEnglish() : ModelTest(QLocale(QLocale::English, QLocale::UnitedStates)) {}
};

TEST_F(EncodeEnglish, DecimalPointLocale) {
    ShowFile(Generation2Bytes());
    EXPECT_EQ(Text(Field::pressTimeSeconds), "2.5");
    EXPECT_EQ(Text(Field::activationDelaySeconds), "1.2");
    model->SetTicked(Field::longPressActive, true);
    model->SetTicked(Field::doublePressActive, false);
    model->SetTicked(Field::triplePressActive, false);
    EXPECT_TRUE(model->PressTimeFitsDelay());
    model->SetText(Field::activationDelaySeconds, "1,3");  // no number under a point separator
    EXPECT_FALSE(model->PressTimeFitsDelay());
    EXPECT_EQ(SaveFile()[0x36], 0);
}

// The click rules keep the settings from holding a zone in both groups; should they ever hold
// one, the write's checks still refuse it before anything reaches the LPX.
TEST_F(Encode, WriteChecksRefuseAZoneInBothGroups) {
    ShowFile(Generation2Bytes());
    ConfigImage writeImage;
    EXPECT_EQ(CheckSettingsBeforeWrite(*model, writeImage), 0);
    model->StoreTicked(Zone(4, false), true);
    model->StoreTicked(Zone(4, true), true);
    EXPECT_EQ(CheckSettingsBeforeWrite(*model, writeImage), 10876);
    EXPECT_EQ(writeImage.cells[0x31].mark, MarkToDevice);
}

// The view counts as edited by its file bytes: what a save would not store never counts, and a
// value typed back to the original clears the mark.
TEST_F(Encode, EditedStateFollowsTheFileBytes) {
    FillFileImage(fileImage, Generation2Bytes(), MarkFromFile);
    model->ShowFileImage(fileImage, true);
    std::vector<bool> flips;
    model->SetDirtyObserver([&](bool dirty) { flips.push_back(dirty); });
    EXPECT_FALSE(model->IsDirty());
    model->SetText(Field::newRadioCode, "BEEF");  // a device write's code, not the file's
    EXPECT_FALSE(model->IsDirty());
    const QString before = model->Text(Field::batteryAlarmIntervalHours);
    model->SetText(Field::batteryAlarmIntervalHours, "7");
    model->SetText(Field::batteryAlarmIntervalHours, "07");
    EXPECT_TRUE(model->IsDirty());
    model->SetText(Field::batteryAlarmIntervalHours, before);
    EXPECT_FALSE(model->IsDirty());
    model->SetTicked(Field::doorAlarmInsteadOfPosition,
                     !model->Ticked(Field::doorAlarmInsteadOfPosition));
    model->MarkClean();  // saved
    EXPECT_FALSE(model->IsDirty());
    EXPECT_EQ(flips, (std::vector<bool>{true, false, true, false}));
}
