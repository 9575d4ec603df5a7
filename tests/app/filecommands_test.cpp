// The file commands on a started window: New, Open, a drop, Save and Save As, with real files
// in a temporary folder and a scripted user.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDropEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMimeData>
#include <functional>
#include <optional>

#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/started_window.h"
#include "resources/catalogue.h"

namespace {

const QString kProgram = " - K-ORBI Programmiergerät";

class WindowFileCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        w = m.Start();
        folder = m.root.path() + "/Anlagen/";
        QDir().mkpath(folder);
        m.prompts.Clear();
    }
    void TearDown() override { SetWriteFaultForTests(nullptr); }

    // A good configuration file (v2.x template with 5 short and 2 long transmissions).
    QString Good(const QString& name, uint8_t txCounts = 0x52) {
        WriteBytes(folder + name, TemplateWith(Addr::TxCounts, txCounts));
        return folder + name;
    }
    void Open(const QString& path) {
        m.prompts.paths << path;
        w->onOpenTriggered();
    }
    void SaveAs(const QString& typed, QList<BoxAnswer> answers = {}) {
        m.prompts.paths << typed;
        m.prompts.answers = answers;
        w->onSaveAsTriggered();
    }
    QStringList Files() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

    Machine m{Machine::WithShippedFiles};
    std::unique_ptr<MainWindow> w;
    QString folder;
};

}  // namespace

TEST_F(WindowFileCommands, OpenAsksInTheDefaultFolderThenAtTheCurrentFile) {
    Open("");  // cancelled
    ASSERT_EQ(m.prompts.records.size(), 1);
    const FileDialogRequest first = m.prompts.records[0].request;
    EXPECT_EQ(first.title, "Öffnen");
    // What a drop takes, and every file on request.
    EXPECT_EQ(first.filter, "K-ORBI Konfigurationsdatei|*.Korbi;*.bin|Alle Dateien|*");
    EXPECT_EQ(first.fileName, "*.Korbi");
    EXPECT_EQ(first.startFolder, w->defaultFolder);

    w->findChild<QLineEdit*>("edtRadioCodeNew")->setText("12AB");
    Open(Good("anlage.Korbi"));
    EXPECT_EQ(w->windowTitle(), "anlage.Korbi" + kProgram);
    EXPECT_EQ(w->configOrigin, OriginOpenedFile);
    EXPECT_EQ(w->findChild<QLineEdit*>("edtRadioCodeNew")->text(), "");
    EXPECT_EQ(w->findChild<QLineEdit*>("edtNoShortTx")->text(), "5");
    EXPECT_EQ(w->StatusText(), "Standardkonfiguration geladen");  // Open writes no status

    // New keeps the current file, so the next Open still starts at it.
    w->findChild<QLineEdit*>("edtRadioCodeNew")->setText("12AB");
    w->onNewTriggered(w->findChild<QAction*>("mnuFileNewKorbiV2"));
    EXPECT_EQ(w->windowTitle(), "(Standard)" + kProgram);
    EXPECT_EQ(w->configOrigin, OriginTemplate);
    EXPECT_EQ(w->findChild<QLineEdit*>("edtRadioCodeNew")->text(), "");
    m.prompts.Clear();
    Open("");
    EXPECT_EQ(m.prompts.records[0].request.fileName, "anlage.Korbi");
    EXPECT_EQ(m.prompts.records[0].request.startFolder, WithoutTrailingDelimiter(folder));
}

