// Typing into the window's settings edits: the key filters, the binding to the model and the
// rules that the typed text sets off.

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "window_fixture.h"

namespace {

void SendKey(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

void LeaveEdit(QLineEdit* edit) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
}

}  // namespace

using Typing = LocaleWindowTest;

// Typed characters go through the window's key filters and then the change rules; each row
// starts from an empty edit.
TEST_F(Typing, TypingIsFilteredAndRangeChecked) {
    struct Case {
        const char* edit;
        const char* typed;
        const char* text;
        QList<int> messages;
    };
    const Case cases[] = {
        {"edtNoShortTx", "19", "15", {10854}},
        {"edtNoShortTx", "1x5", "15", {}},
        {"edtNoLongTx", "16", "15", {10855}},
        {"edtBatteryTestInterval", "2a 5-", "25", {}},
        {"edtBatteryTestInterval", "256", "255", {10851}},
        {"edtRadioTestAlarmInterval", "300", "255", {10852}},
        {"edtMissedAck", "999", "255", {10853}},
        {"edtDementiaBlockTime", "256", "255", {10856}},
        {"edtRfidInactivity", "260", "255", {10857}},
        {"edtRadioInactivity", "4.2", "42", {}},
        {"edtRadioInactivity", "256", "255", {10858}},
        {"edtOutOfFieldTimeToRetransmit", "300", "255", {}},
        {"edtOutOfFieldTimeToRetransmit", "255", "255", {}},
        {"edtButtonActivationDelay", "2,5", "2,5", {}},
        {"edtButtonActivationDelay", "2.5", "25", {}},  // the point is no separator here
        {"edtButtonActivationDelay", "26", "25", {10859}},
        {"edtButtonActivationDelay", "25,5", "25", {10859}},
        {"edtButtonActivationDelay", "0,1a", "0,1", {}},
        {"edtLongDoubleTriplePressTime", "0,5", "0,5", {}},
        {"edtLongDoubleTriplePressTime", "0,2", "0,2", {}},  // passes while typing
        {"edtLongDoubleTriplePressTime", "25,5", "25,5", {}},
        {"edtLongDoubleTriplePressTime", "30", "25,5", {10860}},
        {"edtLongDoubleTriplePressTime", ",", "2,0", {10860}},
        {"edtDoorCode2_R", "0000", "0000", {10818}},
        {"edtDoorCode2_R", "ffff", "ffff", {10818}},
        {"edtDoorCode8", "FfFf", "FfFf", {10818}},
        {"edtRadioCodeNew", "12gZ3", "123", {}},
        {"edtRadioCodeNew", "aBcD", "aBcD", {}},
        {"edtRadioCodeNew", "0000", "0000", {10818}},
    };
    for (const Case& c : cases) {
        QLineEdit* edit = Find<QLineEdit>(c.edit);
        SCOPED_TRACE(edit->objectName().toStdString() + " <- " + c.typed);
        window->Model().SetEnabled(*FindField(c.edit), true);
        edit->clear();
        prompts.Clear();
        QTest::keyClicks(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), c.text);
        EXPECT_EQ(prompts.MessageIds(), c.messages);
    }

    // What the window shows is the model's: leaving the press time corrects both, and typing
    // in the middle of a text stays where the cursor is.
    QLineEdit* press = Find<QLineEdit>("edtLongDoubleTriplePressTime");
    press->clear();
    QTest::keyClicks(press, "0,2");
    prompts.Clear();
    LeaveEdit(press);
    EXPECT_EQ(press->text(), "0,5");
    EXPECT_EQ(window->Model().Text(Field::pressTimeSeconds), "0,5");
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10860});
    QLineEdit* block = Find<QLineEdit>("edtDementiaBlockTime");
    block->clear();
    QTest::keyClicks(block, "13");
    block->home(false);
    QTest::keyClicks(block, "2");
    EXPECT_EQ(block->text(), "213");
    EXPECT_EQ(window->Model().Text(Field::userAlarmBlockMinutes), "213");
}

