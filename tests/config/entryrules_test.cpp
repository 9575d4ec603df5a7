// The entry rules on the settings model, as decoding and the user's edits set them off.

#include "view_fixture.h"

using EntryRules = ModelTest;

namespace {
// A box clicked: its tick turns over.
void Click(SettingsModel& model, Field box) {
    model.SetTicked(box, !model.Ticked(box));
}
}  // namespace

// Programmatic changes (as decoding makes them) run the same rules; a replacement sets off the
// rule once more, which then passes.
TEST_F(EntryRules, ChangesSetInCodeRunTheRules) {
    struct Case {
        Field field;
        const char* set;
        const char* text;
        QList<int> messages;
    };
    const Case cases[] = {
        {Field::shortTransmissions, "15", "15", {}},
        {Field::shortTransmissions, "16", "15", {10854}},
        {Field::batteryAlarmIntervalHours, "abc", "abc", {}},
        {Field::batteryAlarmIntervalHours, "-5", "-5", {}},
        {Field::activationDelaySeconds, "25", "25", {}},
        {Field::activationDelaySeconds, "abc", "abc", {}},
        {Field::activationDelaySeconds, "25,1", "25", {10859}},
        {Field::pressTimeSeconds, "?.?", "2,0", {10860}},
        {Field::pressTimeSeconds, "2.5", "2,0", {10860}},
        {Field::pressTimeSeconds, "0,0", "0,0", {}},
        {Field::radioCode, "FFFF", "FFFF", {}},  // filled by the program only
        {DoorCode(8, true), "FFFF", "FFFF", {10818}},
        {DoorCode(1, false), "000", "000", {}},
        {DoorCode(1, false), "FFFE", "FFFE", {}},
        // Cut to the edit's maximum length before the rule looks at it.
        {Field::shortTransmissions, "160", "15", {10854}},
        {DoorCode(2, false), "ffff0", "ffff", {10818}},
        {Field::acknowledgedAlarmCount, "1234567", "1234567", {}},  // no limit of its own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.field) + " := " + c.set);
        model->SetText(c.field, "");
        prompts.Clear();
        model->SetText(c.field, c.set);
        EXPECT_EQ(Text(c.field), c.text);
        EXPECT_EQ(prompts.MessageIds(), c.messages);
    }
    // A rule runs only when the text changes: the same text again shows nothing.
    model->SetText(DoorCode(8, true), "FFFF");
    EXPECT_EQ(prompts.MessageIds(), QList<int>{});
}

TEST_F(EntryRules, LeavingThePressTimeChecksBothBounds) {
    const std::tuple<const char*, const char*, QList<int>> cases[] = {
        {"0,2", "0,5", {10860}}, {"0", "0,5", {10860}}, {",", "2,0", {10860}},  {"0,5", "0,5", {}},
        {"25,5", "25,5", {}},    {"", "", {}},          {"-1", "0,5", {10860}},
    };
    for (const auto& [text, after, messages] : cases) {
        // The text as it stands when the user leaves, without the change rule's corrections.
        model->StoreText(Field::pressTimeSeconds, text);
        prompts.Clear();
        model->LeavePressTimeEdit();
        EXPECT_EQ(Text(Field::pressTimeSeconds), after) << text;
        EXPECT_EQ(prompts.MessageIds(), messages) << text;
    }
}

TEST_F(EntryRules, ZoneBelongsToOneGroupAtMost) {
    for (int zone = 0; zone < 16; ++zone) {
        const Field continuous = Zone(zone, false);
        const Field restricted = Zone(zone, true);
        model->SetTicked(continuous, true);
        model->SetTicked(restricted, false);
        Click(*model, restricted);  // ticking the restricted box unticks the continuous one
        EXPECT_TRUE(Ticked(restricted)) << zone;
        EXPECT_FALSE(Ticked(continuous)) << zone;
        Click(*model, continuous);
        EXPECT_TRUE(Ticked(continuous)) << zone;
        EXPECT_FALSE(Ticked(restricted)) << zone;
        // Unticking changes nothing else.
        Click(*model, continuous);
        EXPECT_FALSE(Ticked(continuous)) << zone;
        EXPECT_FALSE(Ticked(restricted)) << zone;
        // Other zones are not touched.
        const int other = (zone + 1) % 16;
        model->SetTicked(Zone(other, true), true);
        Click(*model, continuous);
        EXPECT_TRUE(Ticked(Zone(other, true))) << zone;
        model->SetTicked(Zone(other, true), false);
        model->SetTicked(continuous, false);
    }
}

TEST_F(EntryRules, RadioTestAlarmBoxEnablesItsSettings) {
    ShowFile(Generation2Bytes());  // radio test alarm active
    const Field dependent[] = {Field::radioTestAlarmIntervalHours,
                               Field::radioTestAlarmWithButtonCounter,
                               Field::missedAcksBeforePowerSaving};
    Click(*model, Field::radioTestAlarmActive);
    for (Field f : dependent) EXPECT_FALSE(model->Enabled(f)) << Name(f);
    // The values stay and are still saved.
    EXPECT_EQ(Text(Field::missedAcksBeforePowerSaving), "19");
    const ImageBytes saved = SaveFile();
    EXPECT_EQ(saved[0x27], 9);
    EXPECT_EQ(saved[0x28], 19);
    EXPECT_EQ(saved[0x29], 0);
    EXPECT_EQ(saved[0x2D] & 0x40, 0x40);
    Click(*model, Field::radioTestAlarmActive);
    for (Field f : dependent) EXPECT_TRUE(model->Enabled(f)) << Name(f);
}

TEST_F(EntryRules, RfidBoxEnablesTheRfidPageWhateverTheGeneration) {
    ImageBytes v1 = Generation2Bytes();
    v1[0x2F] = 0x12;
    ShowFile(v1);
    ASSERT_FALSE(model->Enabled(DoorCode(1, true)));
    std::vector<Field> rfid = {Field::rfidInactivitySeconds,
                               Field::radioInactivitySeconds,
                               Field::extendedMessages,
                               Field::doorAlarmInsteadOfPosition,
                               Field::personnelDevice,
                               Field::retransmitOnReentry,
                               Field::outOfFieldSecondsBeforeRetransmit};
    for (const bool restricted : {false, true}) {
        for (int k = 1; k <= 8; ++k) rfid.push_back(DoorCode(k, restricted));
        for (int z = 0; z < 16; ++z) rfid.push_back(Zone(z, restricted));
    }

    // Every other field keeps its enabling.
    QList<QPair<Field, bool>> others;
    for (int i = 0; i < kFieldCount; ++i)
        if (std::find(rfid.begin(), rfid.end(), Field(i)) == rfid.end())
            others.append({Field(i), model->Enabled(Field(i))});

    Click(*model, Field::rfidActive);  // untick
    for (Field f : rfid) EXPECT_FALSE(model->Enabled(f)) << Name(f);
    Click(*model, Field::rfidActive);  // tick
    for (Field f : rfid) EXPECT_TRUE(model->Enabled(f)) << Name(f);
    for (const auto& [f, enabled] : others) EXPECT_EQ(model->Enabled(f), enabled) << Name(f);
}
