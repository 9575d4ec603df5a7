// Reading a device against the simulated LPX.

#include <algorithm>

#include "pressing_host.h"

namespace {

using ReadJobTest = CoreJobsTest;

TEST_F(ReadJobTest, ReadsTheBlocksOfEachGeneration) {
    const struct {
        uint8_t firmwareVersion;
        Commands generationBlocks;
        const char* firmwareText;  // as the settings show the version
    } cases[] = {
        {0x1A, {"m0238"}, "1.A"},
        {0x21, {"m0738", "m0850", "m0858"}, "2.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firmwareText);
        sim.ClearLog();
        const int device = sim.AddDevice(0x4C2D, c.firmwareVersion);
        sim.Device(device).memory[0x2C] = 77;  // battery test interval
        sim.Device(device).memory[0x28] = 9;   // missed acknowledgements
        host.whenNoneListed = device;
        prompts.Clear();
        const JobOutcome& outcome = host.Read();

        Commands read = {"m", "m0622", "m0828", "m0830", "m0840", "m0848"};
        read = Join(read, c.generationBlocks);
        read = Join(read, {"i4C2D", "M"});
        // One "x" per block and one more that finds none left.
        read = Join(read, Commands(5 + c.generationBlocks.size() + 1, "x"));
        read.push_back("m");
        EXPECT_EQ(sim.Log(), Join(Identification(), read));
        EXPECT_TRUE(prompts.MessageIds().isEmpty());
        EXPECT_EQ(host.status, Text(Msg::ReadDone));
        EXPECT_EQ(settings.Text(Field::radioCode), "4C2D");
        EXPECT_EQ(settings.Text(Field::batteryAlarmIntervalHours), "77");
        EXPECT_EQ(settings.Text(Field::missedAcksBeforePowerSaving), "9");
        EXPECT_EQ(settings.Text(Field::firmwareVersion), c.firmwareText);
        EXPECT_EQ(host.origin, OriginDevice);
        EXPECT_EQ(host.title, Text(10501));
        EXPECT_EQ(host.instruction, Text(10503));
        // Every cell of the listed blocks arrived from the device.
        ASSERT_TRUE(outcome.read);
        EXPECT_TRUE(FieldPresent(*outcome.read, 0x22, 6, MarkFromDevice));
        EXPECT_EQ(outcome.read->cells[0x2C].value, 77);
        sim.Device(device).memory[0x20] = 0xEE;  // later cases press their own device
        sim.Device(device).memory[0x21] = 0xEE;
    }
}

// The blocks listed before the generation was known are taken back: no later press reads them.
TEST_F(ReadJobTest, UnknownGenerationSendsNoJob) {
    sim.AddDevice(0x4C2D, 0x30);
    const QString before = settings.Text(Field::batteryAlarmIntervalHours);
    host.Read();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10505});
    EXPECT_EQ(sim.Log(),
              Join(Identification(), {"m", "m0622", "m0828", "m0830", "m0840", "m0848", "m"}));
    EXPECT_EQ(settings.Text(Field::batteryAlarmIntervalHours), before);
}

TEST_F(ReadJobTest, AbortInTheSecondWaitEmptiesTheListAndKeepsTheView) {
    sim.AddDevice(0x4C2D, 0x21);
    const QString before = settings.Text(Field::batteryAlarmIntervalHours);
    Press(0);
    Abort();
    host.Read();
    const Commands expected =
        Join(Identification(), {"m", "m0622", "m0828", "m0830", "m0840", "m0848", "m0738", "m0850",
                                "m0858", "i4C2D", "m", "m"});
    EXPECT_EQ(sim.Log(), expected);
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(host.status, Text(10504));
    EXPECT_EQ(settings.Text(Field::batteryAlarmIntervalHours), before);
    EXPECT_EQ(host.origin, -1);
}