// Whatever the edit would insert counts as typed text, also characters that Qt does not call
// printable (format and private-use characters), keys typing several characters and keys with
// AltGr; only control characters pass. Each row starts from an edit holding 1.
TEST_F(Typing, EveryInsertableCharacterIsFiltered) {
    const char16_t zeroWidthSpace[] = {0x200B, 0};
    const char16_t privateUse[] = {0xE000, 0};
    const char16_t emoji[] = {0xD83D, 0xDE00, 0};  // one character as two halves
    const struct {
        const char* edit;
        Qt::KeyboardModifiers modifiers;
        QString text;
        QString result;
    } cases[] = {
        {"edtNoShortTx", Qt::NoModifier, QString::fromUtf16(zeroWidthSpace), "1"},
        {"edtButtonActivationDelay", Qt::NoModifier, QString::fromUtf16(zeroWidthSpace), "1"},
        {"edtDoorCode1", Qt::NoModifier, QString::fromUtf16(zeroWidthSpace), "1"},
        {"edtNoShortTx", Qt::NoModifier, QString::fromUtf16(privateUse), "1"},
        {"edtButtonActivationDelay", Qt::NoModifier, QString::fromUtf16(privateUse), "1"},
        {"edtDoorCode1", Qt::NoModifier, QString::fromUtf16(privateUse), "1"},
        {"edtDementiaBlockTime", Qt::NoModifier, QString::fromUtf16(emoji), "1"},
        {"edtDementiaBlockTime", Qt::NoModifier, "2x", "1"},
        {"edtDementiaBlockTime", Qt::NoModifier, "23", "123"},
        {"edtDementiaBlockTime", Qt::ControlModifier | Qt::AltModifier, "x", "1"},  // AltGr
    };
    for (const auto& c : cases) {
        QLineEdit* edit = Find<QLineEdit>(c.edit);
        edit->setText("1");
        SendKey(edit, Qt::Key_unknown, c.modifiers, c.text);
        EXPECT_EQ(edit->text(), c.result) << c.edit << " <- " << c.text.toStdString();
    }
    // Input methods commit text without a key event; the digit edits take none.
    EXPECT_FALSE(Find<QLineEdit>("edtNoShortTx")->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(Find<QLineEdit>("edtDoorCode4")->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(Typing, EditingKeysAndPastedTextPass) {
    QLineEdit* edit = Find<QLineEdit>("edtBatteryTestInterval");
    edit->clear();
    QTest::keyClicks(edit, "12");
    SendKey(edit, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(edit->text(), "1");
    // Select all (1), copy (3), cut (24) and paste (22) are control characters: not filtered.
    SendKey(edit, Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    SendKey(edit, Qt::Key_X, Qt::ControlModifier, QString(QChar(24)));
    EXPECT_EQ(edit->text(), "");
    QGuiApplication::clipboard()->setText("abc");
    SendKey(edit, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    ASSERT_EQ(QGuiApplication::clipboard()->text(), "abc");
    // Pasted text is not filtered and, being no whole number, sets off no rule.
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_TRUE(prompts.records.isEmpty());
}

class TypingEnglish : public LocaleWindowTest {
  protected:
    TypingEnglish() : LocaleWindowTest(QLocale(QLocale::English, QLocale::UnitedStates)) {}
};

TEST_F(TypingEnglish, DecimalKeysFollowThePointSeparator) {
    const std::tuple<const char*, const char*, const char*, QList<int>> cases[] = {
        {"edtButtonActivationDelay", "2.5", "2.5", {}},
        {"edtButtonActivationDelay", "2,5", "25", {}},
        {"edtLongDoubleTriplePressTime", "26", "25.5", {10860}},
        {"edtLongDoubleTriplePressTime", ".", "2.0", {10860}},
    };
    for (const auto& [get, typed, text, messages] : cases) {
        QLineEdit* edit = Find<QLineEdit>(get);
        edit->clear();
        prompts.Clear();
        QTest::keyClicks(edit, typed);
        EXPECT_EQ(edit->text(), text) << typed;
        EXPECT_EQ(prompts.MessageIds(), messages) << typed;
    }
    ASSERT_FALSE(prompts.records.isEmpty());
    EXPECT_TRUE(prompts.records.last().text.endsWith("von 0.5 bis 25.5 liegen"));
}
