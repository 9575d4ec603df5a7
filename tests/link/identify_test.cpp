// Device identification against the simulated LPX.

#include <cerrno>

#include "fake_line.h"
#include "jobs_fixture.h"

namespace {

using IdentifyTest = JobsTest;

TEST_F(IdentifyTest, TakesCodeAndFirmwareVersionFromTheRecord) {
    sim.AddDevice(0x12AB, 0x21);
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(window->Jobs().LastOutcome().codeBefore, "12AB");
    EXPECT_EQ(window->Jobs().LastOutcome().firmwareVersion, 0x21);
    EXPECT_EQ(sim.Log(), Identification());
    EXPECT_FALSE(sim.IdentifyMode());
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    // The identification keeps the title its caller set.
    window->frmReceiveRadio->SetTitle("caller's title");
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(wait->windowTitle(), "caller's title");
    EXPECT_EQ(wait->gbxReceiveRadio->title(), Text(10872));
    EXPECT_EQ(wait->lblAction->text().replace(QChar(0x2011), '-'), Text(10502));
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
        window->adapter.SetDriver(c.driver);
        prompts.Clear();
        window->btnGetKorbiCodeClick();
        FinishJob(window->Jobs());
        ASSERT_EQ(prompts.MessageIds(), QList<int>{10805});
        EXPECT_EQ(prompts.records[0].kind, BoxKind::Error);
        const QString text = prompts.records[0].text;
        EXPECT_TRUE(c.told.isEmpty() ? text == Text(10805) : text.startsWith(Text(10805) + "\n\n"))
            << text.toStdString();
        for (const QString& part : c.told) EXPECT_TRUE(text.contains(part)) << part.toStdString();
        EXPECT_EQ(waitHook.shows, 0);
        EXPECT_TRUE(window->Jobs().LastOutcome().codeBefore.isEmpty());
    }
}

TEST_F(IdentifyTest, OldLpxFirmwareEndsAfterTheVersionQuery) {
    sim.AddDevice(0x12AB, 0x21);
    sim.InjectFault(SimFault::OldFirmware);
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10507});
    EXPECT_EQ(sim.Log(), Commands{"v"});
    EXPECT_EQ(waitHook.shows, 0);
    EXPECT_TRUE(window->Jobs().LastOutcome().codeBefore.isEmpty());
}

TEST_F(IdentifyTest, UnacknowledgedIdentifyModeEndsSilently) {
    sim.AddDevice(0x12AB, 0x21);
    sim.InjectFault(SimFault::NoAnswer, "s1");
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(sim.Log(), (Commands{"v", "s1"}));
    EXPECT_TRUE(window->Jobs().LastOutcome().codeBefore.isEmpty());
}

TEST_F(IdentifyTest, DeviceWithTheEmptyCodeCountsAsNotIdentified) {
    sim.AddDevice(0x0000, 0x1A);
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_TRUE(window->Jobs().LastOutcome().codeBefore.isEmpty());
    EXPECT_EQ(window->Jobs().LastOutcome().failure.kind, FailureKind::NoDeviceCode);
    EXPECT_EQ(sim.Log(), Identification());
}

// A foreign product, a failed and a timed-out job each start a new attempt with the dialog shown
// again; the next press of a K-ORBI settles it.
TEST_F(IdentifyTest, UnsettledAttemptsStartAgain) {
    const int foreign = sim.AddDevice(0x0BAD, 0x21, 0x01);
    sim.AddDevice(0x12AB, 0x1A);
    Press(foreign);
    PressInto(SimFault::JobFails, 1);
    PressInto(SimFault::JobTimesOut, 1);
    Press(1);
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(waitHook.shows, 4);
    EXPECT_EQ(window->Jobs().LastOutcome().codeBefore, "12AB");
    EXPECT_EQ(window->Jobs().LastOutcome().firmwareVersion, 0x1A);
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
        waitHook.shows = 0;
        window->btnGetKorbiCodeClick();
        FinishJob(window->Jobs());
        EXPECT_EQ(waitHook.shows, 2);
        EXPECT_EQ(window->Jobs().LastOutcome().codeBefore, "12AB");
        EXPECT_EQ(window->Jobs().LastOutcome().firmwareVersion, 0x21);
        const Commands attempt = {"m", "m022E", "iFFFF", "M", "x"};
        EXPECT_EQ(sim.Log(), Join(Join(Join({"v", "s1"}, attempt), attempt), {"s0"}));
    }
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

TEST_F(IdentifyTest, AbortEndsWithoutDevice) {
    sim.AddDevice(0x12AB, 0x21);
    Abort();
    window->btnGetKorbiCodeClick();
    FinishJob(window->Jobs());
    EXPECT_TRUE(window->Jobs().LastOutcome().codeBefore.isEmpty());
    EXPECT_EQ(window->StatusText(), Text(10504));
    EXPECT_EQ(window->Jobs().Polling(), PollNone);
    EXPECT_EQ(sim.Log(), (Commands{"v", "s1", "m", "m022E", "iFFFF", "s0"}));
}

}  // namespace