TEST_F(WindowFileCommands, FilesThatAreNotExactly256BytesChangeNothing) {
    Open(Good("anlage.Korbi"));
    WriteBytes(folder + "short.Korbi", Counting(255));
    WriteBytes(folder + "long.bin", Counting(257));
    WriteBytes(folder + "empty.korbi", QByteArray());
    QDir(folder).mkdir("x.korbi");
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + "x.Korbi").constData(), 0600), 0);
    const QMap<QString, QString> view = ViewOf(*w);

    // A wrong size is what the text says; a name that is no file gets its cause below it.
    const struct {
        QString name;
        int cause;
    } cases[] = {
        {"short.Korbi", 0},        {"long.bin", 0},     {"empty.korbi", 0},
        {"missing.Korbi", ENOENT}, {"x.korbi", EISDIR}, {"x.Korbi", EISDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        for (const bool drop : {false, true}) {
            m.prompts.Clear();
            if (drop)
                w->HandleDroppedFiles({folder + c.name});
            else
                Open(folder + c.name);
            EXPECT_EQ(m.prompts.MessageIds(), QList<int>{10822});
            EXPECT_EQ(m.prompts.records.last().text,
                      WithCause("Fehlerhafte Dateigröße!", FileErrorCause(c.cause)));
            EXPECT_EQ(w->windowTitle(), "anlage.Korbi" + kProgram);
            EXPECT_EQ(w->currentFileName, folder + "anlage.Korbi");
            EXPECT_EQ(ViewOf(*w), view);
        }
    }
}

// Files arrive as a file manager drops them: a text/uri-list whose names are percent-encoded
// bytes, UTF-8 or not.
TEST_F(WindowFileCommands, DropsTakeOneConfigurationFile) {
    const QString good = Good("ANLAGE.KORBI");
    WriteBytes(folder + "Default_v1.BIN", Machine::Shipped("Default_v1.b"));
    WriteBytes(folder + "anlage.txt", TemplateWith(Addr::TxCounts, 0x52));
    // A name from an old Latin-1 system, which no QString of Qt's own can spell.
    const QString latin1 = FileNameFromBytes(QFile::encodeName(folder) + "B\xFCro.Korbi");
    ASSERT_EQ(rename(QFile::encodeName(Good("latin1.Korbi")), FileNameBytes(latin1)), 0);

    const struct {
        QStringList paths;
        QList<int> boxes;
        QString title;
    } cases[] = {
        {{good, good}, {10807}, "(Standard)"},
        {{}, {10807}, "(Standard)"},
        {{folder + "anlage.txt"}, {10808}, "(Standard)"},
        {{"http://example.org/anlage.korbi"}, {10808}, "(Standard)"},
        {{folder + "Default_v1.BIN"}, {}, "Default_v1.BIN"},
        {{latin1}, {}, FileNamePart(latin1)},
        {{"file://localhost" + folder + "Default_v1.BIN"}, {}, "Default_v1.BIN"},
        {{good}, {}, "ANLAGE.KORBI"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paths.join(",").toStdString());
        m.prompts.Clear();
        QByteArray uris;
        for (const QString& path : c.paths)
            uris += (path.startsWith('/') ? "file://" + FileNameBytes(path).toPercentEncoding("/")
                                          : path.toUtf8()) +
                    "\r\n";
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uris);
        // As from a file manager: the drag enters the window first, which makes it the target.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(w.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &drop);
        EXPECT_EQ(m.prompts.MessageIds(), c.boxes);
        EXPECT_EQ(w->windowTitle(), c.title + kProgram);
    }
    EXPECT_EQ(w->StatusText(), "Konfigurationsdatei 'ANLAGE.KORBI' geöffnet");
    EXPECT_EQ(w->findChild<QLineEdit*>("edtNoShortTx")->text(), "5");
    unlink(FileNameBytes(latin1).constData());  // a name the temporary folder cannot spell
}

TEST_F(WindowFileCommands, ADropKeepsTheGeneration2ControlsWhereOpenSetsThem) {
    WriteBytes(folder + "v1.Korbi", Machine::Shipped("Default_v1.b"));
    ASSERT_TRUE(w->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->isEnabled());
    w->HandleDroppedFiles({folder + "v1.Korbi"});
    EXPECT_EQ(w->windowTitle(), "v1.Korbi" + kProgram);
    EXPECT_TRUE(w->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->isEnabled());
    Open(folder + "v1.Korbi");
    EXPECT_FALSE(w->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->isEnabled());
}

