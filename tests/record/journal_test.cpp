#include "record/journal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractItemModel>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <thread>

#include "app/journalview.h"
#include "files/started_window.h"
#include "files/test_folder.h"
#include "record/journaldb.h"
#include "record/journallisting.h"
#include "record/journalschema.h"
#include "record/journalstore.h"
#include "resources/catalogue.h"
#include "resources/msg.h"
#include "support/journal_lines.h"

namespace {

// Lines go in and come out field for field, whatever a file name holds; the filters pick by
// device code (either side, any case) and time; a configuration comes back byte for byte.
TEST(Journal, AppendsLinesThatReadBackAndFilter) {
    qputenv("TZ", "Europe/Berlin");
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), {}};
    const QDateTime march(QDate(2026, 3, 1), QTime(14, 5, 9), QTimeZone(3600));
    struct {
        JournalJob job;
        const char* before;
        const char* after;
        const char* file;
        JournalOutcome outcome;
        int messageId;
        int daysLater;
        int imageFirst;  // -1: no image
    } rows[] = {
        {JournalJob::Read, "4C2D", "4C2D", "", JournalOutcome::Ok, 0, 0, 1},
        {JournalJob::Write, "4C2D", "1A2B", "/tmp/a,b \"c\".Korbi", JournalOutcome::Ok, 0, 1, 2},
        {JournalJob::CodeChange, "7777", "7777", "zwei\nZeilen", JournalOutcome::Failed, 10627, 2,
         -1},
        {JournalJob::Write, "", "", "x.Korbi", JournalOutcome::Aborted, 0, 3, -1},
        {JournalJob::Read, "4c2d", "4c2d", "", JournalOutcome::Ok, 0, -1, 3},  // older, later
        // A read that failed half-way is newer, but its image is no device's configuration.
        {JournalJob::Read, "1A2B", "1A2B", "", JournalOutcome::Failed, 10817, 4, 4},
        // The device written as 1A2B gets a new code; its configuration stays under the old one.
        {JournalJob::CodeChange, "1A2B", "A9F2", "", JournalOutcome::Ok, 0, 5, -1},
    };
    for (const auto& row : rows) {
        JournalEntry entry;
        entry.time = march.addDays(row.daysLater);
        entry.job = row.job;
        entry.codeBefore = row.before;
        entry.codeAfter = row.after;
        entry.fileName = row.file;
        entry.outcome = row.outcome;
        entry.messageId = row.messageId;
        entry.program = JournalProgram::Cli;
        if (row.imageFirst >= 0) entry.image = Counting(kImageSize, row.imageFirst);
        QString warning;
        ASSERT_TRUE(AppendJournal(target, entry, &warning));
        EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
    }
    const QList<QStringList> lines = JournalLines(target);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0][ColTime], "2026-02-28T14:05:09+01:00");  // ordered by time
    EXPECT_EQ(lines[1][ColTime], "2026-03-01T14:05:09+01:00");
    EXPECT_EQ(lines[2][ColJob], "Schreiben");
    EXPECT_EQ(lines[2][ColFileName], "/tmp/a,b \"c\".Korbi");
    EXPECT_EQ(lines[3][ColFileName], "zwei\nZeilen");
    EXPECT_EQ(lines[3][ColOutcome], "Fehler 10627");
    EXPECT_EQ(lines[4][ColOutcome], "abgebrochen");
    EXPECT_EQ(lines[4][ColProgram], "cli");
    EXPECT_FALSE(lines[4][ColLoginName].isEmpty());
    EXPECT_FALSE(lines[4][ColProgramVersion].isEmpty());

    EXPECT_EQ(JournalLines(target, "1a2b").size(), 3);
    EXPECT_EQ(JournalLines(target, "4c2d").size(), 3);
    JournalReader reader;
    QString error;
    ASSERT_TRUE(reader.Open(target, &error));
    const struct {
        JournalFilter filter;
        int lines;
    } filters[] = {
        {{"4C2D", march.addSecs(1), {}}, 1},
        {{"2d", {}, {}}, 3},  // a part of a code
        {{"", march, march.addDays(2)}, 3},
        {{"", {}, march.addSecs(-1)}, 1},
    };
    for (const auto& row : filters) {
        ASSERT_TRUE(reader.Select(row.filter, &error));
        int shown = 0;
        while (reader.NextLine()) ++shown;
        EXPECT_EQ(shown, row.lines) << row.filter.device.toStdString();
        EXPECT_EQ(reader.Count(row.filter, &error), row.lines);
    }
    // The newest configuration of a device is the one by time, not by the order of storing.
    QString time;
    EXPECT_EQ(reader.LatestImage("4c2d", &time, &error), Counting(kImageSize, 1));
    EXPECT_EQ(reader.LatestImage("1A2B", &time, &error), Counting(kImageSize, 2));
    EXPECT_EQ(lines[5][ColOutcome], "Fehler 10817");
    EXPECT_TRUE(reader.LatestImage("7777", &time, &error).isEmpty());
    QString recordedUnder;
    EXPECT_EQ(reader.LatestImage("a9f2", &time, &error, &recordedUnder), Counting(kImageSize, 2));
    EXPECT_EQ(recordedUnder, "1A2B");
    EXPECT_EQ(time, lines[2][ColTime]);
}

