// Writing a device against the simulated LPX.

#include <optional>
#include <utility>

#include "pressing_host.h"

namespace {

class WriteJobTest : public CoreJobsTest {
  protected:
    // A device whose settings pass the checks of both generations, shown in the settings.
    int ShownDevice(uint16_t code, uint8_t firmwareVersion) {
        const int device = sim.AddDevice(code, firmwareVersion);
        ShowDeviceSettings(sim, device, settings);
        prompts.Clear();
        return device;
    }
    // The write's commands after the identification, each cut to its first n characters.
    Commands WriteCommands(size_t n = 5) const {
        const Commands& log = sim.Log();
        Commands heads;
        for (size_t i = Identification().size(); i < log.size(); ++i)
            heads.push_back(log[i].substr(0, n));
        return heads;
    }
};

TEST_F(WriteJobTest, GenerationOneGetsTheCommonBlocks) {
    const int device = ShownDevice(0x4C2D, 0x1A);
    settings.SetText(Field::batteryAlarmIntervalHours, "42");
    host.Write();
    EXPECT_EQ(WriteCommands(),
              (Commands{"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "N", "n"}));
    // The first block carries the three values of 0x27-0x29.
    EXPECT_EQ(sim.Log()[Identification().size() + 1].size(), 1u + 4 + 6);
    EXPECT_EQ(sim.Device(device).memory[0x2C], 42);
    EXPECT_EQ(host.status, Text(Msg::WriteDone));
    EXPECT_EQ(host.title, Text(10601));
    EXPECT_EQ(host.instruction, Text(10602));
    EXPECT_EQ(host.steps, 2);
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

TEST_F(WriteJobTest, ConfirmedCodeChangeTravelsAsTheLastBlock) {
    const int device = ShownDevice(0x4C2D, 0x21);
    settings.SetText(Field::newRadioCode, "1A2B");
    prompts.answers = {BoxAnswer::Yes};
    host.Write();
    ASSERT_EQ(prompts.MessageIds(), QList<int>{10871});
    EXPECT_EQ(prompts.records[0].text, FillText(10871, {"4C2D", "1A2B"}));
    EXPECT_EQ(prompts.records[0].buttons, BoxButtons::YesNoAbort);
    const Commands heads = WriteCommands();
    ASSERT_EQ(heads.size(), 13u);
    EXPECT_EQ(Commands(heads.begin() + 6, heads.end()),
              (Commands{"n053A", "n0850", "n0858", "n0220", "i4C2D", "N", "n"}));
    EXPECT_EQ(sim.Log()[Identification().size() + 9], "n02201A2B");
    EXPECT_EQ(sim.Device(device).RadioCode(), 0x1A2B);
    // The code fields stay as they were.
    EXPECT_EQ(settings.Text(Field::radioCode), "4C2D");
    EXPECT_EQ(settings.Text(Field::newRadioCode), "1A2B");
}

struct ConfirmationCase {
    const char* newCode;
    QList<BoxAnswer> answers;
    bool asked;
    Commands expected;  // after the identification, first five characters
};

TEST_F(WriteJobTest, CodeChangeConfirmation) {
    const Commands common = {"n", "n0327", "n022C", "n0730", "n0840", "n0848"};
    const Commands withoutCode = Join(common, {"i4C2D", "N", "n"});
    const ConfirmationCase cases[] = {
        {"1A2B", {BoxAnswer::No}, true, withoutCode},
        {"1A2B", {BoxAnswer::Closed}, true, withoutCode},
        {"1A2B", {BoxAnswer::Abort}, true, {}},
        {"4C2D", {}, false, withoutCode},
        {"4c2d", {BoxAnswer::Yes}, true, Join(common, {"n0220", "i4C2D", "N", "n"})},
    };
    ShownDevice(0x4C2D, 0x1A);
    for (const ConfirmationCase& c : cases) {
        SCOPED_TRACE(c.newCode);
        sim.ClearLog();
        prompts.Clear();
        settings.SetText(Field::newRadioCode, c.newCode);
        prompts.answers = c.answers;
        host.Write();
        EXPECT_EQ(prompts.MessageIds().contains(10871), c.asked);
        EXPECT_EQ(WriteCommands(), c.expected);
        sim.Device(0).memory[0x20] = 0x4C;  // the confirmed lower-case change wrote 4C2D again
        sim.Device(0).memory[0x21] = 0x2D;
    }
}

// Checks that fail before the LPX is contacted cost no button press.
TEST_F(WriteJobTest, SettingsChecksBeforeTheLpx) {
    const struct {
        const char* newCode;
        bool sameDoorCodeTwice;  // in the continuous and the restricted list
        int message;
    } cases[] = {
        {"ffff", false, 10818},
        {"000", false, 10818},
        {"12", false, 10629},
        {"", true, 10875},
    };
    ShownDevice(0x4C2D, 0x21);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ShowDevice(0);
        settings.SetText(Field::newRadioCode, c.newCode);
        if (c.sameDoorCodeTwice) {
            settings.SetText(DoorCode(3, false), "FFFF");
            settings.SetText(DoorCode(5, true), "ffff");
        }
        prompts.Clear();  // the entry rules may have warned already
        host.Write();
        EXPECT_EQ(prompts.MessageIds(), QList<int>{c.message});
        EXPECT_TRUE(sim.Log().empty());
        EXPECT_EQ(driver.OpenCount(), 0);
    }
}

TEST_F(WriteJobTest, PressTimeTooShortForGenerationTwoEndsAfterIdentification) {
    const int device = sim.AddDevice(0x4C2D, 0x21);  // delay 0.5 s, triple press
    sim.Device(device).memory[0x3C] = 20;            // press time 2.0 s: not above 4 x 0.5 s
    ShowDevice(device);
    host.Write();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10877});
    EXPECT_EQ(sim.Log(), Identification());
}

TEST_F(WriteJobTest, GenerationTwoSettingsForGenerationOneWarnAndGoOn) {
    ShownDevice(0x4C2D, 0x1A);
    settings.SetText(DoorCode(1, true), "ABCD");
    host.Write();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10874});
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Information);
    EXPECT_EQ(WriteCommands(),
              (Commands{"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "N", "n"}));
    EXPECT_EQ(host.status, Text(Msg::WriteDone));
}

TEST_F(WriteJobTest, OutcomesOfTheWait) {
    ShownDevice(0x4C2D, 0x1A);
    const struct {
        std::optional<SimFault> fault;  // none: the user aborts
        QList<int> messages;
        int statusText;
    } cases[] = {
        {SimFault::JobFails, {10603}, 0},
        {SimFault::JobTimesOut, {10873}, 0},
        {std::nullopt, {}, 10604},
    };
    for (const auto& c : cases) {
        prompts.Clear();
        sim.ClearLog();
        Press(0);
        if (c.fault) {
            PressInto(*c.fault);
        } else {
            Abort();
        }
        host.Write();
        EXPECT_EQ(prompts.MessageIds(), c.messages);
        EXPECT_EQ(host.status, c.statusText ? Text(c.statusText) : QString());
        EXPECT_EQ(sim.Log().back(), "n");
    }
}

// A job the LPX refuses has written nothing; the user is told so.
TEST_F(WriteJobTest, RefusedJobIsReported) {
    ShownDevice(0x4C2D, 0x1A);
    sim.InjectFault(SimFault::StartJobEot, "i4C2D");
    host.Write();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10508});
    EXPECT_EQ(WriteCommands(),
              (Commands{"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "n"}));
    EXPECT_TRUE(host.status.isEmpty());
}

// What a read brings from a generation 2 device with triple press goes back unchanged.
TEST_F(WriteJobTest, ReadSettingsWriteBack) {
    const int device = sim.AddDevice(0x4C2D, 0x21);
    const auto before = sim.Device(device).memory;
    host.Read();
    ASSERT_EQ(host.status, Text(Msg::ReadDone));
    host.Write();
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(host.status, Text(Msg::WriteDone));
    EXPECT_EQ(sim.Device(device).memory, before);
}

}  // namespace
