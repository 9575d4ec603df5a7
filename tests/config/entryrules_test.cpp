#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTest>

#include "view_fixture.h"

namespace {

using Edit = QLineEdit* (*)(TfrmMain&);
#define EDIT(expr) [](TfrmMain& w) -> QLineEdit* { return w.expr; }

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

using EntryRules = ViewTest;

// Typed characters go through the window's key filters and then the change rules; each row
// starts from an empty edit.
TEST_F(EntryRules, TypingIsFilteredAndRangeChecked) {
    struct Case {
        Edit edit;
        const char* typed;
        const char* text;
        QList<int> messages;
    };
    const Case cases[] = {
        {EDIT(edtNoShortTx), "19", "15", {10854}},
        {EDIT(edtNoShortTx), "1x5", "15", {}},
        {EDIT(edtNoLongTx), "16", "15", {10855}},
        {EDIT(edtBatteryTestInterval), "2a 5-", "25", {}},
        {EDIT(edtBatteryTestInterval), "256", "255", {10851}},
        {EDIT(edtRadioTestAlarmInterval), "300", "255", {10852}},
        {EDIT(edtMissedAck), "999", "255", {10853}},
        {EDIT(edtDementiaBlockTime), "256", "255", {10856}},
        {EDIT(edtRfidInactivity), "260", "255", {10857}},
        {EDIT(edtRadioInactivity), "4.2", "42", {}},
        {EDIT(edtRadioInactivity), "256", "255", {10858}},
        {EDIT(edtOutOfFieldTimeToRetransmit), "300", "255", {}},
        {EDIT(edtOutOfFieldTimeToRetransmit), "255", "255", {}},
        {EDIT(edtButtonActivationDelay), "2,5", "2,5", {}},
        {EDIT(edtButtonActivationDelay), "2.5", "25", {}},  // the point is no separator here
        {EDIT(edtButtonActivationDelay), "26", "25", {10859}},
        {EDIT(edtButtonActivationDelay), "25,5", "25", {10859}},
        {EDIT(edtButtonActivationDelay), "0,1a", "0,1", {}},
        {EDIT(edtLongDoubleTriplePressTime), "0,5", "0,5", {}},
        {EDIT(edtLongDoubleTriplePressTime), "0,2", "0,2", {}},  // passes while typing
        {EDIT(edtLongDoubleTriplePressTime), "25,5", "25,5", {}},
        {EDIT(edtLongDoubleTriplePressTime), "30", "25,5", {10860}},
        {EDIT(edtLongDoubleTriplePressTime), ",", "2,0", {10860}},
        {EDIT(restrictedCodes[1]), "0000", "0000", {10818}},
        {EDIT(restrictedCodes[1]), "ffff", "ffff", {10818}},
        {EDIT(continuousCodes[7]), "FfFf", "FfFf", {10818}},
        {EDIT(edtRadioCodeNew), "12gZ3", "123", {}},
        {EDIT(edtRadioCodeNew), "aBcD", "aBcD", {}},
        {EDIT(edtRadioCodeNew), "0000", "0000", {10818}},
    };
    for (const Case& c : cases) {
        QLineEdit* edit = c.edit(*window);
        SCOPED_TRACE(edit->objectName().toStdString() + " <- " + c.typed);
        edit->setEnabled(true);
        edit->clear();
        prompts.Clear();
        QTest::keyClicks(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), c.text);
        EXPECT_EQ(prompts.MessageIds(), c.messages);
    }
}