// The window and korbi-cli append at the same moment: every line arrives.
TEST(Journal, TwoWritersAtOnceLoseNoLine) {
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), {}};
    constexpr int kLinesEach = 40;
    auto writer = [&target](const char* code) {
        for (int i = 0; i < kLinesEach; ++i) {
            JournalEntry entry;
            entry.codeBefore = entry.codeAfter = code;
            QString warning;
            EXPECT_TRUE(AppendJournal(target, entry, &warning)) << warning.toStdString();
        }
    };
    std::thread first(writer, "1111");
    std::thread second(writer, "2222");
    first.join();
    second.join();
    EXPECT_EQ(JournalLines(target, "1111").size(), kLinesEach);
    EXPECT_EQ(JournalLines(target, "2222").size(), kLinesEach);
}

// The CSV journal of earlier versions is taken over once, renamed, and never read twice.
TEST(Journal, ImportsTheOldCsvJournalOnce) {
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), {}};
    const QString old = dir.filePath(kOldJournalFileName);
    const QByteArray csv =
        CsvRecord(JournalHeader().mid(0, 10)) +
        "2026-03-01T14:05:09+01:00,Lesen,4C2D,4C2D,2.1,010203,=HYPERLINK(x),ab,ok,cli\n"
        "2026-03-02T09:00:00+01:00,Schreiben,4C2D,4C2D,2.1,,\"a,b\",cd,Fehler 10627,fenster\n";
    // A crash left NUL bytes at the end: they are no line.
    WriteBytes(old, csv + QByteArray(300, '\0'));
    QString warning;
    ASSERT_TRUE(AppendJournal(target, JournalEntry(), &warning));
    EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_EQ(ReadBytes(old + ".importiert").left(csv.size()), csv);
    WriteBytes(old, csv);  // an old copy put back is taken again without doubling its lines
    ASSERT_TRUE(AppendJournal(target, JournalEntry(), &warning));
    EXPECT_TRUE(QFile::exists(old + ".importiert.2"));

    // A quote never closed swallows the rest of the file: that line and all after it stay in
    // the renamed file, with a warning that names the line; the lines before it are taken.
    WriteBytes(old, csv + "2026-03-03T09:00:00+01:00,Lesen,4C2D,4C2D,2.1,,\"" +
                        QByteArray(100 * 1024, 'x') + "\n2026-03-04T09:00:00+01:00,Lesen\n");
    ASSERT_TRUE(AppendJournal(target, JournalEntry(), &warning));
    EXPECT_EQ(warning, FillText(Msg::JournalImportSetAside, {"4", old})) << warning.toStdString();
    EXPECT_TRUE(QFile::exists(old + ".importiert.3"));

    const QList<QStringList> lines = JournalLines(target, "4C2D");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0][ColFileName], "=HYPERLINK(x)");  // listings show names as they are
    EXPECT_EQ(lines[1][ColFileName], "a,b");
    EXPECT_EQ(lines[1][ColOutcome], "Fehler 10627");  // kept as a code, shown as the word
    EXPECT_EQ(JournalLines(target).size(), 5);

    // A file name that would turn the rest of a line around is shown with it escaped.
    JournalEntry turned;
    turned.fileName = QString::fromUtf8("Flur\u202Eatad.Korbi");
    ASSERT_TRUE(AppendJournal(target, turned, &warning));
    JournalReader reader;
    QString error;
    ASSERT_TRUE(reader.Open(target, &error) && reader.Select(JournalFilter(), &error));
    std::string table;
    LocalMinutes times;
    while (reader.NextLine()) AppendTableLine(table, reader, times);
    EXPECT_NE(table.find("Flur\\u202eatad.Korbi"), std::string::npos) << table;
    EXPECT_EQ(table.find("\u202E"), std::string::npos);
}

