// Writing a device against the simulated LPX.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <optional>
#include <utility>

#include "jobs_fixture.h"

namespace {

class WriteJobTest : public JobsTest {
  protected:
    // A device whose settings pass the checks of both generations, shown in the view.
    int ShownDevice(uint16_t code, uint8_t firmwareVersion) {
        const int device = sim.AddDevice(code, firmwareVersion);
        sim.Device(device).memory[0x3C] = 25;  // press time 2.5 s fits any activation delay
        sim.Device(device).memory[0x3B] = 0x00;
        ShowDeviceSettings(device);
        sim.ClearLog();
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
    window->findChild<QLineEdit*>("edtBatteryTestInterval")->setText("42");
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(WriteCommands(),
              (Commands{"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "N", "n"}));
    // The first block carries the three values of 0x27-0x29.
    EXPECT_EQ(sim.Log()[Identification().size() + 1].size(), 1u + 4 + 6);
    EXPECT_EQ(sim.Device(device).memory[0x2C], 42);
    EXPECT_EQ(window->StatusText(), kWriteDone);
    EXPECT_EQ(wait->windowTitle(), Text(10601));
    EXPECT_EQ(wait->lblAction->text().replace(QChar(0x2011), '-'), Text(10602));
    EXPECT_EQ(wait->findChild<QLabel*>("lblWaitProgress")->text(),
              QString::fromUtf8("Schritt 2 von 2: Schreiben – seit 0 s"));
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

TEST_F(WriteJobTest, ConfirmedCodeChangeTravelsAsTheLastBlock) {
    const int device = ShownDevice(0x4C2D, 0x21);
    window->findChild<QLineEdit*>("edtRadioCodeNew")->setText("1A2B");
    prompts.answers = {BoxAnswer::Yes};
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
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
    EXPECT_EQ(window->findChild<QLineEdit*>("edtRadioCodeOld")->text(), "4C2D");
    EXPECT_EQ(window->findChild<QLineEdit*>("edtRadioCodeNew")->text(), "1A2B");
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
        window->findChild<QLineEdit*>("edtRadioCodeNew")->setText(c.newCode);
        prompts.answers = c.answers;
        window->btnWriteToDeviceClick();
        FinishJob(window->Jobs());
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
        ShowDeviceSettings(0);
        window->findChild<QLineEdit*>("edtRadioCodeNew")->setText(c.newCode);
        if (c.sameDoorCodeTwice) {
            window->Model().SetText(DoorCode(3, false), "FFFF");
            window->Model().SetText(DoorCode(5, true), "ffff");
        }
        prompts.Clear();  // the entry rules may have warned already
        window->btnWriteToDeviceClick();
        FinishJob(window->Jobs());
        EXPECT_EQ(prompts.MessageIds(), QList<int>{c.message});
        EXPECT_TRUE(sim.Log().empty());
        EXPECT_EQ(driver.OpenCount(), 0);
    }
}

TEST_F(WriteJobTest, PressTimeTooShortForGenerationTwoEndsAfterIdentification) {
    const int device = sim.AddDevice(0x4C2D, 0x21);  // delay 0.5 s, triple press
    sim.Device(device).memory[0x3C] = 20;            // press time 2.0 s: not above 4 x 0.5 s
    ShowDeviceSettings(device);
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10877});
    EXPECT_EQ(sim.Log(), Identification());
}

TEST_F(WriteJobTest, GenerationTwoSettingsForGenerationOneWarnAndGoOn) {
    ShownDevice(0x4C2D, 0x1A);
    window->Model().SetText(DoorCode(1, true), "ABCD");
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10874});
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Information);
    EXPECT_EQ(WriteCommands(),
              (Commands{"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "N", "n"}));
    EXPECT_EQ(window->StatusText(), kWriteDone);
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
        window->btnWriteToDeviceClick();
        FinishJob(window->Jobs());
        EXPECT_EQ(prompts.MessageIds(), c.messages);
        EXPECT_EQ(window->StatusText(), c.statusText ? Text(c.statusText) : QString());
        EXPECT_EQ(window->Jobs().Polling(), PollNone);
        EXPECT_EQ(sim.Log().back(), "n");
    }
}

// A job the LPX refuses has written nothing; the user is told so.
TEST_F(WriteJobTest, RefusedJobIsReported) {
    ShownDevice(0x4C2D, 0x1A);
    sim.InjectFault(SimFault::StartJobEot, "i4C2D");
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10508});
    EXPECT_EQ(WriteCommands(),
              (Commands{"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "n"}));
    EXPECT_TRUE(window->StatusText().isEmpty());
}

// What a read brings from a generation 2 device with triple press goes back unchanged.
TEST_F(WriteJobTest, ReadSettingsWriteBack) {
    const int device = sim.AddDevice(0x4C2D, 0x21);
    const auto before = sim.Device(device).memory;
    window->btnReadFromDeviceClick();
    FinishJob(window->Jobs());
    ASSERT_EQ(window->StatusText(), kReadDone);
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(window->StatusText(), kWriteDone);
    EXPECT_EQ(sim.Device(device).memory, before);
}

// A checked write counts its check as the third step of the strip, and Escape in the check's
// wait is the abort button: the device stays written and unchecked, and the status line says so.
TEST_F(WriteJobTest, CheckedWriteShowsItsThirdStepAndEscapeEndsTheCheck) {
    ShownDevice(0x4C2D, 0x21);
    window->findChild<QAction*>("mnuCommVerifyAfterWrite")->trigger();
    ASSERT_TRUE(window->VerifyAfterWrite());
    QStringList strip;
    const auto step = [this, &strip](bool press) {
        return [this, &strip, press] {
            strip << wait->findChild<QLabel*>("lblWaitProgress")->text().section(" – ", 0, 0);
            if (press) {
                sim.PressButton(0);
            } else {
                QTest::keyClick(wait, Qt::Key_Escape);
            }
        };
    };
    waitHook.actions = {step(true), step(true), step(false)};
    window->btnWriteToDeviceClick();
    FinishJob(window->Jobs());
    EXPECT_EQ(strip, (QStringList{"Schritt 1 von 3: Funkkennung lesen",
                                  "Schritt 2 von 3: Schreiben", "Schritt 3 von 3: Prüfen"}));
    EXPECT_EQ(window->StatusText(),
              QString::fromUtf8("K-ORBI 4C2D: Konfiguration wurde geschrieben, aber nicht geprüft: "
                                "Die Prüfung wurde abgebrochen."));
    EXPECT_FALSE(wait->isVisible());
}

TEST_F(WriteJobTest, MenuEntriesRunTheJobs) {
    ShownDevice(0x4C2D, 0x1A);
    const std::pair<const char*, QString> entries[] = {{"mnuCommReadFromDevice", kReadDone},
                                                       {"mnuCommWriteToDevice", kWriteDone}};
    for (const auto& [menu, status] : entries) {
        window->findChild<QAction*>(menu)->trigger();
        FinishJob(window->Jobs());
        EXPECT_EQ(window->StatusText(), status) << menu;
    }
}

}  // namespace