TEST_F(WindowFileCommands, SaveWritesInPlaceOnlyForAFile) {
    // Bound to the template: Save is Save As, starting in the default folder.
    m.prompts.paths << "";
    w->onSaveTriggered();
    ASSERT_EQ(m.prompts.records.size(), 1);
    EXPECT_EQ(m.prompts.records[0].type, PromptRecord::SaveFile);
    EXPECT_EQ(m.prompts.records[0].request.title, "Speichern unter");
    EXPECT_EQ(m.prompts.records[0].request.filter, "K-ORBI Konfigurationsdatei|*.Korbi");
    EXPECT_EQ(m.prompts.records[0].request.fileName, "Default_v2.Korbi");
    EXPECT_EQ(m.prompts.records[0].request.startFolder, w->defaultFolder);

    const QString path = Good("anlage.Korbi");
    Open(path);
    w->findChild<QLineEdit*>("edtNoShortTx")->setText("7");
    m.prompts.Clear();
    w->onSaveTriggered();
    EXPECT_TRUE(m.prompts.records.isEmpty());
    EXPECT_EQ(ReadBytes(path), TemplateWith(Addr::TxCounts, 0x72));
    EXPECT_EQ(w->StatusText(), "Konfigurationsdatei gespeichert");
    EXPECT_EQ(w->windowTitle(), "anlage.Korbi" + kProgram);
}

TEST_F(WindowFileCommands, SaveAsAlwaysWritesAKorbiFile) {
    // A name that differs only in letter case is another file: it is neither asked for nor
    // written over.
    const QString other = Good("Anlage.Korbi", 0x11);
    const struct {
        QString typed;
        QString written;
    } cases[] = {
        {"anlage", "anlage.Korbi"},
        {"anlage.bin", "anlage.Korbi"},
        {"ANLAGE", "ANLAGE.Korbi"},
        {"zwei.Korbi", "zwei.Korbi"},
        {"drei.", "drei.Korbi"},
        {QString(249, 'a'), QString(249, 'a') + ".Korbi"},  // the longest name Linux allows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        m.prompts.Clear();
        SaveAs(folder + c.typed);
        EXPECT_TRUE(m.prompts.MessageIds().isEmpty());
        EXPECT_EQ(w->currentFileName, folder + c.written);
        EXPECT_EQ(w->configOrigin, OriginSavedFile);
        EXPECT_EQ(ReadBytes(folder + c.written), Machine::Shipped("Default_v2.b"));
        EXPECT_EQ(w->windowTitle(), c.written + kProgram);
        QFile::remove(folder + c.written);
    }
    EXPECT_EQ(ReadBytes(other), TemplateWith(Addr::TxCounts, 0x11));
    EXPECT_EQ(Files(), QStringList{"Anlage.Korbi"});  // no anlage.bin, no temporary files
}

// Save As proposes a name that says what is saved; a wildcard in the name saves nothing.
TEST_F(WindowFileCommands, SaveAsProposesANameAndNeverSavesAWildcard) {
    QByteArray read = Machine::Shipped("Default_v2.b");
    read.replace(Addr::RadioIdCode, 2, "\x12\xAB");
    const std::pair<std::function<void()>, QString> cases[] = {
        {[] {}, "Default_v2.Korbi"},
        {[&] { w->onNewTriggered(w->findChild<QAction*>("mnuFileNewKorbiV1")); },
         "Default_v1.Korbi"},
        {[&] { Open(Good("anlage.bin")); }, "anlage.Korbi"},
        {[&] {
             w->ShowJournalImage(read, {"heute", "12AB"});
         },
         "12AB_" + QDate::currentDate().toString("yyyy-MM-dd") + ".Korbi"},
    };
    for (const auto& [show, proposed] : cases) {
        show();
        m.prompts.Clear();
        SaveAs("");
        EXPECT_EQ(m.prompts.records.value(0).request.fileName, proposed);
    }
    for (const QString typed : {"*.Korbi", "anlage?.Korbi", "*"}) {
        m.prompts.Clear();
        SaveAs(folder + typed);
        EXPECT_EQ(m.prompts.MessageIds(), QList<int>{10812}) << typed.toStdString();
    }
    EXPECT_EQ(w->configOrigin, OriginDevice);
    EXPECT_EQ(Files(), QStringList{"anlage.bin"});
}

