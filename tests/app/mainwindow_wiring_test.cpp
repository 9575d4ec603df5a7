// Every control reaches its handler: change rules run for programmatic texts too, click rules
// for programmatic ticks, menu entries and shortcuts reach their commands.

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <QUrl>

#include "app/application.h"
#include "resources/catalogue.h"
#include "window_fixture.h"

namespace {

QStringList ActionNames(const QWidget* menuOrBar) {
    QStringList names;
    for (const QAction* a : menuOrBar->actions())
        names << (a->menu() ? a->menu()->objectName() : a->objectName());
    return names;
}

}  // namespace

TEST_F(WindowTest, RangeRulesRunWhenATextIsSetByTheProgram) {
    struct Case {
        const char* edit;
        const char* text;
        int message;  // 0: the rule holds the value without a box
    } cases[] = {
        {"edtNoShortTx", "16", 10854},
        {"edtNoLongTx", "16", 10855},
        {"edtRadioTestAlarmInterval", "256", 10852},
        {"edtMissedAck", "256", 10853},
        {"edtBatteryTestInterval", "256", 10851},
        {"edtDementiaBlockTime", "256", 10856},
        {"edtRfidInactivity", "256", 10857},
        {"edtRadioInactivity", "256", 10858},
        {"edtButtonActivationDelay", "99", 10859},
        {"edtLongDoubleTriplePressTime", "99", 10860},
        {"edtOutOfFieldTimeToRetransmit", "300", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        prompts.Clear();
        auto* edit = Find<QLineEdit>(c.edit);
        if (!edit) continue;
        edit->setText(c.text);
        EXPECT_EQ(prompts.MessageIds(), c.message ? QList<int>{c.message} : QList<int>{});
        EXPECT_NE(edit->text(), c.text);  // the rule replaced it
    }
}

TEST_F(WindowTest, CodeRuleRunsOnTheNewRadioCodeAndAllSixteenDoorCodes) {
    QList<QLineEdit*> edits{window->findChild<QLineEdit*>("edtRadioCodeNew")};
    for (const bool restricted : {false, true}) {
        for (int k = 1; k <= 8; ++k)
            edits << qobject_cast<QLineEdit*>(window->ControlOf(DoorCode(k, restricted)));
    }
    ASSERT_EQ(edits.size(), 17);
    for (QLineEdit* edit : edits) {
        prompts.Clear();
        edit->setText("FFFF");
        EXPECT_EQ(prompts.MessageIds(), QList<int>{10818}) << edit->objectName().toStdString();
    }
    // The old code only shows what the device holds; it has no rule.
    prompts.Clear();
    window->findChild<QLineEdit*>("edtRadioCodeOld")->setText("0000");
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(WindowTest, ClickRulesRunWhenABoxIsTickedByTheProgram) {
    window->findChild<QCheckBox*>("cbRadioTestAlarmActive")->setChecked(true);
    EXPECT_TRUE(window->findChild<QLineEdit*>("edtRadioTestAlarmInterval")->isEnabled());
    EXPECT_TRUE(window->findChild<QLineEdit*>("edtMissedAck")->isEnabled());
    EXPECT_TRUE(window->findChild<QCheckBox*>("cbConfig_D6")->isEnabled());

    window->findChild<QCheckBox*>("cbConfig_D0")->setChecked(false);
    EXPECT_FALSE(window->findChild<QLineEdit*>("edtRfidInactivity")->isEnabled());
    EXPECT_FALSE(window->ControlOf(Zone(15, true))->isEnabled());
}

TEST_F(WindowTest, ZoneBoxesTellTheirRuleWhichZoneWasTicked) {
    struct Case {
        int zone;
        bool tickRestricted;  // tick it in the restricted group, else in the continuous one
    } cases[] = {{0, true}, {3, true}, {7, false}, {15, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        auto* mine = qobject_cast<QCheckBox*>(window->ControlOf(Zone(c.zone, c.tickRestricted)));
        auto* other = qobject_cast<QCheckBox*>(window->ControlOf(Zone(c.zone, !c.tickRestricted)));
        other->setChecked(true);
        mine->setChecked(true);
        EXPECT_FALSE(other->isChecked());
        EXPECT_TRUE(mine->isChecked());
    }
}

TEST_F(WindowTest, PressTimeIsCheckedWhenTheUserLeavesTheEdit) {
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->setFocus(Qt::TabFocusReason);
    window->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")
        ->setText(QString("0") + QLocale().decimalPoint() + "1");
    EXPECT_TRUE(prompts.records.isEmpty());  // a short time may be on its way while typing
    window->findChild<QLineEdit*>("edtDementiaBlockTime")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10860});
}

TEST_F(WindowTest, NewEntriesHandTheirOwnEntryToTheCommand) {
    // Without templates each entry names the template it looked for.
    struct Case {
        QAction* entry;
        const char* file;
    } cases[] = {{window->findChild<QAction*>("mnuFileNewKorbiV2"), "default_v2.bin"},
                 {window->findChild<QAction*>("mnuFileNewKorbiV1"), "default_v1.bin"}};
    for (const Case& c : cases) {
        prompts.Clear();
        c.entry->trigger();
        ASSERT_EQ(prompts.MessageIds(), QList<int>{10811});
        EXPECT_TRUE(prompts.records[0].text.contains(c.file))
            << prompts.records[0].text.toStdString();
    }
    EXPECT_EQ(window->findChild<QAction*>("mnuFileNewKorbiV2")->property("Tag").toInt(), 2);
    EXPECT_EQ(window->findChild<QAction*>("mnuFileNewKorbiV1")->property("Tag").toInt(), 1);
}

TEST_F(WindowTest, MenusHaveTheirEntriesInOrder) {
    EXPECT_EQ(window->menuBar()->objectName(), "MainMenu1");
    EXPECT_EQ(ActionNames(window->menuBar()), QStringList({"mnuFile", "mnuComm", "mnuHelp"}));
    EXPECT_EQ(ActionNames(window->findChild<QMenu*>("mnuFile")),
              QStringList({"mnuFileNew", "mnuFileOpen", "mnuFileRecent", "mnuFileSave",
                           "mnuFileSaveAs", "mnuDelimiter1", "mnuFileSelectDefaultFolder",
                           "mnuDelimter2", "mnuFileExit"}));
    EXPECT_EQ(ActionNames(window->findChild<QMenu*>("mnuFileNew")),
              QStringList({"mnuFileNewKorbiV2", "mnuFileNewKorbiV1"}));
    EXPECT_EQ(ActionNames(window->findChild<QMenu*>("mnuComm")),
              QStringList({"mnuCommReadFromDevice", "mnuCommWriteToDevice", "mnuCommWriteSeries",
                           "mnuCommVerifyAfterWrite", "N1", "mnuCommChangeIdCode", "N2",
                           "mnuCommShowJournal"}));
    EXPECT_EQ(ActionNames(window->findChild<QMenu*>("mnuHelp")),
              QStringList({"mnuHelpManual", "mnuHelpAbout"}));
    for (QAction* separator :
         {window->findChild<QAction*>("mnuDelimiter1"), window->findChild<QAction*>("mnuDelimter2"),
          window->findChild<QAction*>("N1"), window->findChild<QAction*>("N2")})
        EXPECT_TRUE(separator->isSeparator());
}

TEST_F(WindowTest, ShortcutsAreCtrlLettersShownAsStrg) {
    struct Case {
        QAction* entry;
        const char* keys;  // "" for none
    } cases[] = {
        {window->findChild<QAction*>("mnuFileNewKorbiV2"), "Ctrl+N"},
        {window->findChild<QAction*>("mnuFileNewKorbiV1"), ""},
        {window->findChild<QAction*>("mnuFileOpen"), "Ctrl+O"},
        {window->findChild<QAction*>("mnuFileSave"), "Ctrl+S"},
        {window->findChild<QAction*>("mnuFileSaveAs"), ""},
        {window->findChild<QAction*>("mnuFileSelectDefaultFolder"), ""},
        {window->findChild<QAction*>("mnuFileExit"), "Ctrl+Q"},
        {window->findChild<QAction*>("mnuCommReadFromDevice"), "Ctrl+R"},
        {window->findChild<QAction*>("mnuCommWriteToDevice"), "Ctrl+W"},
        {window->findChild<QAction*>("mnuCommChangeIdCode"), ""},
        {window->findChild<QAction*>("mnuCommShowJournal"), ""},
        {window->findChild<QAction*>("mnuHelpManual"), "F1"},
        {window->findChild<QAction*>("mnuHelpAbout"), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.entry->shortcut().toString(QKeySequence::PortableText), c.keys)
            << c.entry->objectName().toStdString();

    // With Qt's German texts loaded, as the program does, the menu shows "Strg+", and the
    // window's numbers are German whatever the process's locale.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(InstallGermanToolkitTexts(*QCoreApplication::instance()));
    MakeWindow();
    EXPECT_EQ(window->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->text(), "2,5");
    QLocale::setDefault(saved);
    EXPECT_EQ(window->findChild<QAction*>("mnuFileNewKorbiV2")
                  ->shortcut()
                  .toString(QKeySequence::NativeText),
              QString(ToolkitText::ShortcutModifier) + "N");
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

TEST_F(WindowTest, ShortcutKeysTriggerTheirEntries) {
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    struct Case {
        QAction* entry;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers = Qt::ControlModifier;
    } cases[] = {{window->findChild<QAction*>("mnuFileNewKorbiV2"), Qt::Key_N},
                 {window->findChild<QAction*>("mnuCommReadFromDevice"), Qt::Key_R},
                 {window->findChild<QAction*>("mnuCommWriteToDevice"), Qt::Key_W},
                 {window->findChild<QAction*>("mnuFileExit"), Qt::Key_Q},
                 {window->findChild<QAction*>("mnuHelpManual"), Qt::Key_F1, Qt::NoModifier}};
    QList<QAction*> all = {window->findChild<QAction*>("mnuFileNewKorbiV1")};
    for (const Case& c : cases) all << c.entry;
    // Only the routing is under test here: the commands themselves stay out of it.
    QList<QSignalSpy*> spies;
    for (QAction* a : all) {
        QObject::disconnect(a, nullptr, window.get(), nullptr);
        spies << new QSignalSpy(a, &QAction::triggered);
    }
    for (const Case& c : cases) {
        for (QSignalSpy* s : spies) s->clear();
        QTest::keyClick(window.get(), c.key, c.modifiers);
        for (int i = 0; i < all.size(); ++i)
            EXPECT_EQ(spies[i]->count(), all[i] == c.entry ? 1 : 0)
                << c.entry->objectName().toStdString() << " / "
                << all[i]->objectName().toStdString();
    }
    qDeleteAll(spies);
}

// Stands in for the desktop's browser.
class Browser : public QObject {
    Q_OBJECT
  public slots:
    void Show(const QUrl& url) { shown << url; }

  public:
    QList<QUrl> shown;
};

// Hilfe > Handbuch (and F1) hands the shipped manual to the desktop's browser; without one the
// box says where it belongs.
TEST_F(WindowTest, HandbuchShowsTheShippedManualInTheBrowser) {
    Browser browser;
    QDesktopServices::setUrlHandler("file", &browser, "Show");
    window->onManualTriggered();
    EXPECT_EQ(prompts.MessageIds(), QList<int>{20540});
    const QString manual = env.programFolder + "handbuch.html";
    ASSERT_TRUE(QDir().mkpath(env.programFolder));
    ASSERT_TRUE(QFile::copy(KORBI_SOURCE_DIR "/packaging/handbuch.html", manual));
    window->onManualTriggered();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(prompts.MessageIds(), QList<int>{20540});
    EXPECT_EQ(browser.shown, QList<QUrl>{QUrl::fromLocalFile(manual)});
}

#include "mainwindow_wiring_test.moc"
