// The window's side of the device jobs against the simulated LPX: its buttons, menu entries and
// dialogs, the wait dialog's strip and keys, and the status line that names the device.

#include <QAccessible>
#include <QAction>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <utility>

#include "app/jobsignals.h"
#include "app/keyboardreach.h"
#include "jobs_fixture.h"
#include "support/journal_lines.h"
#include "support/keyboard_walk.h"

namespace {

using JobsWindowTest = JobsTest;

// Clicks that reach the window while a job runs (queued during its exchanges and let through
// before its wait) start nothing.
TEST_F(JobsWindowTest, NoSecondJobWhileOneRuns) {
    sim.AddDevice(0x4C2D, 0x1A);
    Press(0);
    waitHook.actions.push_back([this] {
        const size_t before = sim.Log().size();
        window->onReadClicked();
        window->onWriteClicked();
        window->onChangeCodeTriggered();
        change->edtNewCode->setText("1A2B");
        change->onChangeClicked();
        EXPECT_EQ(sim.Log().size(), before);
        EXPECT_FALSE(change->isVisible());
        sim.PressButton(0);
    });
    window->onReadClicked();
    FinishJob(window->Jobs());
    EXPECT_EQ(window->StatusText(), kReadDone);
    EXPECT_TRUE(window->windowTitle().contains(Text(10891)));
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
    EXPECT_EQ(waitHook.shows, 2);
}

// A checked write counts its check as the third step of the strip, and Escape in the check's
// wait is the abort button: the device stays written and unchecked, and the status line says so.
TEST_F(JobsWindowTest, CheckedWriteShowsItsThirdStepAndEscapeEndsTheCheck) {
    ShownDevice(0x4C2D, 0x21);
    window->findChild<QAction*>("mnuCommVerifyAfterWrite")->trigger();
    ASSERT_TRUE(window->VerifyAfterWrite());
    window->show();
    QStringList strip, described, named;
    const auto step = [this, &strip, &described, &named](bool press) {
        return [this, &strip, &described, &named, press] {
            auto* line = wait->findChild<QLabel*>("lblWaitProgress");
            strip << line->text().section(" – ", 0, 0);
            // The line and the focused abort button tell the step, without the seconds.
            named << QAccessible::queryAccessibleInterface(line)->text(QAccessible::Name);
            described << QAccessible::queryAccessibleInterface(wait->btbtnAbort)
                             ->text(QAccessible::Description);
            if (press) {
                sim.PressButton(0);
            } else {
                QTest::keyClick(wait, Qt::Key_Escape);
            }
        };
    };
    waitHook.actions = {step(true), step(true), step(false)};
    window->onWriteClicked();
    FinishJob(window->Jobs());
    EXPECT_EQ(strip, (QStringList{"Schritt 1 von 3: Funkkennung lesen",
                                  "Schritt 2 von 3: Schreiben", "Schritt 3 von 3: Prüfen"}));
    EXPECT_EQ(described, strip);
    EXPECT_EQ(named, strip);
    // The result is heard once the wait has gone and the window is in front.
    window->activateWindow();
    auto* status = window->findChild<QLabel*>("sbStatusText");
    EXPECT_TRUE(QTest::qWaitFor([status] { return HeardFocused(status, status->text()); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([] { return FocusRingShown() && FocusRingShown()->isVisible(); }));
    EXPECT_EQ(window->StatusText(),
              QString::fromUtf8("K-ORBI 4C2D: Konfiguration wurde geschrieben, aber nicht geprüft: "
                                "Die Prüfung wurde abgebrochen."));
    EXPECT_FALSE(wait->isVisible());
}

TEST_F(JobsWindowTest, MenuEntriesRunTheJobs) {
    ShownDevice(0x4C2D, 0x1A);
    const std::pair<const char*, QString> entries[] = {{"mnuCommReadFromDevice", kReadDone},
                                                       {"mnuCommWriteToDevice", kWriteDone}};
    for (const auto& [menu, status] : entries) {
        window->findChild<QAction*>(menu)->trigger();
        FinishJob(window->Jobs());
        EXPECT_EQ(window->StatusText(), status) << menu;
    }
}

// The dialog runs modally from the menu; an abort in the wait shows nothing and leaves the
// dialog open with the typed code for another try, whose success the status line names with
// both codes.
TEST_F(JobsWindowTest, AbortInTheCodeChangeWaitKeepsTheDialogOpen) {
    sim.AddDevice(0x4C2D, 0x21);
    prompts.answers = {BoxAnswer::Yes, BoxAnswer::Yes};
    Press(0);
    Abort();
    bool open = false;
    QString typed;
    QTimer::singleShot(0, change, [&] {
        change->edtNewCode->setText("1A2B");
        change->btnChange->click();
        FinishJob(window->Jobs());
        open = change->isVisible();
        typed = change->edtNewCode->text();
        EXPECT_EQ(prompts.MessageIds(), QList<int>{10871});
        EXPECT_EQ(sim.Log(), Join(Identification(), {"n", "n02201A2B", "i4C2D", "n"}));
        EXPECT_EQ(sim.Device(0).RadioCode(), 0x4C2D);
        change->btnChange->click();
        FinishJob(window->Jobs());
        change->btnClose->click();
    });
    window->onChangeCodeTriggered();
    EXPECT_TRUE(open);
    EXPECT_EQ(typed, "1A2B");
    EXPECT_EQ(sim.Device(0).RadioCode(), 0x1A2B);
    EXPECT_EQ(window->StatusText(), QString::fromUtf8("K-ORBI 4C2D → 1A2B: Kennnummer geändert"));
    EXPECT_FALSE(change->isVisible());
    EXPECT_EQ(change->result(), 1);
}

// Restoring a minimised dialog is no new showing: the typed code and the place stay. A real
// showing empties the field and centres the code dialog again; the wait dialog stays where the
// last step left it, so that it does not jump from step to step.
TEST_F(JobsWindowTest, RestoringTheMinimisedDialogsKeepsPlaceAndCode) {
    for (QDialog* dialog : {static_cast<QDialog*>(change), static_cast<QDialog*>(wait)}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        const QPoint centred = dialog->pos();
        const QPoint moved = centred + QPoint(30, -20);
        dialog->move(moved);
        change->edtNewCode->setText("1A2");
        dialog->setWindowState(Qt::WindowMinimized);
        dialog->setWindowState(Qt::WindowNoState);
        EXPECT_EQ(dialog->pos(), moved);
        EXPECT_EQ(change->edtNewCode->text(), "1A2");
        dialog->hide();
        dialog->show();
        EXPECT_EQ(dialog->pos(), dialog == wait ? moved : centred);
        if (dialog == change) {
            EXPECT_TRUE(change->edtNewCode->text().isEmpty());
        }
        dialog->hide();
    }
}

TEST_F(JobsWindowTest, DialogLayoutAndKeyFilter) {
    EXPECT_EQ(change->windowTitle(), Text(10621));
    EXPECT_EQ(change->size(), QSize(393, 293));
    EXPECT_EQ(change->btnChange->text(), "Än&dern...");
    EXPECT_EQ(change->btnClose->text(), "&Ende");
    EXPECT_EQ(change->lblNote->text(), Text(10622));
    EXPECT_EQ(change->lblNote->width(), change->pnlDelimiter->width());
    // The whole note stands above the new code's row, whatever the desktop's font.
    EXPECT_GE(change->lblNote->height(), change->lblNote->heightForWidth(change->lblNote->width()));
    EXPECT_LT(change->lblNote->geometry().bottom(),
              std::min(change->lblNewCode->y(), change->edtNewCode->y()));
    EXPECT_EQ(change->edtNewCode->maxLength(), 4);

    change->edtNewCode->setText("old");
    change->show();
    EXPECT_TRUE(change->edtNewCode->text().isEmpty());
    QTest::keyClicks(change->edtNewCode, "1g- A.fz9");
    EXPECT_EQ(change->edtNewCode->text(), "1AF9");
    QTest::keyClick(change->edtNewCode, Qt::Key_Backspace);
    EXPECT_EQ(change->edtNewCode->text(), "1AF");
    // A composed key types two characters, AltGr arrives as Ctrl with Alt: each character
    // counts, and one that is no digit keeps the whole key out.
    const struct {
        const char* text;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"1G", Qt::NoModifier}, {"@", Qt::ControlModifier | Qt::AltModifier}};
    for (const auto& k : keys) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, k.modifiers, k.text);
        QCoreApplication::sendEvent(change->edtNewCode, &press);
        EXPECT_EQ(change->edtNewCode->text(), "1AF") << k.text;
    }
    EXPECT_FALSE(change->edtNewCode->testAttribute(Qt::WA_InputMethodEnabled));
    change->hide();
}

