// The main window and its dialogs as a screen reader and the keyboard reach them: every control
// is spoken by its own label (never by its group's title alone), and the access keys of what is
// on screen at one time never clash.

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <set>

#include "app/about.h"
#include "app/codedialog.h"
#include "app/folderdialog.h"
#include "app/seriesdialog.h"
#include "app/waitdialog.h"
#include "app/windows.h"
#include "window_fixture.h"

namespace {

QString Spoken(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(what) : QString();
}

bool IsControl(QWidget* w) {
    // A spin box's own edit is spoken as the spin box.
    if (qobject_cast<QAbstractSpinBox*>(w->parentWidget())) return false;
    return (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
            qobject_cast<QAbstractSpinBox*>(w)) &&
           w->focusPolicy() != Qt::NoFocus;
}

// The access keys of everything that top shows now: labels, buttons, group boxes, menu bar.
std::multiset<QChar> AccessKeys(QWidget* top) {
    std::multiset<QChar> keys;
    auto add = [&keys](const QString& text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) keys.insert(key.toString().back().toUpper());
    };
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) add(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add(button->text());
        if (auto* box = qobject_cast<QGroupBox*>(w)) add(box->title());
    }
    if (auto* window = qobject_cast<QMainWindow*>(top))
        for (QAction* menu : window->menuBar()->actions()) add(menu->text());
    return keys;
}

}  // namespace

TEST_F(WindowTest, EveryControlIsSpokenByItsOwnLabelAndAccessKeysNeverClash) {
    env.arguments = QStringList{"korbi-programmer"};
    AppWindows windows = CreateWindows(env);
    TfrmMain* main = windows.main.get();
    TfrmSeries series(*main);
    auto* pages = main->findChild<QTabWidget*>("pgMain");

    struct Screen {
        const char* what;
        QWidget* top;
        int page;  // of the main window; -1 for a dialog
    } screens[] = {
        {"Allgemein", main, 0},
        {"RFID", main, 1},
        {"Wähle Standardverzeichnis", windows.selectDirectory.data(), -1},
        {"Funkkennung ändern", windows.changeCode.data(), -1},
        {"Info", windows.about.data(), -1},
        {"Warten", windows.receiveRadio.data(), -1},
        {"Serie schreiben", &series, -1},
    };
    for (const Screen& screen : screens) {
        if (screen.page >= 0) pages->setCurrentIndex(screen.page);
        std::map<QString, QString> heard;  // what is spoken -> the control's name
        for (QWidget* w : screen.top->findChildren<QWidget*>()) {
            if (!IsControl(w) || !w->isVisibleTo(screen.top)) continue;
            const QString spoken =
                Spoken(w, QAccessible::Name) + " / " + Spoken(w, QAccessible::Description);
            EXPECT_FALSE(Spoken(w, QAccessible::Name).isEmpty())
                << screen.what << ": " << w->objectName().toStdString();
            const auto [at, fresh] = heard.emplace(spoken, w->objectName());
            EXPECT_TRUE(fresh) << screen.what << ": " << w->objectName().toStdString() << " and "
                               << at->second.toStdString() << " are both \"" << spoken.toStdString()
                               << '"';
        }
        const std::multiset<QChar> keys = AccessKeys(screen.top);
        for (QChar key : keys)
            EXPECT_EQ(keys.count(key), 1u) << screen.what << ": Alt+" << QString(key).toStdString();
    }

    const struct {
        QWidget* top;
        const char* control;
        const char* name;
        const char* description;
    } named[] = {
        {main, "cbConfig2_D1", "Langdrücken aktiv", "Anwenderalarme"},
        {main, "edtRadioCodeNew", "Funkkennung Neu", "Funkparameter"},
        {main, "edtRadioCodeOld", "Funkkennung Aktuell", "Funkparameter"},
        {main, "cbZoneB_R", "Zone B",
         "Kennnummern und Zonen mit keiner oder begrenzter Sendewiederholung"},
        {main, "edtDoorCode8", "Nummer 8", "Kennnummern und Zonen mit steter Sendewiederholung"},
        {main, "btnWriteToDevice", "Schreiben zum K-ORBI", ""},
        {windows.changeCode.data(), "edtNewCode", "Neue Funkkennung", ""},
        {windows.selectDirectory.data(), "edtActiveConfigDirectory", "Standardverzeichnis",
         nullptr},
    };
    for (const auto& n : named) {
        auto* w = n.top->findChild<QWidget*>(n.control);
        ASSERT_TRUE(w) << n.control;
        EXPECT_EQ(Spoken(w, QAccessible::Name), QString::fromUtf8(n.name)) << n.control;
        if (n.description)
            EXPECT_EQ(Spoken(w, QAccessible::Description), QString::fromUtf8(n.description))
                << n.control;
    }
}

// A check box's label is part of it: a click on the label and the label's access key tick the
// box as a click on the box does; a greyed box stays as it is.
TEST_F(WindowTest, ClickingACheckBoxLabelOrPressingItsAccessKeyTicksTheBox) {
    window->LocaliseCaptions();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* box = Find<QCheckBox>("cbConfig2_D2");
    const bool before = box->isChecked();
    QTest::mouseClick(Find<QLabel>("lblDoublePressEnabled"), Qt::LeftButton);
    EXPECT_NE(box->isChecked(), before);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    // The access key clicks the box with a short animation.
    for (int tries = 0; tries < 100 && box->isChecked() != before; ++tries) QTest::qWait(20);
    EXPECT_EQ(box->isChecked(), before);

    auto* greyed = Find<QCheckBox>("cbConfig_D6");
    ASSERT_FALSE(greyed->isEnabled());
    const bool greyedBefore = greyed->isChecked();
    QTest::mouseClick(Find<QLabel>("lblTransmitTestAlarmWithButtonCounterValue"), Qt::LeftButton);
    EXPECT_EQ(greyed->isChecked(), greyedBefore);
}