// A record of version 1 (outcomes stored as words) is brought up to date in place; one of a
// version this program does not know is neither read nor written, byte for byte, and a job
// still ends, with a warning that names both versions.
TEST(Journal, SchemaVersionsAreClimbedOrRefused) {
    const struct {
        int version;
        bool readable;
    } rows[] = {{1, true}, {999, false}};
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const JournalTarget target{JournalPath(dir.path() + "/"), {}};
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "version-1");
            db.setDatabaseName(target.localPath);
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(
                "CREATE TABLE journal (id INTEGER PRIMARY KEY AUTOINCREMENT, line_id TEXT "
                "NOT NULL UNIQUE, time TEXT NOT NULL, time_utc BIGINT NOT NULL, job TEXT NOT NULL, "
                "code_before TEXT NOT NULL, code_after TEXT NOT NULL, firmware_version TEXT NOT "
                "NULL, production_date TEXT NOT NULL, file_name TEXT NOT NULL, sha256 TEXT NOT "
                "NULL, outcome TEXT NOT NULL, program TEXT NOT NULL, verify_sha256 TEXT NOT NULL, "
                "login_name TEXT NOT NULL, host_name TEXT NOT NULL, program_version TEXT NOT "
                "NULL, image BLOB, pending INTEGER NOT NULL DEFAULT 0)"));
            ASSERT_TRUE(query.exec("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
            ASSERT_TRUE(
                query.exec(QString("INSERT INTO schema_version VALUES (%1)").arg(row.version)));
            int n = 0;
            for (const char* word : {"ok", "Fehler 10627", "Fehler", "abgebrochen", "geprüft",
                                     "Prüfung fehlgeschlagen", "nicht geprüft"})
                ASSERT_TRUE(query.exec(QString("INSERT INTO journal VALUES (NULL, 'l%1', "
                                               "'2026-03-01T14:05:09+01:00', %1, 'Lesen', "
                                               "'4C2D', '4C2D', '', '', '', '', '%2', 'cli', "
                                               "'', '', '', '', NULL, 0)")
                                           .arg(++n)
                                           .arg(word)));
            db.close();
        }
        QSqlDatabase::removeDatabase("version-1");
        const QByteArray before = ReadBytes(target.localPath);
        QString warning;
        EXPECT_EQ(AppendJournal(target, JournalEntry(), &warning), row.readable);
        JournalReader reader;
        QString error;
        ASSERT_EQ(reader.Open(target, &error), row.readable) << error.toStdString();
        if (!row.readable) {
            EXPECT_EQ(ReadBytes(target.localPath), before);
            for (const QString& text : {warning, error}) {
                EXPECT_TRUE(text.contains("Version 999") &&
                            text.contains(QString("Version %1").arg(JournalSchemaVersion())))
                    << text.toStdString();
            }
            continue;
        }
        ASSERT_TRUE(reader.Select(JournalFilter{"4C2D", {}, {}, {}}, &error));
        QStringList codes, words;
        while (reader.NextLine())
            codes << QString::fromUtf8(reader.OutcomeCode()) + ":" +
                         QString::number(reader.MessageId());
        EXPECT_EQ(codes.join(' '),
                  "ok:0 failed:10627 failed:0 aborted:0 checked:0 "
                  "check-failed:0 not-checked:0");
        for (const QStringList& line : JournalLines(target, "4C2D")) words << line[ColOutcome];
        EXPECT_EQ(words.join(','),
                  "ok,Fehler 10627,Fehler,abgebrochen,geprüft,"
                  "Prüfung fehlgeschlagen,nicht geprüft");
    }
}

