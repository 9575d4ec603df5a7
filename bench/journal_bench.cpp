// Append latency of the journal, run by hand: build/bench/journal-bench. The local record is a
// SQLite file in a temporary folder; the server case needs PGHOST and the like (run it under
// pg_virtualenv) and is skipped without a server.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "files/journalstore.h"

namespace {

void Append(benchmark::State& state, const QString& server) {
    QTemporaryDir dir;
    const JournalTarget target{JournalPath(dir.path() + "/"), server};
    JournalEntry entry;
    entry.codeBefore = entry.codeAfter = "4C2D";
    entry.image = QByteArray(256, 'x');
    QString warning;
    for (auto _ : state) {
        AppendJournal(target, entry, &warning);
        if (!warning.isEmpty()) {
            state.SkipWithError(warning.toStdString().c_str());
            break;
        }
    }
}

void AppendLocal(benchmark::State& state) {
    Append(state, QString());
}
void AppendServer(benchmark::State& state) {
    Append(state, QStringLiteral("postgresql://"));
}
BENCHMARK(AppendLocal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AppendServer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
