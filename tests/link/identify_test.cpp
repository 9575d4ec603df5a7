// Device identification against the simulated LPX.

#include <cerrno>

#include "fake_line.h"
#include "pressing_host.h"

namespace {

using IdentifyTest = CoreJobsTest;

TEST_F(IdentifyTest, TakesCodeAndFirmwareVersionFromTheRecord) {
    sim.AddDevice(0x12AB, 0x21);
    // The identification keeps the title its caller set.
    host.title = "caller's title";
    const JobOutcome& outcome = host.Identify();
    EXPECT_EQ(outcome.codeBefore, "12AB");
    EXPECT_EQ(outcome.firmwareVersion, 0x21);
    EXPECT_EQ(sim.Log(), Identification());
    EXPECT_FALSE(sim.IdentifyMode());
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(host.title, "caller's title");
    EXPECT_EQ(host.heading, Text(10872));
    EXPECT_EQ(host.instruction, Text(10502));
}

// Without a converter, or with one that may not be opened, one error and no wait. A refused
// open says which device file, why, and what to do about it.
TEST_F(IdentifyTest, NoLpxOrARefusedOpenShowsOneErrorAndNoWait) {
    FakeDriver refusing;
    refusing.line.openStatus = DriverDeviceNotOpened;
    const struct {
        SerialDriver* driver;
        OpenFailure failure;
        QStringList told;
    } cases[] = {
        {&driver, {}, {}},
        {&refusing,
         {EACCES, "/dev/null"},
         {"/dev/null", "70-korbi-lpx.rules", "Keine Berechtigung"}},
        {&refusing, {EBUSY, "/dev/ttyUSB0"}, {"/dev/ttyUSB0", "anderen Programm", "ModemManager"}},
        {&refusing, {ENOENT, "/dev/ttyUSB0"}, {}},
    };
    driver.SetAttached(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure.error);
        refusing.line.openFailure = c.failure;
        adapter.SetDriver(c.driver);
        prompts.Clear();
        EXPECT_TRUE(host.Identify().codeBefore.isEmpty());
        ASSERT_EQ(prompts.MessageIds(), QList<int>{10805});
        EXPECT_EQ(prompts.records[0].kind, BoxKind::Error);
        const QString text = prompts.records[0].text;
        EXPECT_TRUE(c.told.isEmpty() ? text == Text(10805) : text.startsWith(Text(10805) + "\n\n"))
            << text.toStdString();
        for (const QString& part : c.told) EXPECT_TRUE(text.contains(part)) << part.toStdString();
        EXPECT_EQ(host.waits, 0);
    }
}

TEST_F(IdentifyTest, OldLpxFirmwareEndsAfterTheVersionQuery) {
    sim.AddDevice(0x12AB, 0x21);
    sim.InjectFault(SimFault::OldFirmware);
    EXPECT_TRUE(host.Identify().codeBefore.isEmpty());
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10507});
    EXPECT_EQ(sim.Log(), Commands{"v"});
    EXPECT_EQ(host.waits, 0);
}

TEST_F(IdentifyTest, UnacknowledgedIdentifyModeEndsSilently) {
    sim.AddDevice(0x12AB, 0x21);
    sim.InjectFault(SimFault::NoAnswer, "s1");
    EXPECT_TRUE(host.Identify().codeBefore.isEmpty());
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(sim.Log(), (Commands{"v", "s1"}));
}

TEST_F(IdentifyTest, DeviceWithTheEmptyCodeCountsAsNotIdentified) {
    sim.AddDevice(0x0000, 0x1A);
    const JobOutcome& outcome = host.Identify();
    EXPECT_TRUE(outcome.codeBefore.isEmpty());
    EXPECT_EQ(outcome.failure.kind, FailureKind::NoDeviceCode);
    EXPECT_EQ(sim.Log(), Identification());
}

// A foreign product, a failed and a timed-out job each start a new attempt with a new wait; the
// next press of a K-ORBI settles it.
TEST_F(IdentifyTest, UnsettledAttemptsStartAgain) {
    const int foreign = sim.AddDevice(0x0BAD, 0x21, 0x01);
    sim.AddDevice(0x12AB, 0x1A);
    Press(foreign);
    PressInto(SimFault::JobFails, 1);
    PressInto(SimFault::JobTimesOut, 1);
    Press(1);
    const JobOutcome& outcome = host.Identify();
    EXPECT_EQ(host.waits, 4);
    EXPECT_EQ(outcome.codeBefore, "12AB");
    EXPECT_EQ(outcome.firmwareVersion, 0x1A);
    const Commands attempt = {"m", "m022E", "iFFFF", "M"};
    Commands expected = {"v", "s1"};
    expected = Join(Join(expected, attempt), {"x"});  // foreign record
    expected = Join(expected, attempt);               // failed
    expected = Join(expected, attempt);               // timed out
    expected = Join(Join(expected, attempt), {"x", "s0"});
    EXPECT_EQ(sim.Log(), expected);
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

// A record that lacks the firmware type, or no record at all, settles nothing: the next press
// does. The firmware version is taken only from an accepted record.
TEST_F(IdentifyTest, RecordsWithoutBothBytesStartAgain) {
    sim.AddDevice(0x12AB, 0x21);
    for (const SimFault fault : {SimFault::ShortRecord, SimFault::MissingBlock}) {
        sim.ClearLog();
        sim.InjectFault(fault, "022E", 1);
        host.waits = 0;
        const JobOutcome& outcome = host.Identify();
        EXPECT_EQ(host.waits, 2);
        EXPECT_EQ(outcome.codeBefore, "12AB");
        EXPECT_EQ(outcome.firmwareVersion, 0x21);
        const Commands attempt = {"m", "m022E", "iFFFF", "M", "x"};
        EXPECT_EQ(sim.Log(), Join(Join(Join({"v", "s1"}, attempt), attempt), {"s0"}));
    }
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

TEST_F(IdentifyTest, AbortEndsWithoutDevice) {
    sim.AddDevice(0x12AB, 0x21);
    Abort();
    EXPECT_TRUE(host.Identify().codeBefore.isEmpty());
    EXPECT_EQ(host.status, Text(10504));
    EXPECT_EQ(sim.Log(), (Commands{"v", "s1", "m", "m022E", "iFFFF", "s0"}));
}

}  // namespace