// Only the user's cancel is told as an aborted identification; a failure leaves the status line
// to what its own message said.
TEST_F(ReadJobTest, IdentificationAbortedLeavesEverything) {
    sim.AddDevice(0x4C2D, 0x21);
    Abort();
    host.Read();
    EXPECT_EQ(host.status, Text(10804));
    EXPECT_EQ(sim.Log(), (Commands{"v", "s1", "m", "m022E", "iFFFF", "s0"}));
    sim.InjectFault(SimFault::OldFirmware);
    host.Read();
    EXPECT_EQ(prompts.MessageIds().last(), 10507);
    EXPECT_EQ(host.status, QString());
}

TEST_F(ReadJobTest, FailedOrTimedOutJobIsReported) {
    sim.AddDevice(0x4C2D, 0x21);
    const std::pair<SimFault, int> cases[] = {{SimFault::JobFails, 10505},
                                              {SimFault::JobTimesOut, 10873}};
    for (const auto& [fault, message] : cases) {
        SCOPED_TRACE(message);
        prompts.Clear();
        sim.ClearLog();
        Press(0);
        PressInto(fault);
        EXPECT_FALSE(host.Read().read);
        EXPECT_EQ(prompts.MessageIds(), QList<int>{message});
        // No record is fetched; the list is emptied after the wait and at the end.
        const Commands& log = sim.Log();
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(Commands(log.end() - 3, log.end()), (Commands{"M", "m", "m"}));
        EXPECT_EQ(std::count(log.begin(), log.end(), "x"), 1);  // the identification's
    }
}

TEST_F(ReadJobTest, RefusedJobIsReported) {
    sim.AddDevice(0x4C2D, 0x21);
    sim.InjectFault(SimFault::StartJobEot, "i4C2D");
    host.Read();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10508});
    EXPECT_EQ(sim.Log().back(), "m");
    EXPECT_EQ(host.waits, 1);
}

// Block 0840 holds door codes 1-4, block 0848 codes 5-8: the message names the last of them.
TEST_F(ReadJobTest, MissingBlockNamesTheLastMissingDoorCode) {
    const std::pair<const char*, const char*> cases[] = {{"0840", "70"}, {"0848", "78"}};
    const int device = sim.AddDevice(0x4C2D, 0x21);
    sim.Device(device).memory[0x2C] = 77;
    for (const auto& [block, address] : cases) {
        SCOPED_TRACE(block);
        prompts.Clear();
        sim.ClearFaults();
        sim.InjectFault(SimFault::MissingBlock, block);
        host.Read();
        ASSERT_EQ(prompts.MessageIds(), QList<int>{10817});
        // The missing cell's value in the cleared read image, and its address, in decimal.
        EXPECT_EQ(prompts.records[0].text.toStdString(),
                  FillText(10817, {"0", address}).toStdString());
        EXPECT_EQ(settings.Text(Field::batteryAlarmIntervalHours), "77");
        EXPECT_EQ(host.origin, OriginDevice);
    }
    EXPECT_EQ(settings.Text(DoorCode(8, false)), "?");
    EXPECT_EQ(settings.Text(DoorCode(1, false)), "1234");
}

// A record with a count that does not match its length is not stored: its block is missing.
TEST_F(ReadJobTest, MalformedRecordIsIgnored) {
    sim.AddDevice(0x4C2D, 0x21);
    Press(0);
    PressInto(SimFault::BadRecordCount, 0, -1);
    const std::optional<ConfigImage>& read = host.Read().read;
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10817});
    ASSERT_TRUE(read);
    for (int a = 0; a < kImageSize; ++a) EXPECT_NE(read->cells[a].mark, MarkFromDevice) << a;
}

TEST_F(ReadJobTest, ForeignProductIsReported) {
    sim.AddDevice(0x4C2D, 0x21);
    Press(0);
    PressInto(SimFault::ForeignProduct, 0, -1);
    host.Read();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10820});
    EXPECT_EQ(host.origin, OriginDevice);
}

}  // namespace
