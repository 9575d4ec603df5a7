// The window and its dialogs as a screen reader and the keyboard reach them: every control is
// spoken by its own label (never by its group's title alone), the access keys on screen at one
// time never clash, and a check box's label ticks its box.

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <set>

#include "app/codedialog.h"
#include "app/journalview.h"
#include "app/keyboardreach.h"
#include "app/readability.h"
#include "app/seriesdialog.h"
#include "app/windows.h"
#include "support/keyboard_walk.h"
#include "window_fixture.h"

namespace {

QString Spoken(QWidget* widget, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(what) : QString();
}

// The access keys of what top shows now: labels, buttons, group boxes and the menu bar.
QStringList AccessKeys(QWidget* top) {
    QStringList texts;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
        if (auto* box = qobject_cast<QGroupBox*>(w)) texts << box->title();
        if (auto* bar = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < bar->count(); ++i) texts << bar->tabText(i);
    }
    if (auto* window = qobject_cast<QMainWindow*>(top))
        for (QAction* menu : window->menuBar()->actions()) texts << menu->text();
    QStringList keys;
    for (const QString& text : texts)
        if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
            keys << key.toString().right(1).toUpper();
    return keys;
}

}  // namespace

TEST_F(WindowTest, EveryControlIsSpokenByItsOwnLabelAndAccessKeysNeverClash) {
    env.arguments = QStringList{"korbi-programmer"};
    AppWindows windows = CreateWindows(env);
    MainWindow* main = windows.main.get();
    SeriesDialog series(*main);
    JournalWindow journal(main->Jobs().Record().Target(), main);
    MakeDialogs(*main);
    // A dialog, or a page of the main window.
    std::vector<std::pair<QWidget*, int>> screens{{main, 0}, {main, 1}, {&series, -1}};
    for (QDialog* dialog : main->findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
        screens.push_back({dialog, -1});
    for (const auto& [top, page] : screens) {
        if (page >= 0) main->findChild<QTabWidget*>("pgMain")->setCurrentIndex(page);
        const std::string where = top->objectName().toStdString() + std::to_string(page);
        std::set<QString> heard;
        for (QWidget* w : top->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                                 qobject_cast<QAbstractSpinBox*>(w);
            // Lists, tables and texts to read have no label beside them, and need a name too
            // (a table's header is part of its table).
            const bool reading =
                (qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QHeaderView*>(w)) ||
                qobject_cast<QPlainTextEdit*>(w);
            // A spin box's own edit is spoken as the spin box.
            if (!(control || reading) || (control && w->focusPolicy() == Qt::NoFocus) ||
                !w->isVisibleTo(top) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
                continue;
            EXPECT_FALSE(Spoken(w).isEmpty()) << where << ' ' << w->objectName().toStdString();
            EXPECT_TRUE(heard.insert(Spoken(w) + '/' + Spoken(w, QAccessible::Description)).second)
                << where << ": " << w->objectName().toStdString() << " sounds like another";
        }
        const QStringList keys = AccessKeys(top);
        EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size())
            << where << ": " << keys.join(' ').toStdString();
    }
    for (const auto& [name, spoken] :
         {std::pair{"cbConfig2_D1", "Langdrücken aktiv/Anwenderalarme"},
          {"edtRadioCodeOld", "Funkkennung Aktuell/Funkparameter"}}) {
        auto* w = main->findChild<QWidget*>(name);
        EXPECT_EQ(Spoken(w) + '/' + Spoken(w, QAccessible::Description), QString::fromUtf8(spoken));
    }
    EXPECT_EQ(Spoken(main->frmChangeCode->edtNewCode), "Neue Funkkennung");
    // Pages, report buttons and the report menu's entries are reached by their own keys.
    auto* pages = main->findChild<QTabWidget*>("pgMain");
    QStringList keyed{pages->tabText(0), pages->tabText(1)};
    for (const char* name : {"btnReportPdf", "btnReportPrint", "btnReportCsv"})
        keyed << series.findChild<QPushButton*>(name)->text();
    for (QAction* entry : journal.btnJournalReport->menu()->actions()) keyed << entry->text();
    for (const QString& text : keyed)
        EXPECT_FALSE(QKeySequence::mnemonic(text).isEmpty()) << text.toStdString();
}

// The device's own values are read-only and greyed but reached by Tab; a focused check box stands
// in a ring with its label, plain to see in a light and a dark theme (where the highlight is too
// dark to be seen, the ring takes the text's colour); another theme greys the values anew.
TEST_F(WindowTest, DeviceValuesAndFocusedCheckBoxesArePlainToReachAndSee) {
    window->LocaliseCaptions();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::vector<QWidget*> stops = TabStops(Find("edtRadioCodeNew"));
    std::cout << "main window, page Allgemein: " << stops.size() << " Tab stops\n";
    for (const char* name : {"edtRadioCodeOld", "edtButtonCounter", "edtTotalTxCounter",
                             "edtFirmwareVersion", "edtProductionDate", "edtFirmwareType"}) {
        auto* edit = Find<QLineEdit>(name);
        EXPECT_TRUE(edit->isEnabled() && edit->isReadOnly()) << name;
        EXPECT_NE(std::find(stops.begin(), stops.end(), edit), stops.end()) << name;
    }
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Highlight, QColor(0x3a, 0x3f, 0x44));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(0x2b, 0x2b, 0x2b));
    auto* box = Find<QCheckBox>("cbConfig2_D2");
    const QRect row = box->geometry().united(Find("lblDoublePressEnabled")->geometry());
    for (const QPalette& theme : {light, dark}) {
        QApplication::setPalette(theme);
        window->setPalette(theme);
        EXPECT_EQ(Find<QLineEdit>("edtFirmwareType")->palette().color(QPalette::Base),
                  theme.color(QPalette::Disabled, QPalette::Base));
        box->setFocus(Qt::TabFocusReason);
        QWidget* ring = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&ring] { return (ring = FocusRingShown()) && ring->isVisible(); }, 2000));
        EXPECT_TRUE(ring->geometry().contains(row));
        const QColor drawn = ring->grab().toImage().pixelColor(1, ring->height() / 2);
        EXPECT_GE(ContrastRatio(drawn, theme.color(QPalette::Window)), 3.0);
        Find("edtDementiaBlockTime")->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([ring] { return !ring->isVisible(); }, 2000));
    }
    QApplication::setPalette(light);
}

// A click on a check box's label and the label's access key tick the box as a click on the box
// does; a greyed box stays as it is.
TEST_F(WindowTest, ClickingACheckBoxLabelOrPressingItsAccessKeyTicksTheBox) {
    window->LocaliseCaptions();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* box = Find<QCheckBox>("cbConfig2_D2");
    const bool before = box->isChecked();
    QTest::mouseClick(Find<QLabel>("lblDoublePressEnabled"), Qt::LeftButton);
    EXPECT_NE(box->isChecked(), before);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);  // clicks with an animation
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->isChecked() == before; }, 2000));

    auto* greyed = Find<QCheckBox>("cbConfig_D6");
    const bool greyedBefore = greyed->isChecked();
    QTest::mouseClick(Find<QLabel>("lblTransmitTestAlarmWithButtonCounterValue"), Qt::LeftButton);
    EXPECT_EQ(greyed->isChecked(), greyedBefore);
}
