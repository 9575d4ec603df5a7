// korbi-cli report end to end: a checked series through lpx-sim, then the PDF read back with
// poppler.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "cli_run.h"
#include "config/fieldtext.h"
#include "files/journalstore.h"
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

// Three devices written and checked in a series, after sixty older reads: the report names
// every device, the settings written with their values, every page, and never replaces a file.
TEST(CliReport, ACheckedSeriesReadsBackFromThePdf) {
    QTemporaryDir home;
    const QString dataFolder = home.path() + "/.local/share/TALO/K-ORBI Programmer (DE)/";
    ASSERT_TRUE(QDir().mkpath(dataFolder));
    // Enough older lines for the job table to go on over a page, one with a long file name.
    const QDateTime newYear(QDate(2026, 1, 1), QTime(9, 0));
    for (int i = 0; i < 60; ++i) {
        JournalEntry read;
        read.time = newYear.addSecs(60 * i);
        read.codeBefore = read.codeAfter = QStringLiteral("7%1").arg(i, 3, 10, QChar('0'));
        read.fileName = home.path() + "/Anlage_Pflegeheim_Sonnenhof_Haus_B_Stockwerk_2_Zimmer_" +
                        QString::number(200 + i) + "_Notrufknopf_am_Bett.Korbi";
        QString warning;
        ASSERT_TRUE(AppendJournal({JournalPath(dataFolder), {}}, read, &warning));
    }
    const QString file = home.filePath("anlage.Korbi");
    const QByteArray template2 = ReadBytes(QString(KORBI_SOURCE_DIR) + "/resources/Default_v2.b");
    WriteBytes(file, template2);
    {
        LpxSimProcess lpx(home.filePath("lpx-sim.log").toStdString(),
                          {"--press-after=50", "--press-order=0,0,0,1,1,1,2,2,2",
                           "--device=4C2D:21", "--device=5D3E:21", "--device=6E4F:21"});
        ASSERT_FALSE(lpx.path.empty());
        const CliRun series = RunCli(home.path(), {"write", file, "--repeat=3", "--verify",
                                                   "--port=" + QString::fromStdString(lpx.path)});
        ASSERT_EQ(series.status, 0) << series.err.toStdString();
    }

    const QString pdf = home.filePath("bericht.pdf");
    const CliRun run = RunCli(home.path(), {"report", "-o", home.filePath("bericht")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const int pages = PdfPages(pdf);
    ASSERT_GE(pages, 3);
    const QString text = PdfText(pdf);
    for (const QString& says :
         {QStringLiteral("Programmierprotokoll"), QStringLiteral("7059"),
          QStringLiteral("Seite 1 von %1").arg(pages), QStringLiteral("Seite %1 von %1").arg(pages),
          QStringLiteral("Geschriebene Konfigurationen")})
        EXPECT_TRUE(text.contains(says)) << says.toStdString();
    // A long file name is wrapped in its column, not cut.
    EXPECT_TRUE(PdfText(pdf, 0, 0, false)
                    .remove('\n')
                    .contains("Anlage_Pflegeheim_Sonnenhof_Haus_B_Stockwerk_2_Zimmer_259_"
                              "Notrufknopf_am_Bett.Korbi"));
    // Each device with its codes and the check, in the job table and under its configuration.
    for (const char* code : {"4C2D", "5D3E", "6E4F"})
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("%1 .*ok, geprüft").arg(code))), 2)
            << code;
    // The settings as the window shows them: label and value on one row.
    SettingsModel model;
    ConfigImage image;
    ImageBytes bytes{};
    std::copy(template2.cbegin(), template2.cend(), bytes.begin());
    FillFileImage(image, bytes, MarkFromFile);
    model.ShowFileImage(image, true);
    for (const Field field : {Field::edtBatteryTestInterval, Field::edtButtonActivationDelay,
                              Field::cbConfig_D0, Zone(11, true)}) {
        const QString line = LineWith(text, FieldLabel(field));
        EXPECT_TRUE(line.trimmed().endsWith(' ' + ValueText(model, field)))
            << FieldLabel(field).toStdString() << ": " << line.toStdString();
    }
    // The job table's titles stand on its second page too.
    const QString titles = LineWith(PdfText(pdf, 2, 2), "Funkkennung");
    for (const char* title : {"Datum und Zeit", "Vorgang", "Firmware", "Ergebnis", "SHA-256"})
        EXPECT_TRUE(titles.contains(title)) << title << " in " << titles.toStdString();

    // An existing file stays as it is, and a range without jobs writes nothing.
    const QByteArray written = ReadBytes(pdf);
    const struct {
        QStringList options;
        int status;
        const char* says;
    } rows[] = {
        {{"-o", pdf}, 2, "gibt es schon"},
        {{"-o", home.filePath("leer.pdf"), "--since=2030-01-01"}, 1, "kein Gerätevorgang"},
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