// In a folder a team shares, the record and the files SQLite keeps beside it may be written by
// the group whenever the umask lets the group write.
TEST(Journal, SharedFolderKeepsTheRecordWritableForTheGroup) {
    QTemporaryDir dir;
    const QString path = JournalPath(dir.path() + "/");
    const auto mode = [](const QString& file) {
        struct stat st {};
        return ::stat(file.toLocal8Bit().constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    };
    const mode_t old = ::umask(002);
    {
        JournalDb db;
        QString cause;
        ASSERT_TRUE(db.OpenLocal(path, &cause)) << cause.toStdString();
    }
    EXPECT_EQ(mode(path), 0664);
    ::umask(022);  // a member whose own files are not the group's
    JournalDb db;
    QString cause;
    ASSERT_TRUE(db.OpenLocal(path, &cause)) << cause.toStdString();
    EXPECT_EQ(mode(path + "-wal"), 0664);
    EXPECT_EQ(mode(path + "-shm"), 0664);
    ::umask(old);
}

// The spreadsheet export puts an apostrophe before what a spreadsheet would take for a formula.
// The table for people shows every field on one line of its column: control characters as
// spaces, a longer field cut with "…" (a character beyond U+FFFF counts twice, and one cut in
// half leaves "?"), a byte order mark as nothing; times in local time across a change of the
// clocks.
TEST(Journal, TableLinesKeepTheirColumns) {
    qputenv("TZ", "Europe/Berlin");
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), {}};
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString ellipsis(QChar(0x2026));
    const struct {
        QDateTime time;
        QString code;
        QString file;
        QString shownCode;  // in its cell of 18 characters
        QString shownFile;  // the last cell
    } rows[] = {
        {QDateTime(QDate(2026, 3, 29), QTime(0, 59), QTimeZone::utc()), "4C2D",
         QString::fromUtf8("Zeile\nzwei\tTab\x7F\xC2\x85x"), "4C2D", "Zeile zwei Tab  x"},
        {QDateTime(QDate(2026, 3, 29), QTime(1, 0), QTimeZone::utc()),
         QString::fromUtf8("Jürgen-Größenwahn-Überlänge"), QString(40, QChar(0xE4)),
         QString::fromUtf8("Jürgen-Größenwahn") + ellipsis, QString(36, QChar(0xE4)) + ellipsis},
        {QDateTime(QDate(2026, 10, 25), QTime(0, 59), QTimeZone::utc()),
         QChar(0xFEFF) + QString("bom"), 'a' + emoji.repeated(20), "bom",
         'a' + emoji.repeated(17) + '?' + ellipsis},
        {QDateTime(QDate(2026, 10, 25), QTime(1, 0), QTimeZone::utc()), "", "", "", ""},
    };
    for (const auto& row : rows) {
        JournalEntry entry;
        entry.time = row.time;
        entry.codeBefore = row.code;
        entry.fileName = row.file;
        QString warning;
        ASSERT_TRUE(AppendJournal(target, entry, &warning)) << warning.toStdString();
    }
    JournalReader reader;
    QString error;
    ASSERT_TRUE(reader.Open(target, &error) &&
                reader.Select(JournalFilter{}, &error, TableColumns()));
    std::string out;
    LocalMinutes minutes;
    while (reader.NextLine(&error)) AppendTableLine(out, reader, minutes);
    const QStringList lines = QString::fromStdString(out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const char* times[] = {"29.03.2026 01:59", "29.03.2026 03:00", "25.10.2026 02:59",
                           "25.10.2026 02:00"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(lines[i].startsWith(times[i])) << lines[i].toStdString();
        EXPECT_EQ(lines[i].mid(30, 20), rows[i].shownCode.leftJustified(20))
            << lines[i].toStdString();
        EXPECT_TRUE(lines[i].endsWith(rows[i].shownFile)) << lines[i].toStdString();
    }
}

