// korbi-cli report end to end: a checked series through lpx-sim, then the PDF read back with
// poppler.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "cli_run.h"
#include "config/fieldtext.h"
#include "record/journalstore.h"
#include "support/journal_lines.h"
#include "support/pdf_text.h"
#include "test_folder.h"

namespace {

// The line of the text that holds the label; empty when none does.
QString LineWith(const QString& text, const QString& label) {
    for (const QString& line : text.split('\n'))
        if (line.contains(label)) return line;
    return QString();
}

}  // namespace

// Three devices of a care home written and checked in a series with the rooms of a code list,
// after an attempt without an LPX and sixty older reads there: the report says for whom, names
// each device with its room and outcome in words, counts the attempt, lists only what the
// write sends, and keeps every heading with what follows it.
TEST(CliReport, ASeriesWithRoomsReadsBackFromThePdf) {
    QTemporaryDir home;
    const QString dataFolder = home.path() + "/.local/share/TALO/K-ORBI Programmer (DE)/";
    ASSERT_TRUE(QDir().mkpath(dataFolder));
    const QString site = QStringLiteral("Pflegeheim Sonnenhof, Haus B");
    const QString siteOption = "--site=" + site;
    // Enough older lines for the job table to go on over a page, one with a long file name.
    const QDateTime newYear(QDate(2026, 1, 1), QTime(9, 0));
    for (int i = 0; i < 60; ++i) {
        JournalEntry read;
        read.time = newYear.addSecs(60 * i);
        read.site = site;
        read.codeBefore = read.codeAfter = QStringLiteral("7%1").arg(i, 3, 10, QChar('0'));
        read.fileName = home.path() + "/Anlage_Pflegeheim_Sonnenhof_Haus_B_Stockwerk_2_Zimmer_" +
                        QString::number(200 + i) + "_Notrufknopf_am_Bett.Korbi";
        QString warning;
        ASSERT_TRUE(AppendJournal({JournalPath(dataFolder), {}}, read, &warning));
    }
    const QString file = home.filePath("anlage.Korbi");
    const QByteArray template2 = ReadBytes(QString(KORBI_SOURCE_DIR) + "/resources/Default_v2.b");
    WriteBytes(file, template2);
    const QString list = home.filePath("zimmer.txt");
    WriteBytes(list, "# Haus B\n2000;Zimmer 101\n2001\tZimmer 102\n2002 ; Zimmer 103\n");
    EXPECT_EQ(
        RunCli(home.path(), {"write", file, siteOption, "--port=" + home.filePath("keine")}).status,
        3);
    {
        LpxSimProcess lpx(home.filePath("lpx-sim.log").toStdString(),
                          {"--press-after=50", "--press-order=0,0,0,1,1,1,2,2,2",
                           "--device=4C2D:21", "--device=5D3E:21", "--device=6E4F:21"});
        ASSERT_FALSE(lpx.path.empty());
        const CliRun series =
            RunCli(home.path(), {"write", file, "--repeat=3", "--verify", "--new-codes=" + list,
                                 siteOption, "--port=" + QString::fromStdString(lpx.path)});
        ASSERT_EQ(series.status, 0) << series.err.toStdString();
        EXPECT_TRUE(series.err.contains("Gerät 2 von 3, Raum: Zimmer 102"));
    }
    // Each device checked without difference: its check's hash is that of its image as sent,
    // and no two devices share one.
    QSet<QString> checked;
    for (const QStringList& line : JournalLines({JournalPath(dataFolder), {}}))
        if (line[ColJob] == "Schreiben" && !line[ColCodeBefore].isEmpty()) {
            EXPECT_EQ(line[ColVerifySha256], line[ColSha256]);
            EXPECT_EQ(line[ColSite], site);
            checked.insert(line[ColVerifySha256]);
        }
    EXPECT_EQ(checked.size(), 3);

    const QString pdf = home.filePath("bericht.pdf");
    const CliRun run = RunCli(home.path(), {"report", "-o", home.filePath("bericht"), siteOption});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const int pages = PdfPages(pdf);
    ASSERT_GE(pages, 3);
    const QString text = PdfText(pdf);
    for (const QString& says :
         {QStringLiteral("Programmierprotokoll"), site, QStringLiteral("7059"),
          QStringLiteral("1 Versuch ohne Gerät: keine LPX"), QStringLiteral("Ort, Datum"),
          QStringLiteral("Unterschrift Techniker"), QStringLiteral("Unterschrift Kunde"),
          QStringLiteral("Seite 1 von %1").arg(pages), QStringLiteral("Seite %1 von %1").arg(pages),
          QStringLiteral("Konfiguration 1: anlage.Korbi")})
        EXPECT_TRUE(text.contains(says)) << says.toStdString();
    // No message number, no local path, and none of the file's information fields.
    for (const QString& never :
         {QStringLiteral("10805"), home.path(), QStringLiteral("Fehler"),
          FieldLabel(Field::productionDate), FieldLabel(Field::acknowledgedAlarmCount),
          FieldLabel(Field::firmwareVersion)})
        EXPECT_FALSE(text.contains(never)) << never.toStdString();
    // Each device with its codes, room and check, as one row of the job table.
    for (const char* row :
         {"4C2D → 2000 +Zimmer 101 +ok, geprüft", "5D3E → 2001 +Zimmer 102 +ok, geprüft",
          "6E4F → 2002 +Zimmer 103 +ok, geprüft"})
        EXPECT_EQ(text.count(QRegularExpression(QString::fromUtf8(row))), 1) << row;
    // The settings as the window shows them: label and value on one row.
    SettingsModel model;
    ConfigImage image;
    ImageBytes bytes{};
    std::copy(template2.cbegin(), template2.cend(), bytes.begin());
    FillFileImage(image, bytes, MarkFromFile);
    model.ShowFileImage(image, true);
    for (const Field field : {Field::batteryAlarmIntervalHours, Field::activationDelaySeconds,
                              Field::rfidActive, Zone(11, true)}) {
        const QString line = LineWith(text, FieldLabel(field));
        EXPECT_TRUE(line.trimmed().endsWith(' ' + ValueText(model, field)))
            << FieldLabel(field).toStdString() << ": " << line.toStdString();
    }
    // A continued table says what it continues, with its titles; a heading stands on the page
    // of what it heads.
    const QString second = PdfText(pdf, 2, 2);
    EXPECT_TRUE(second.contains("Gerätevorgänge (Fortsetzung)"));
    for (const char* title : {"Datum und Zeit", "Vorgang", "Raum", "Ergebnis", "Datei"})
        EXPECT_TRUE(LineWith(second, "Funkkennung").contains(title)) << title;
    for (int page = 1; page <= pages; ++page) {
        const QString shown = PdfText(pdf, page, page);
        if (shown.contains("Geschriebene Konfigurationen"))
            EXPECT_TRUE(shown.contains("Einstellung")) << "page " << page;
        if (LineWith(shown, "Kunde").contains("Unterschrift"))
            EXPECT_TRUE(shown.contains("Ort, Datum")) << "page " << page;
    }

    // An existing file stays as it is, and a range without jobs writes nothing.
    const QByteArray written = ReadBytes(pdf);
    const struct {
        QStringList options;
        int status;
        const char* says;
    } rows[] = {
        {{"-o", pdf}, 2, "gibt es schon"},
        {{"-o", home.filePath("leer.pdf"), "--since=2030-01-01"}, 1, "kein Gerätevorgang"},
        {{"-o", home.filePath("leer.pdf"), "--site=Haus C"}, 1, "Objekt Haus C"},
        {{"-o", home.filePath("leer.pdf"), "--device=zz"}, 2, "--device"},
        {{"-o", home.filePath("leer.pdf"), "--until=gestern"}, 2, "--until"},
        {{}, 2, "-o"},
    };
    for (const auto& row : rows) {
        const CliRun refused = RunCli(home.path(), QStringList{"report"} + row.options);
        EXPECT_EQ(refused.status, row.status) << row.options.join(' ').toStdString();
        EXPECT_TRUE(refused.err.contains(row.says)) << refused.err.toStdString();
    }
    EXPECT_EQ(ReadBytes(pdf), written);
    EXPECT_FALSE(QFile::exists(home.filePath("leer.pdf")));

    // --until takes the whole day: the reads of New Year's Day, none of the series.
    const QString older = home.filePath("neujahr.pdf");
    ASSERT_EQ(RunCli(home.path(), {"report", "-o", older, "--until=2026-01-01"}).status, 0);
    const QString olderText = PdfText(older);
    EXPECT_TRUE(olderText.contains("7059"));
    EXPECT_FALSE(olderText.contains("4C2D"));
}
