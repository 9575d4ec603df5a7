// The report from the window: the series summary's three buttons after a checked series through
// lpx-sim on a pseudo-terminal, and the journal window's "Bericht..." for the lines its filter
// shows. The PDFs are read back with poppler.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/codedialog.h"
#include "app/journalview.h"
#include "app/mainwindow.h"
#include "app/reportactions.h"
#include "app/seriesdialog.h"
#include "app/sitefield.h"
#include "app/waitdialog.h"
#include "link/ttydriver.h"
#include "lpxsim_process.h"
#include "record/journal.h"
#include "resources/catalogue.h"
#include "support/job_events.h"
#include "support/keyboard_walk.h"
#include "support/pdf_text.h"
#include "support/scripted_prompts.h"
#include "test_folder.h"
#include "window_fixture.h"

namespace {

QAction* MenuEntry(QPushButton* button, const QString& text) {
    for (QAction* action : button->menu()->actions())
        if (action->text() == text) return action;
    ADD_FAILURE() << "no menu entry " << text.toStdString();
    return nullptr;
}

// Presses and waits until the report's lines, read off the window's thread, have been used.
bool PressedAndDone(ReportActions* actions, const std::function<void()>& press) {
    QSignalSpy done(actions, &ReportActions::Done);
    press();
    return !done.isEmpty() || done.wait(10000);
}

}  // namespace

