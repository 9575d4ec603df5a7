#include "files/journal.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimeZone>

#include "test_folder.h"

namespace {

// Lines go in and come out field for field, whatever a file name holds; the header is written
// once, and the filters pick by device code (either side, any case) and time.
TEST(Journal, AppendsLinesThatReadBackAndFilter) {
    qputenv("TZ", "Europe/Berlin");
    QTemporaryDir dir;
    const QString path = JournalPath(dir.path() + "/");
    const QDateTime march(QDate(2026, 3, 1), QTime(14, 5, 9), QTimeZone(3600));
    struct {
        JournalJob job;
        const char* before;
        const char* after;
        const char* file;
        JournalOutcome outcome;
        int messageId;
        int daysLater;
    } rows[] = {
        {JournalJob::Read, "4C2D", "4C2D", "", JournalOutcome::Ok, 0, 0},
        {JournalJob::Write, "4C2D", "1A2B", "/tmp/a,b \"c\".Korbi", JournalOutcome::Ok, 0, 1},
        {JournalJob::CodeChange, "7777", "7777", "zwei\nZeilen", JournalOutcome::Failed, 10627, 2},
        {JournalJob::Write, "", "", "x.Korbi", JournalOutcome::Aborted, 0, 3},
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
        QString error;
        ASSERT_TRUE(AppendJournal(path, entry, &error)) << error.toStdString();
    }
    EXPECT_TRUE(ReadBytes(path).startsWith(CsvRecord(JournalHeader())));
    EXPECT_EQ(ReadBytes(path).count("Zeit,Vorgang"), 1);

    QList<QStringList> lines;
    ASSERT_TRUE(ReadJournal(path, &lines, nullptr));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0][ColTime], "2026-03-01T14:05:09+01:00");
    EXPECT_EQ(lines[1][ColJob], "Schreiben");
    EXPECT_EQ(lines[1][ColFileName], "/tmp/a,b \"c\".Korbi");
    EXPECT_EQ(lines[2][ColFileName], "zwei\nZeilen");
    EXPECT_EQ(lines[2][ColOutcome], "Fehler 10627");
    EXPECT_EQ(lines[3][ColOutcome], "abgebrochen");
    EXPECT_EQ(lines[3][ColProgram], "cli");

    EXPECT_EQ(FilterJournal(lines, "1a2b", {}).size(), 1);
    EXPECT_EQ(FilterJournal(lines, "4c2d", {}).size(), 2);
    EXPECT_EQ(FilterJournal(lines, {}, march.addDays(2)).size(), 2);
    EXPECT_EQ(FilterJournal(lines, "4C2D", march.addSecs(1)).size(), 1);
}

// A journal that cannot be written says why and never takes the job down with it.
TEST(Journal, UnwritableJournalReportsAReason) {
    QString error;
    EXPECT_FALSE(AppendJournal("/nonexistent-folder/Protokoll.csv", JournalEntry(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(AppendJournal(QString(), JournalEntry(), &error));  // no data folder: no journal
}

}  // namespace