// Whatever the edit would insert counts as typed text, also characters that Qt does not call
// printable (format and private-use characters); only control characters pass.
TEST_F(EntryRules, EveryInsertableCharacterIsFiltered) {
    const char16_t zeroWidthSpace[] = {0x200B, 0};
    const char16_t privateUse[] = {0xE000, 0};
    for (const char16_t* typed : {zeroWidthSpace, privateUse}) {
        const QString text = QString::fromUtf16(typed);
        for (QLineEdit* edit :
             {window->edtNoShortTx, window->edtButtonActivationDelay, window->continuousCodes[0]}) {
            edit->setText("1");
            SendKey(edit, Qt::Key_unknown, Qt::NoModifier, text);
            EXPECT_EQ(edit->text(), "1") << edit->objectName().toStdString();
        }
    }
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(EntryRules, KeysTypingSeveralCharactersOrWithAltGrAreFiltered) {
    const char16_t emoji[] = {0xD83D, 0xDE00, 0};  // one character as two halves
    const struct {
        Qt::KeyboardModifiers modifiers;
        QString text;
        QString result;
    } cases[] = {
        {Qt::NoModifier, QString::fromUtf16(emoji), "1"},
        {Qt::NoModifier, "2x", "1"},
        {Qt::NoModifier, "23", "123"},
        {Qt::ControlModifier | Qt::AltModifier, "x", "1"},  // AltGr on some keyboards
    };
    for (const auto& c : cases) {
        QLineEdit* edit = window->edtDementiaBlockTime;
        edit->setText("1");
        edit->end(false);
        SendKey(edit, Qt::Key_unknown, c.modifiers, c.text);
        EXPECT_EQ(edit->text(), c.result) << c.text.toStdString();
    }
    // Input methods commit text without a key event; the digit edits take none.
    EXPECT_FALSE(window->edtNoShortTx->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(window->continuousCodes[3]->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(EntryRules, EditingKeysAndPastedTextPass) {
    QLineEdit* edit = window->edtBatteryTestInterval;
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
    {
        // Pasted text is not filtered and, being no whole number, sets off no rule.
        EXPECT_EQ(edit->text(), "abc");
    }
    EXPECT_TRUE(prompts.records.isEmpty());
}

class EntryRulesEnglish : public ViewTest {
  protected:
    EntryRulesEnglish() : ViewTest(QLocale(QLocale::English, QLocale::UnitedStates)) {}
};

TEST_F(EntryRulesEnglish, DecimalKeysFollowThePointSeparator) {
    const std::tuple<Edit, const char*, const char*, QList<int>> cases[] = {
        {EDIT(edtButtonActivationDelay), "2.5", "2.5", {}},
        {EDIT(edtButtonActivationDelay), "2,5", "25", {}},
        {EDIT(edtLongDoubleTriplePressTime), "26", "25.5", {10860}},
        {EDIT(edtLongDoubleTriplePressTime), ".", "2.0", {10860}},
    };
    for (const auto& [get, typed, text, messages] : cases) {
        QLineEdit* edit = get(*window);
        edit->clear();
        prompts.Clear();
        QTest::keyClicks(edit, typed);
        EXPECT_EQ(edit->text(), text) << typed;
        EXPECT_EQ(prompts.MessageIds(), messages) << typed;
    }
    ASSERT_FALSE(prompts.records.isEmpty());
    EXPECT_TRUE(prompts.records.last().text.endsWith("von 0.5 bis 25.5 liegen"));
}

// Programmatic changes (as decoding makes them) run the same rules; a replacement sets off the
// rule once more, which then passes.
TEST_F(EntryRules, ChangesSetInCodeRunTheRules) {
    struct Case {
        Edit edit;
        const char* set;
        const char* text;
        QList<int> messages;
    };
    const Case cases[] = {
        {EDIT(edtNoShortTx), "15", "15", {}},
        {EDIT(edtNoShortTx), "16", "15", {10854}},
        {EDIT(edtBatteryTestInterval), "abc", "abc", {}},
        {EDIT(edtBatteryTestInterval), "-5", "-5", {}},
        {EDIT(edtButtonActivationDelay), "25", "25", {}},
        {EDIT(edtButtonActivationDelay), "abc", "abc", {}},
        {EDIT(edtButtonActivationDelay), "25,1", "25", {10859}},
        {EDIT(edtLongDoubleTriplePressTime), "?.?", "2,0", {10860}},
        {EDIT(edtLongDoubleTriplePressTime), "2.5", "2,0", {10860}},
        {EDIT(edtLongDoubleTriplePressTime), "0,0", "0,0", {}},
        {EDIT(edtRadioCodeOld), "FFFF", "FFFF", {}},  // filled by the program only
        {EDIT(restrictedCodes[7]), "FFFF", "FFFF", {10818}},
        {EDIT(continuousCodes[0]), "000", "000", {}},
        {EDIT(continuousCodes[0]), "FFFE", "FFFE", {}},
    };
    for (const Case& c : cases) {
        QLineEdit* edit = c.edit(*window);
        SCOPED_TRACE(edit->objectName().toStdString() + " := " + c.set);
        edit->clear();
        prompts.Clear();
        edit->setText(c.set);
        EXPECT_EQ(edit->text(), c.text);
        EXPECT_EQ(prompts.MessageIds(), c.messages);
    }
}

TEST_F(EntryRules, LeavingThePressTimeChecksBothBounds) {
    const std::tuple<const char*, const char*, QList<int>> cases[] = {
        {"0,2", "0,5", {10860}}, {"0", "0,5", {10860}}, {",", "2,0", {10860}},  {"0,5", "0,5", {}},
        {"25,5", "25,5", {}},    {"", "", {}},          {"-1", "0,5", {10860}},
    };
    QLineEdit* edit = window->edtLongDoubleTriplePressTime;
    for (const auto& [text, after, messages] : cases) {
        // The text as it stands when the user leaves, without the change rule's corrections.
        edit->blockSignals(true);
        edit->setText(text);
        edit->blockSignals(false);
        prompts.Clear();
        LeaveEdit(edit);
        EXPECT_EQ(edit->text(), after) << text;
        EXPECT_EQ(prompts.MessageIds(), messages) << text;
    }
}

TEST_F(EntryRules, ZoneBelongsToOneGroupAtMost) {
    for (int zone = 0; zone < 16; ++zone) {
        QCheckBox* continuous = window->continuousZones[zone];
        QCheckBox* restricted = window->restrictedZones[zone];
        continuous->setChecked(true);
        restricted->setChecked(false);
        restricted->click();  // ticking the restricted box unticks the continuous one
        EXPECT_TRUE(restricted->isChecked()) << zone;
        EXPECT_FALSE(continuous->isChecked()) << zone;
        continuous->click();
        EXPECT_TRUE(continuous->isChecked()) << zone;
        EXPECT_FALSE(restricted->isChecked()) << zone;
        // Unticking changes nothing else.
        continuous->click();
        EXPECT_FALSE(continuous->isChecked()) << zone;
        EXPECT_FALSE(restricted->isChecked()) << zone;
        // Other zones are not touched.
        const int other = (zone + 1) % 16;
        window->restrictedZones[other]->setChecked(true);
        continuous->click();
        EXPECT_TRUE(window->restrictedZones[other]->isChecked()) << zone;
        window->restrictedZones[other]->setChecked(false);
        continuous->setChecked(false);
    }
}

TEST_F(EntryRules, RadioTestAlarmBoxEnablesItsSettings) {
    ShowFile(Generation2Bytes());  // radio test alarm active
    QWidget* const dependent[] = {window->edtRadioTestAlarmInterval, window->cbConfig_D6,
                                  window->edtMissedAck};
    window->cbRadioTestAlarmActive->click();
    for (QWidget* w : dependent) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // The values stay and are still saved.
    EXPECT_EQ(window->edtMissedAck->text(), "19");
    const ImageBytes saved = SaveFile();
    EXPECT_EQ(saved[0x27], 9);
    EXPECT_EQ(saved[0x28], 19);
    EXPECT_EQ(saved[0x29], 0);
    EXPECT_EQ(saved[0x2D] & 0x40, 0x40);
    window->cbRadioTestAlarmActive->click();
    for (QWidget* w : dependent) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(EntryRules, RfidBoxEnablesTheRfidPageWhateverTheGeneration) {
    ImageBytes v1 = Generation2Bytes();
    v1[0x2F] = 0x12;
    ShowFile(v1);
    ASSERT_FALSE(window->restrictedCodes[0]->isEnabled());
    std::vector<QWidget*> rfid = {window->edtRfidInactivity,
                                  window->edtRadioInactivity,
                                  window->cbConfig_D2,
                                  window->cbConfig_D5,
                                  window->cbConfig_D3,
                                  window->cbConfig2_D0,
                                  window->edtOutOfFieldTimeToRetransmit};
    for (auto* e : window->continuousCodes) rfid.push_back(e);
    for (auto* e : window->restrictedCodes) rfid.push_back(e);
    for (auto* b : window->continuousZones) rfid.push_back(b);
    for (auto* b : window->restrictedZones) rfid.push_back(b);

    // Every other control keeps its enabling.
    QList<QPair<QWidget*, bool>> others;
    for (QWidget* w : SettingsControls())
        if (std::find(rfid.begin(), rfid.end(), w) == rfid.end())
            others.append({w, w->isEnabled()});

    window->cbConfig_D0->click();  // untick
    for (QWidget* w : rfid) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    window->cbConfig_D0->click();  // tick
    for (QWidget* w : rfid) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (const auto& [w, enabled] : others)
        EXPECT_EQ(w->isEnabled(), enabled) << w->objectName().toStdString();
}