TEST_F(WindowFileCommands, SaveAsNeverReplacesAFileWithoutAsking) {
    const QString old = Good("anlage.Korbi", 0x11);
    const struct {
        QString typed;
        QList<BoxAnswer> answers;
        bool written;
    } cases[] = {
        {"anlage.Korbi", {BoxAnswer::No}, false},
        {"anlage", {BoxAnswer::Closed}, false},
        // The file written is anlage.Korbi, although the name typed was another one.
        {"anlage.bin", {BoxAnswer::No}, false},
        {"anlage.bin", {BoxAnswer::Yes}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        m.prompts.Clear();
        SaveAs(folder + c.typed, c.answers);
        ASSERT_EQ(m.prompts.MessageIds(), QList<int>{10813});
        EXPECT_EQ(m.prompts.records.last().kind, BoxKind::Information);
        EXPECT_EQ(m.prompts.records.last().buttons, BoxButtons::YesNo);
        EXPECT_EQ(ReadBytes(old), c.written ? Machine::Shipped("Default_v2.b")
                                            : TemplateWith(Addr::TxCounts, 0x11));
        EXPECT_EQ(w->windowTitle(), (c.written ? "anlage.Korbi" : "(Standard)") + kProgram);
        EXPECT_EQ(w->configOrigin, c.written ? OriginSavedFile : OriginTemplate);
    }
    EXPECT_EQ(Files(), QStringList{"anlage.Korbi"});
}

TEST_F(WindowFileCommands, SaveAsRefusesAReadOnlyFile) {
    const QString old = Good("anlage.Korbi", 0x11);
    chmod(QFile::encodeName(old).constData(), 0444);
    // As the superuser the check runs as a user who may not write the file.
    chmod(QFile::encodeName(m.root.path()).constData(), 0755);
    chmod(QFile::encodeName(folder).constData(), 0777);
    auto check = [&] {
        bool ok = true;
        for (const QString typed : {"anlage.Korbi", "anlage.bin"}) {
            m.prompts.Clear();
            SaveAs(folder + typed);
            ok = ok && m.prompts.MessageIds() == QList<int>{10801} &&
                 m.prompts.records.last().kind == BoxKind::Information &&
                 m.prompts.records.last().buttons == BoxButtons::Ok &&
                 w->windowTitle() == "(Standard)" + kProgram;
        }
        return ok;
    };
    EXPECT_TRUE(RunningAsSuperuser() ? RunAsUnprivilegedUser(check) : check());
    EXPECT_EQ(ReadBytes(old), TemplateWith(Addr::TxCounts, 0x11));
    EXPECT_EQ(Files(), QStringList{"anlage.Korbi"});
}

TEST_F(WindowFileCommands, AFailedSaveLeavesTheOldFileWhole) {
    const QString path = Good("anlage.Korbi", 0x11);
    Open(path);
    w->findChild<QLineEdit*>("edtNoShortTx")->setText("7");
    SetWriteFaultForTests([](const QString&) { return true; });  // the disk is full
    m.prompts.Clear();
    w->onSaveTriggered();
    EXPECT_EQ(m.prompts.MessageIds(), QList<int>{10812});
    EXPECT_EQ(m.prompts.records.last().text, WithCause(Text(10812), FileErrorCause(ENOSPC)));
    EXPECT_EQ(ReadBytes(path), TemplateWith(Addr::TxCounts, 0x11));

    // Save As has bound the window to the new name before the write failed.
    m.prompts.Clear();
    SaveAs(folder + "neu");
    EXPECT_EQ(m.prompts.MessageIds(), QList<int>{10812});
    // The edits are in no file: the title still marks them.
    EXPECT_EQ(w->windowTitle(), "*neu.Korbi" + kProgram);
    EXPECT_EQ(w->configOrigin, OriginSavedFile);
    SetWriteFaultForTests(nullptr);
    EXPECT_EQ(Files(), QStringList{"anlage.Korbi"});

    // A folder in the way of the name cannot be written either, nor can a name too long.
    QDir(folder).mkdir("ordner.Korbi");
    m.prompts.Clear();
    SaveAs(folder + "ordner", {BoxAnswer::Yes});
    EXPECT_EQ(m.prompts.MessageIds(), (QList<int>{10813, 10812}));
    EXPECT_TRUE(QFileInfo(folder + "ordner.Korbi").isDir());
    m.prompts.Clear();
    SaveAs(folder + QString(250, 'a'));
    EXPECT_EQ(m.prompts.records.last().text, WithCause(Text(10812), FileErrorCause(ENAMETOOLONG)));
}

TEST_F(WindowFileCommands, AForeignProductIsShownButKeepsTheTitle) {
    Open(Good("anlage.Korbi"));
    const QString foreign = folder + "fremd.Korbi";
    WriteBytes(foreign, TemplateWith(Addr::FirmwareType, 5));
    m.prompts.Clear();
    Open(foreign);
    EXPECT_EQ(m.prompts.MessageIds(), QList<int>{10820});
    EXPECT_EQ(w->windowTitle(), "anlage.Korbi" + kProgram);
    EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareType")->text(), "unknown");
    EXPECT_EQ(w->currentFileName, foreign);

    // Save goes to the file just opened, not to the one the title names.
    w->findChild<QLineEdit*>("edtNoShortTx")->setText("9");
    w->onSaveTriggered();
    QByteArray expected = TemplateWith(Addr::FirmwareType, 5);
    expected[Addr::TxCounts] = static_cast<char>(0x93);  // 9 short, 3 long
    EXPECT_EQ(ReadBytes(foreign), expected);
    EXPECT_EQ(ReadBytes(folder + "anlage.Korbi"), TemplateWith(Addr::TxCounts, 0x52));
}

namespace {

// The start values of the settings view, as an empty window shows them under a German locale.
QMap<QString, QString> StartValues() {
    QMap<QString, QString> v{
        {"edtRadioCodeOld", ""},
        {"edtRadioCodeNew", ""},
        {"edtNoShortTx", "3"},
        {"edtNoLongTx", "3"},
        {"cbRadioTestAlarmActive", "-"},
        {"edtRadioTestAlarmInterval", "9"},
        {"cbConfig_D6", "-"},
        {"edtMissedAck", "19"},
        {"edtBatteryTestInterval", "24"},
        {"edtButtonCounter", ""},
        {"edtTotalTxCounter", ""},
        {"cbConfig_D4", "ticked"},
        {"cbConfig2_D1", "-"},
        {"cbConfig2_D2", "-"},
        {"cbConfig2_D3", "-"},
        {"edtLongDoubleTriplePressTime", "2,5"},
        {"edtButtonActivationDelay", "0,1"},
        {"edtDementiaBlockTime", "0"},
        {"cbConfig_D1", "ticked"},
        {"edtFirmwareVersion", ""},
        {"edtProductionDate", ""},
        {"edtFirmwareType", ""},
        {"cbConfig_D0", "ticked"},
        {"edtRfidInactivity", "3"},
        {"edtRadioInactivity", "25"},
        {"cbConfig_D2", "ticked"},
        {"cbConfig_D5", "-"},
        {"cbConfig_D3", "-"},
        {"cbConfig2_D0", "ticked"},
        {"edtOutOfFieldTimeToRetransmit", "10"},
    };
    for (int k = 1; k <= 8; ++k) {
        v[QString("edtDoorCode%1").arg(k)] = "";
        v[QString("edtDoorCode%1_R").arg(k)] = "";
    }
    for (int zone = 0; zone < 16; ++zone) {
        const QString digit = QString::number(zone, 16).toUpper();
        v["cbZone" + digit] = zone < 4 ? "ticked" : "-";
        v["cbZone" + digit + "_R"] = "-";
    }
    return v;
}

}  // namespace

TEST(NewTemplate, TheV2TemplateShowsTheStartValuesOfAnEmptyWindow) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Machine bareMachine;  // no template: the window keeps its start values
    auto bare = bareMachine.Start();
    Machine m(Machine::WithShippedFiles);
    auto w = m.Start();
    QLocale::setDefault(saved);

    const QMap<QString, QString> start = ViewOf(*bare);
    const QMap<QString, QString> shown = ViewOf(*w);
    // The information fields show what the template itself holds.
    const QMap<QString, QString> information{{"edtButtonCounter", "0"},
                                             {"edtTotalTxCounter", "0"},
                                             {"edtFirmwareVersion", "2.0"},
                                             {"edtProductionDate", "000000"},
                                             {"edtFirmwareType", "K-ORBI"}};
    const QMap<QString, QString> expected = StartValues();
    ASSERT_EQ(expected.size(), 30 + 16 + 32);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        EXPECT_EQ(start.value(it.key(), "missing"), it.value());
        EXPECT_EQ(shown.value(it.key(), "missing"), information.value(it.key(), it.value()));
        // The template leaves every control enabled or greyed as an empty window has it.
        const auto* before = bare->findChild<QWidget*>(it.key());
        const auto* after = w->findChild<QWidget*>(it.key());
        ASSERT_TRUE(before && after);
        EXPECT_EQ(after->isEnabled(), before->isEnabled());
    }
}