TEST(ReportWindow, SeriesSummaryAndJournalWindowHandOverTheRecord) {
    QTemporaryDir dir;
    LpxSimProcess lpx(dir.filePath("lpx-sim.log").toStdString(),
                      {"--press-after=50", "--press-order=0,0,0,1,1,1,2,2,2", "--device=4C2D:21",
                       "--device=5D3E:21", "--device=6E4F:21"});
    ASSERT_FALSE(lpx.path.empty());
    const std::unique_ptr<TtyDriver> driver = TtyDriver::ForPort(lpx.path);
    ScriptedPrompts prompts;
    AppEnvironment env;
    env.prompts = &prompts;
    env.serialDriver = driver.get();
    MainWindow window(env);
    auto* wait = new PressWaitDialog(&window);
    window.AttachDialogs(wait, nullptr, new CodeChangeDialog(window.Jobs(), &window), nullptr);
    const DescriptionsOnShow told(wait, wait->btbtnAbort);
    JobRecord record = window.Jobs().Record();
    record.path = dir.filePath("Protokoll.sqlite");
    window.Jobs().SetRecord(record);
    // A line from before the series, which is no part of its report.
    JournalEntry earlier;
    earlier.time = QDateTime::currentDateTime().addDays(-1);
    earlier.job = JournalJob::Write;
    earlier.codeBefore = earlier.codeAfter = "7777";
    earlier.sha256 = QString(64, 'a');
    QString warning;
    ASSERT_TRUE(AppendJournal(record.Target(), earlier, &warning));

    SeriesDialog series(window);
    series.show();
    auto* pdfButton = series.findChild<QPushButton*>("btnReportPdf");
    ASSERT_TRUE(pdfButton);
    // Before a series there is nothing to report.
    EXPECT_FALSE(pdfButton->isEnabled());
    series.edtCount->setValue(3);
    series.cbVerify->setChecked(true);
    series.cbSeriesSite->setEditText("Haus B");
    QTest::mouseClick(series.btnStart, Qt::LeftButton);
    RunEventsUntil([&series] { return series.btnStart->isEnabled(); });
    ASSERT_EQ(series.lblSummary->text(), "Geschrieben: 3, fehlgeschlagen: 0, abgebrochen: 0");
    // A screen reader hears each device's line with the next device's wait, and the summary at
    // the end, when the series' dialog is in front again.
    ASSERT_EQ(series.lstReport->count(), 3);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(told.heard.filter(series.lstReport->item(i)->text()).size(), 3)
            << told.heard.join('|').toStdString();
    series.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&series));
    EXPECT_TRUE(HeardFocused(series.lblSummary, series.lblSummary->text()));
    ExpectTabReachesEveryButton(&series, series.edtCount);

    // PDF, CSV, then the PDF's name again: the question is answered No and the file stays.
    const QString pdf = dir.filePath("serie.pdf");
    const QString csv = dir.filePath("serie.csv");
    prompts.paths = {dir.filePath("serie"), csv, pdf};
    prompts.answers = {BoxAnswer::No};
    const auto click = [&series](QPushButton* button) {
        return PressedAndDone(series.seriesReport,
                              [button] { QTest::mouseClick(button, Qt::LeftButton); });
    };
    ASSERT_TRUE(click(pdfButton));
    ASSERT_TRUE(click(series.findChild<QPushButton*>("btnReportCsv")));
    const QByteArray written = ReadBytes(pdf);
    ASSERT_TRUE(click(pdfButton));
    EXPECT_EQ(ReadBytes(pdf), written);
    ASSERT_EQ(prompts.records.size(), 4);
    EXPECT_TRUE(prompts.records[3].text.contains("gibt es schon"));

    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains("Serie vom")) << text.toStdString();
    EXPECT_TRUE(text.contains("LPX info: 15-1 LPX V1"));
    EXPECT_TRUE(text.contains("Haus B"));
    EXPECT_EQ(window.Site(), "Haus B");
    EXPECT_EQ(window.findChild<SiteField*>("cbSite")->currentText(), "Haus B");
    EXPECT_FALSE(text.contains("7777"));
    for (const char* code : {"4C2D", "5D3E", "6E4F"})
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("%1 .*ok, geprüft").arg(code))), 1)
            << code;
    const QList<QStringList> records = ParseCsv(QString::fromUtf8(ReadBytes(csv)));
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0], JournalHeader());
    EXPECT_EQ(records[3][ColCodeAfter], "6E4F");

    // Printing goes through Qt's print dialog; its printer here writes a PDF file.
    const QString printed = dir.filePath("gedruckt.pdf");
    WhenModalOpens([&printed](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_TRUE(dialog);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(printed);
        dialog->done(QDialog::Accepted);
    });
    ASSERT_TRUE(click(series.findChild<QPushButton*>("btnReportPrint")));
    EXPECT_EQ(PdfPages(printed), PdfPages(pdf));
    EXPECT_TRUE(PdfText(printed).contains("Programmierprotokoll"));

    // The journal window reports what its filter shows: one device, the older line included.
    JournalWindow journal(record.Target(), &window);
    ASSERT_TRUE(journal.btnJournalReport);
    RunEventsUntil([&journal] { return !journal.Busy(); });
    ExpectTabReachesEveryButton(&journal, journal.edtJournalDevice);
    // What happened where comes first, within the window.
    QHeaderView* header = journal.tblJournal->horizontalHeader();
    EXPECT_EQ(header->visualIndex(ColRoom), 4);
    EXPECT_EQ(header->visualIndex(ColOutcome), 5);
    QTest::keyClicks(journal.edtJournalDevice, "5D3E");
    const QString device = dir.filePath("geraet.pdf");
    prompts.paths = {device};
    ASSERT_TRUE(PressedAndDone(journal.findChild<ReportActions*>(), [&journal] {
        MenuEntry(journal.btnJournalReport, "Als &PDF speichern...")->trigger();
    }));
    const QString deviceText = PdfText(device);
    EXPECT_TRUE(deviceText.contains("Gerät 5D3E")) << deviceText.toStdString();
    EXPECT_TRUE(deviceText.contains("5D3E"));
    EXPECT_FALSE(deviceText.contains("4C2D"));
    journal.show();
    EXPECT_LT(header->sectionViewportPosition(ColOutcome), journal.tblJournal->viewport()->width());

    // Practice jobs are not recorded: the report's buttons say so instead of failing.
    record.path.clear();
    window.Jobs().SetRecord(record);
    SeriesDialog practice(window);
    practice.seriesReport->Offer(true);
    auto* practicePdf = practice.findChild<QPushButton*>("btnReportPdf");
    EXPECT_FALSE(practicePdf->isEnabled());
    EXPECT_EQ(practicePdf->toolTip(), Text(Msg::ReportPractice));
}
