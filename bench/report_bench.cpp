// The programming report of a thousand journal lines, run by hand: build-bench/bench/report-bench.
// Reading the lines and their configurations from the record, and setting the PDF: a series
// that wrote one configuration a thousand times, and a thousand devices that each got their own.

#include <benchmark/benchmark.h>

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "files/journalstore.h"
#include "files/templates.h"
#include "report/reportjournal.h"
#include "report/reportpages.h"

namespace {

constexpr int kLines = 1000;

// A record of a thousand checked writes in a temporary folder; distinct: each image carries
// its device's code, so each line names a configuration of its own.
class Record {
  public:
    explicit Record(bool distinct) {
        // REPORT_BENCH_KEEP=1 keeps the records, to time korbi-cli report on them by hand.
        if (qEnvironmentVariableIsSet("REPORT_BENCH_KEEP")) {
            dir.setAutoRemove(false);
            fprintf(stderr, "record: %s\n", qPrintable(target.localPath));
        }
        const ImageBytes start = StartTemplate(2);
        const QDateTime first(QDate(2026, 3, 2), QTime(8, 0));
        for (int i = 0; i < kLines; ++i) {
            QByteArray image(reinterpret_cast<const char*>(start.data()), kImageSize);
            if (distinct) {
                image[0x20] = char(0x10 + i / 256);
                image[0x21] = char(i % 256);
            }
            JournalEntry entry;
            entry.time = first.addSecs(30 * i);
            entry.job = JournalJob::Write;
            entry.codeBefore = QStringLiteral("%1").arg(0x4000 + i, 4, 16, QChar('0')).toUpper();
            entry.codeAfter = QStringLiteral("%1").arg(0x1000 + i, 4, 16, QChar('0')).toUpper();
            entry.firmwareVersion = QStringLiteral("2.1");
            entry.fileName = QStringLiteral("/home/techniker/Anlage Sonnenhof/Haus B.Korbi");
            entry.sha256 = QString::fromLatin1(
                QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
            entry.verifyOutcome = QString::fromUtf8(kVerifiedWord);
            entry.image = image;
            QString warning;
            AppendJournal(target, entry, &warning);
        }
    }
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), {}};
};

void ReportOf(benchmark::State& state, bool distinct) {
    const Record record(distinct);
    int pages = 0;
    for (auto _ : state) {
        JournalReader reader;
        QString error;
        Report report;
        if (!reader.Open(record.target, &error) ||
            !ReadReportLines(reader, ReportRange{}, &report, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        report.header = ReportHeaderHere(QString(), QString());
        benchmark::DoNotOptimize(ReportPdf(report, &pages));
    }
    state.counters["pages"] = pages;
}

// The pages alone, of lines read once.
void PagesOf(benchmark::State& state, bool distinct) {
    const Record record(distinct);
    JournalReader reader;
    QString error;
    Report report;
    reader.Open(record.target, &error);
    ReadReportLines(reader, ReportRange{}, &report, &error);
    report.header = ReportHeaderHere(QString(), QString());
    int pages = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ReportPdf(report, &pages));
    state.counters["pages"] = pages;
}

void PagesOfEachDeviceItsOwn(benchmark::State& state) {
    PagesOf(state, true);
}
BENCHMARK(PagesOfEachDeviceItsOwn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void SeriesOfOneConfiguration(benchmark::State& state) {
    ReportOf(state, false);
}
void EachDeviceItsOwnConfiguration(benchmark::State& state) {
    ReportOf(state, true);
}
BENCHMARK(SeriesOfOneConfiguration)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(EachDeviceItsOwnConfiguration)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