TEST_F(WindowFileCommands, TheTitleNamesWhereTheConfigurationCameFrom) {
    w->currentFileName = folder + "anlage.Korbi";
    const struct {
        ConfigOrigin origin;
        QString first;
    } cases[] = {
        {OriginTemplate, "(Standard)"},
        {OriginOpenedFile, "anlage.Korbi"},
        {OriginSavedFile, "anlage.Korbi"},
        {OriginDevice, "(K-ORBI Auslesen)"},
    };
    for (const auto& c : cases) {
        w->configOrigin = c.origin;
        w->UpdateCaption();
        EXPECT_EQ(w->windowTitle(), c.first + kProgram);
    }
}

TEST_F(WindowFileCommands, ATemplateSavedUnchangedComesBackByteForByte) {
    for (QAction* entry : {w->findChild<QAction*>("mnuFileNewKorbiV1"),
                           w->findChild<QAction*>("mnuFileNewKorbiV2")}) {
        const int generation = entry->property("Tag").toInt();
        SCOPED_TRACE(generation);
        w->onNewTriggered(entry);
        EXPECT_EQ(w->windowTitle(), "(Standard)" + kProgram);
        const QString typed = folder + QString("neu_v%1").arg(generation);
        SaveAs(typed);
        EXPECT_EQ(ReadBytes(typed + ".Korbi"),
                  Machine::Shipped(QString("Default_v%1.b").arg(generation)));
    }
    EXPECT_TRUE(m.prompts.MessageIds().isEmpty());
}

