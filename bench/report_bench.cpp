// The programming report of a record of checked writes, run by hand: build/bench/report-bench.
// The pages are set from the record as korbi-cli report sets them, streamed into a PDF file: a
// series that wrote one configuration to every device, and a series with a code list whose
// devices each got their own code, room and so configuration. REPORT_BENCH_LINES sets the number
// of lines (1000 when not set); REPORT_BENCH_KEEP=1 keeps the records, to time korbi-cli report
// on them with /usr/bin/time -v.

#include <benchmark/benchmark.h>

#include <QCryptographicHash>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "files/templates.h"
#include "record/journaldb.h"
#include "record/journalstore.h"
#include "report/reportlines.h"
#include "report/reportpages.h"

namespace {

int Lines() {
    const int lines = qEnvironmentVariableIntValue("REPORT_BENCH_LINES");
    return lines > 0 ? lines : 1000;
}

// A record of checked writes in a temporary folder, written in one transaction; distinct: each
// image carries its device's new code, so each line names a configuration of its own.
class Record {
  public:
    explicit Record(bool distinct) {
        if (qEnvironmentVariableIsSet("REPORT_BENCH_KEEP")) {
            dir.setAutoRemove(false);
            fprintf(stderr, "record: %s\n", qPrintable(target.localPath));
        }
        const ImageBytes start = StartTemplate(2);
        const QDateTime first(QDate(2026, 3, 2), QTime(8, 0));
        JournalDb db;
        QString cause;
        if (!db.OpenLocal(target.localPath, &cause) || !db.Begin(&cause)) return;
        for (int i = 0; i < Lines(); ++i) {
            QByteArray image(reinterpret_cast<const char*>(start.data()), kImageSize);
            const int code = 0x1000 + i % 0xE000;
            if (distinct) {
                image[Addr::RadioIdCode] = char(code >> 8);
                image[Addr::RadioIdCode + 1] = char(code & 0xFF);
            }
            JournalEntry entry;
            entry.time = first.addSecs(30 * i);
            entry.job = JournalJob::Write;
            entry.codeBefore = QStringLiteral("%1").arg(0x4000 + i % 0x8000, 4, 16, QChar('0'));
            entry.codeAfter = QStringLiteral("%1").arg(code, 4, 16, QChar('0')).toUpper();
            entry.firmwareVersion = QStringLiteral("2.1");
            entry.fileName = QStringLiteral("/home/techniker/Anlage Sonnenhof/Haus B.Korbi");
            entry.site = QStringLiteral("Pflegeheim Sonnenhof, Haus B");
            entry.room = QStringLiteral("Zimmer %1").arg(100 + i % 400);
            entry.sha256 = QString::fromLatin1(
                QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
            entry.verifyOutcome = QString::fromUtf8(kVerifiedWord);
            entry.image = image;
            db.Insert(RowOfEntry(entry), 0, &cause);
        }
        db.Commit(&cause);
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
        QFile pdf(record.dir.filePath(QStringLiteral("bericht.pdf")));
        if (!reader.Open(record.target, &error) || !pdf.open(QIODevice::WriteOnly)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        RecordReportLines lines(reader, ReportRange{});
        pages = WriteReportPdf(ReportHeaderHere(QString(), QString()), lines, pdf, &error);
        if (pages == 0) state.SkipWithError(error.toStdString().c_str());
    }
    state.counters["pages"] = pages;
    state.counters["lines"] = Lines();
}

void SeriesOfOneConfiguration(benchmark::State& state) {
    ReportOf(state, false);
}
void EachDeviceItsOwnConfiguration(benchmark::State& state) {
    ReportOf(state, true);
}
BENCHMARK(SeriesOfOneConfiguration)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
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