TEST(Journal, CsvExportGuardsFormulas) {
    const struct {
        const char* field;
        const char* exported;
    } rows[] = {
        {"=SUM(A1)", "'=SUM(A1)"}, {"+49 123", "'+49 123"}, {"-1", "'-1"},  {"@cmd", "'@cmd"},
        {"  =1", "'  =1"},         {"\t-x", "'\t-x"},       {"a=b", "a=b"}, {"", ""},
        {"=a,b", "\"'=a,b\""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CsvRecord({row.field}, true), QByteArray(row.exported) + "\n") << row.field;
        EXPECT_FALSE(CsvRecord({row.field}).startsWith('\'')) << row.field;
    }
}

// A record that is no regular file is refused at once with its German cause; the job's line is
// then lost, with a warning, but nothing waits. An old journal that is a FIFO is left alone.
// The user's own link is followed, and the record made where it points.
TEST(Journal, SpecialFilesAreRefusedWithoutBlocking) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const QString fifo = folder + "fifo";
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const struct {
        const char* record;      // at the record's place
        const char* oldJournal;  // at Protokoll.csv's place
        bool stored;
        int causeId;
    } rows[] = {
        {"fifo", nullptr, false, Msg::CauseNotAFile},
        {"folder", nullptr, false, Msg::CauseNotAFile},
        {"link", nullptr, true, 0},
        {nullptr, "fifo", true, Msg::CauseNotAFile},
    };
    for (const auto& row : rows) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        mkfifo(fifo.toLocal8Bit().constData(), 0600);
        const QString record = JournalPath(folder);
        const auto place = [&](const char* what, const QString& path) {
            if (!what) return;
            if (QString(what) == "folder") QDir().mkpath(path);
            if (QString(what) == "fifo") QFile::rename(fifo, path);
            if (QString(what) == "link") QFile::link(folder + "elsewhere", path);
        };
        place(row.record, record);
        place(row.oldJournal, folder + kOldJournalFileName);
        QElapsedTimer timer;
        timer.start();
        QString warning;
        EXPECT_EQ(AppendJournal({record, {}}, JournalEntry(), &warning), row.stored);
        EXPECT_LT(timer.elapsed(), 2000);
        if (row.causeId == 0)
            EXPECT_TRUE(warning.isEmpty() && QFile::exists(folder + "elsewhere"))
                << warning.toStdString();
        else
            EXPECT_TRUE(warning.contains(Text(row.causeId))) << warning.toStdString();
        JournalReader reader;
        QString error;
        EXPECT_EQ(reader.Open({record, {}}, &error), row.stored);
    }
}

// A server address that is not understood keeps the line in the local record and says so, without
// its password and without promising that a later job sends it.
TEST(Journal, AnAddressNotUnderstoodKeepsTheLineLocally) {
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), "host=h password=geheim"};
    QString warning;
    EXPECT_TRUE(AppendJournal(target, JournalEntry(), &warning));
    EXPECT_EQ(warning, FillText(Msg::JournalServerNotUnderstood, {"host=h password=***"}));
    EXPECT_EQ(JournalLines({target.localPath, {}}).size(), 1);
}