// New finds its template without regard to case, reports a missing or short one and accepts a
// long one.
TEST_F(WindowFileCommands, NewFindsItsTemplateOrReportsWhyNot) {
    const QString installed = m.dataFolder + "Default_v1.bin";
    const QByteArray v1 = Machine::Shipped("Default_v1.b");
    const struct {
        std::optional<QByteArray> installed;  // none: there is no file of that spelling
        QString stray;  // another spelling beside the installed template, or none
        QList<int> boxes;
        QString firmware;
    } cases[] = {
        // A stray copy never hides the template that start-up installs and refreshes.
        {v1, "default_v1.bin", {}, "1.1"},
        {v1, "DEFAULT_V1.BIN", {}, "1.1"},
        // Without the installed spelling any spelling will do.
        {std::nullopt, "DEFAULT_V1.BIN", {}, "1.7"},
        {std::nullopt, "default_v1.bin", {}, "1.7"},
        {Counting(0), "", {10811}, ""},
        {Counting(255), "", {10811}, ""},
        {v1 + "tail", "", {}, "1.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stray.toStdString() + " " +
                     std::to_string(c.installed ? c.installed->size() : -1));
        if (c.installed)
            WriteBytes(installed, *c.installed);
        else
            QFile::remove(installed);
        if (!c.stray.isEmpty())
            WriteBytes(m.dataFolder + c.stray, TemplateWith(Addr::FirmwareVersion, 0x17, 1));
        w->SetStatusText("vorher");
        m.prompts.Clear();
        w->onNewTriggered(w->findChild<QAction*>("mnuFileNewKorbiV1"));
        EXPECT_EQ(m.prompts.MessageIds(), c.boxes);
        if (c.boxes.isEmpty()) {
            EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareVersion")->text(), c.firmware);
        } else {
            EXPECT_EQ(m.prompts.records[0].text,
                      "Datei default_v1.bin wurde nicht im Anwendungsverzeichnis gefunden");
            EXPECT_EQ(w->StatusText(), "");
        }
        if (!c.stray.isEmpty()) QFile::remove(m.dataFolder + c.stray);
    }
}