// SIGTERM during a write's wait ends the job as Abbruch does: the write list is emptied, the line
// is recorded as cancelled, and only then does the window's loop end, the signal noted for the
// exit status.
TEST_F(JobsWindowTest, TerminationDuringAWaitEndsTheJobAsAbbruch) {
    QTemporaryDir folder;
    UseRecord(window->Jobs(), JournalPath(folder.path() + "/"));
    ShownDevice(0x4C2D, 0x21);
    EndJobsOnSignals(window->Jobs(), window.get());
    Press(0);
    waitHook.actions.push_back([] { ::raise(SIGTERM); });
    window->onWriteClicked();
    FinishJob(window->Jobs());
    EXPECT_EQ(EndingSignal(), SIGTERM);
    const std::vector<std::string>& log = sim.Log();
    const auto started = std::find(log.begin(), log.end(), "i4C2D");
    ASSERT_NE(started, log.end());
    EXPECT_NE(std::find(started, log.end(), "n"), log.end()) << "the write list stays armed";
    const QList<QStringList> lines = JournalLines({JournalPath(folder.path() + "/"), {}});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0][ColOutcome], "abgebrochen");
    // A later press writes nothing.
    const std::array<uint8_t, 256> before = sim.Device(0).memory;
    sim.PressButton(0);
    EXPECT_EQ(sim.Device(0).memory, before);
}

}  // namespace