// The window's journal pages through the record newest first, narrows it to a device, and opens
// a line's configuration in the window; a line without one cannot be opened.
TEST(JournalWindow, FiltersAndOpensALinesConfiguration) {
    Machine machine;
    std::unique_ptr<MainWindow> window = machine.Start();
    const JournalTarget target{JournalPath(machine.dataFolder), {}};
    QByteArray image = Machine::Shipped("Default_v2.b");
    image[Addr::BatteryTestInterval] = 42;
    const struct {
        const char* code;
        bool withImage;
        int lines;
    } rows[] = {{"3333", false, 200}, {"1111", true, 1}, {"2222", true, 1}, {"1111", false, 1}};
    QString text;
    for (const auto& row : rows) {
        JournalEntry entry;
        entry.codeBefore = entry.codeAfter = row.code;
        if (row.withImage) SetJournalImage(entry, image);
        for (int i = 0; i < row.lines; ++i)
            ASSERT_TRUE(AppendJournal(target, entry, &text)) << text.toStdString();
    }
    JournalWindow dialog(target, window.get(), &machine.prompts);
    // The record is read off the window's thread; each read ends with the dialog's signal.
    QSignalSpy read(&dialog, &JournalWindow::Read);
    const auto readEnds = [&read] {
        read.clear();
        return read.wait(10000) && read.first().first().toString().isEmpty();
    };
    EXPECT_EQ(dialog.lblJournalLines->text(), "Das Protokoll wird gelesen...");
    ASSERT_TRUE(readEnds());
    QAbstractItemModel& model = *dialog.tblJournal->model();
    ASSERT_EQ(model.rowCount(), 200);                         // one page
    EXPECT_EQ(dialog.lblJournalLines->text(), "203 Zeilen");  // all of them, shown or not
    EXPECT_EQ(model.index(1, ColSha256).data().toString().size(), 12);
    EXPECT_EQ(model.index(1, ColSha256).data(Qt::ToolTipRole).toString().size(), 64);
    EXPECT_TRUE(QDateTime::fromString(model.index(0, ColTime).data().toString(), "dd.MM.yyyy HH:mm")
                    .isValid());
    EXPECT_EQ(model.index(0, ColCodeAfter).data().toString(), "1111");
    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(model.rowCount(), 203);
    EXPECT_FALSE(model.canFetchMore({}));
    dialog.edtJournalDevice->setText("1");  // any part of a code; a newer filter wins
    dialog.edtJournalDevice->setText("11");
    ASSERT_TRUE(readEnds());
    ASSERT_EQ(dialog.tblJournal->model()->rowCount(), 2);
    // The export holds the lines the filter lets through, guarded for a spreadsheet.
    machine.prompts.paths << machine.root.path() + "/export";
    dialog.btnJournalExport->click();
    ASSERT_TRUE(readEnds());
    const QList<QStringList> exported =
        ParseCsv(QString::fromUtf8(ReadBytes(machine.root.path() + "/export.csv")));
    ASSERT_EQ(exported.size(), 3);
    EXPECT_EQ(exported[0], JournalHeader());
    EXPECT_EQ(exported[1][ColCodeAfter], "1111");
    // The same name again is asked about, under the name written; No keeps the file.
    machine.prompts.paths << machine.root.path() + "/export";
    machine.prompts.answers << BoxAnswer::No;
    dialog.btnJournalExport->click();
    EXPECT_TRUE(machine.prompts.answers.isEmpty());
    EXPECT_EQ(ParseCsv(QString::fromUtf8(ReadBytes(machine.root.path() + "/export.csv"))),
              exported);
    dialog.edtJournalUntil->setDate(QDate::currentDate().addDays(-1));
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(dialog.tblJournal->model()->rowCount(), 0);
    dialog.edtJournalUntil->setDate(QDate::currentDate());
    ASSERT_TRUE(readEnds());
    dialog.tblJournal->selectRow(0);  // the newest: no configuration
    EXPECT_FALSE(dialog.btnJournalOpen->isEnabled());
    dialog.tblJournal->selectRow(1);
    ASSERT_TRUE(dialog.btnJournalOpen->isEnabled());
    dialog.btnJournalOpen->click();
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenImage, image);
    window->ShowJournalImage(dialog.chosenImage, dialog.chosenLine);
    EXPECT_EQ(window->findChild<QLineEdit*>("edtBatteryTestInterval")->text(), "42");
    EXPECT_TRUE(window->StatusText().contains("1111"));
    EXPECT_TRUE(window->windowTitle().startsWith("1111, ")) << window->windowTitle().toStdString();

    // Over unsaved edits, opening a line asks first, as every other load does; Abbruch keeps them.
    QLineEdit* battery = window->findChild<QLineEdit*>("edtBatteryTestInterval");
    battery->selectAll();
    QTest::keyClicks(battery, "43");
    machine.prompts.answers << BoxAnswer::Abort;
    QTimer::singleShot(0, window.get(), [] {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            auto* journal = qobject_cast<JournalWindow*>(shown);
            if (!journal || !journal->isVisible()) continue;
            ASSERT_TRUE(QTest::qWaitFor([journal] { return !journal->Busy(); }, 10000));
            journal->tblJournal->selectRow(1);
            journal->btnJournalOpen->click();
        }
    });
    window->onShowJournalTriggered();
    ASSERT_FALSE(machine.prompts.records.isEmpty());
    EXPECT_EQ(machine.prompts.records.last().textId, Msg::UnsavedEditsQuestion);
    EXPECT_EQ(battery->text(), "43");
}

}  // namespace
