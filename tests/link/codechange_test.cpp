// The radio ID code change dialog and its job against the simulated LPX.

#include <QKeyEvent>
#include <QTest>

#include "jobs_fixture.h"

namespace {

class CodeChangeTest : public JobsTest {
  protected:
    // Types code into the shown dialog and presses the change button.
    void Change(const QString& code) {
        change->show();
        change->edtNewCode->setText(code);
        change->btnChange->click();
        FinishJob(window->Jobs());
    }
};

TEST_F(CodeChangeTest, CodesThatNeverReachTheDevice) {
    struct Case {
        const char* code;
        int message;
    };
    const Case cases[] = {{"abc", 10629}, {"12G4", 10629}, {"0000", 10818}, {"fFfF", 10818}};
    sim.AddDevice(0x4C2D, 0x21);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        prompts.Clear();
        Change(c.code);
        EXPECT_EQ(prompts.MessageIds(), QList<int>{c.message});
        EXPECT_TRUE(sim.Log().empty());
    }
}

TEST_F(CodeChangeTest, TheDevicesOwnCodeNeedsNoChange) {
    sim.AddDevice(0x4C2D, 0x21);
    Change("4C2D");
    ASSERT_EQ(prompts.MessageIds(), QList<int>{10625});
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Information);
    EXPECT_EQ(prompts.records[0].text, FillText(10625, {"4C2D"}));
    EXPECT_EQ(sim.Log(), Identification());  // identified afresh
    EXPECT_EQ(wait->windowTitle(), Text(10621));
}

TEST_F(CodeChangeTest, OnlyYesChangesTheCode) {
    sim.AddDevice(0x4C2D, 0x21);
    for (BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Closed}) {
        prompts.Clear();
        sim.ClearLog();
        prompts.answers = {answer};
        Change("4c2d");  // the own code in lower case counts as another code
        ASSERT_EQ(prompts.MessageIds(), QList<int>{10871});
        EXPECT_EQ(prompts.records[0].text, FillText(10871, {"4C2D", "4c2d"}));
        EXPECT_EQ(prompts.records[0].buttons, BoxButtons::YesNo);
        EXPECT_EQ(sim.Log(), Identification());
    }
}

TEST_F(CodeChangeTest, ConfirmedChangeSendsTheCodeAsTyped) {
    const int device = sim.AddDevice(0x4C2D, 0x21);
    prompts.answers = {BoxAnswer::Yes};
    Change("1a2b");
    EXPECT_EQ(prompts.MessageIds(), (QList<int>{10871, 10626}));
    // The box and the status line name both codes.
    const QString named = QString::fromUtf8("K-ORBI 4C2D → 1A2B: Kennnummer geändert");
    EXPECT_EQ(prompts.records[1].text, named);
    EXPECT_EQ(window->StatusText(), named);
    EXPECT_EQ(sim.Log(), Join(Identification(), {"n", "n02201a2b", "i4C2D", "N", "n"}));
    EXPECT_EQ(sim.Device(device).RadioCode(), 0x1A2B);
    EXPECT_EQ(window->Jobs().LastOutcome().codeAfter, "1A2B");
    EXPECT_EQ(window->Jobs().Polling(), PollNone);
    EXPECT_EQ(wait->lblAction->text().replace(QChar(0x2011), '-'), Text(10628));
}

TEST_F(CodeChangeTest, FailedAndTimedOutJobs) {
    sim.AddDevice(0x4C2D, 0x21);
    const std::pair<SimFault, int> cases[] = {{SimFault::JobFails, 10627},
                                              {SimFault::JobTimesOut, 10873}};
    for (const auto& [fault, message] : cases) {
        SCOPED_TRACE(message);
        prompts.Clear();
        prompts.answers = {BoxAnswer::Yes};
        Press(0);
        PressInto(fault);
        Change("1A2B");
        EXPECT_EQ(prompts.MessageIds(), (QList<int>{10871, message}));
        EXPECT_EQ(sim.Device(0).RadioCode(), 0x4C2D);
        EXPECT_EQ(window->Jobs().Polling(), PollNone);
    }
}

// The dialog runs modally from the menu; an abort in the wait shows nothing and leaves the
// dialog open with the typed code for another try.
TEST_F(CodeChangeTest, AbortInTheWaitKeepsTheDialogOpen) {
    sim.AddDevice(0x4C2D, 0x21);
    prompts.answers = {BoxAnswer::Yes};
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
        change->btnClose->click();
    });
    window->mnuCommChangeIdCodeClick();
    EXPECT_TRUE(open);
    EXPECT_EQ(typed, "1A2B");
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10871});
    EXPECT_EQ(sim.Log(), Join(Identification(), {"n", "n02201A2B", "i4C2D", "n"}));
    EXPECT_EQ(sim.Device(0).RadioCode(), 0x4C2D);
    EXPECT_FALSE(change->isVisible());
    EXPECT_EQ(change->result(), 1);
}

// Restoring a minimised dialog is no new showing: the typed code and the place stay. A real
// showing empties the field and centres the code dialog again; the wait dialog stays where the
// last step left it, so that it does not jump from step to step.
TEST_F(CodeChangeTest, RestoringTheMinimisedDialogsKeepsPlaceAndCode) {
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

TEST_F(CodeChangeTest, DialogLayoutAndKeyFilter) {
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

}  // namespace
