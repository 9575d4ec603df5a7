// The journal, measured by hand (build/bench/journal-bench):
//   journal-bench                     append latency (SQLite; PostgreSQL under pg_virtualenv)
//   journal-bench --fill=N FOLDER     a record of N lines in FOLDER/Protokoll.sqlite, for timing
//                                     korbi-cli journal --json/--csv against the sqlite3 shell
//   journal-bench --writers=P --lines=L
//                                     P processes append L lines each to one record at once;
//                                     prints how many lines arrived and how many were lost

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "record/journaldb.h"
#include "record/journalstore.h"

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

// The value of "--name=" in argv, or empty.
std::string Option(int argc, char** argv, const char* name) {
    const size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], name, length) == 0) return argv[i] + length;
    return std::string();
}

// N lines of the kinds a working day gives, written in one transaction.
int Fill(long lines, const QString& folder) {
    JournalDb db;
    QString cause;
    if (!db.OpenLocal(JournalPath(folder + "/"), &cause) || !db.Begin(&cause)) {
        std::fprintf(stderr, "%s\n", qPrintable(cause));
        return 1;
    }
    const QDateTime start(QDate(2020, 1, 1), QTime(8, 0));
    const char* const outcomes[] = {"ok", "ok", "ok", "failed", "aborted", "checked"};
    for (long i = 0; i < lines; ++i) {
        JournalEntry entry;
        entry.time = start.addSecs(i * 60);
        entry.job = static_cast<JournalJob>(i % 3);
        entry.codeBefore = entry.codeAfter = QString::asprintf("%04lX", (i * 7919) % 0xFFFF);
        entry.firmwareVersion = QStringLiteral("2.1");
        entry.productionDate = QStringLiteral("240117");
        entry.fileName = QStringLiteral("/home/techniker/Anlagen/Haus %1/Zimmer, \"%2\".Korbi")
                             .arg(i % 40)
                             .arg(i % 7);
        entry.sha256 = QString(64, QChar(char('a' + i % 6)));
        entry.program = static_cast<JournalProgram>(i % 2);
        entry.loginName = QStringLiteral("techniker");
        entry.hostName = QStringLiteral("laptop-7");
        entry.programVersion = QStringLiteral("1.0.0.0");
        JournalRow row = RowOfEntry(entry);
        row.fields[ColOutcome] = QString::fromLatin1(outcomes[i % 6]);
        row.messageId = i % 6 == 3 ? 10627 : 0;
        if (!db.Insert(row, false, &cause)) {
            std::fprintf(stderr, "%s\n", qPrintable(cause));
            return 1;
        }
    }
    return db.Commit(&cause) ? 0 : 1;
}

// One writer process: its lines carry its own code.
int Writer(const QString& folder, const QString& code, int lines) {
    const JournalTarget target{JournalPath(folder + "/"), {}};
    int failed = 0;
    for (int i = 0; i < lines; ++i) {
        JournalEntry entry;
        entry.codeBefore = entry.codeAfter = code;
        QString warning;
        if (!AppendJournal(target, entry, &warning) || !warning.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(warning));
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

int Writers(const char* program, int processes, int lines) {
    QTemporaryDir dir;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const std::string code = QString::asprintf("%04X", p + 1).toStdString();
        const std::string count = std::to_string(lines);
        const std::string folder = dir.path().toStdString();
        const pid_t pid = fork();
        if (pid == 0) {
            execl(program, program, "--writer", folder.c_str(), code.c_str(), count.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        children.push_back(pid);
    }
    int failedProcesses = 0;
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        failedProcesses += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    JournalReader reader;
    QString error;
    const JournalTarget target{JournalPath(dir.path() + "/"), {}};
    if (!reader.Open(target, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 arrived = reader.Count({}, &error);
    const qint64 expected = qint64(processes) * lines;
    std::printf("%d processes x %d lines: %lld arrived, %lld lost, %d processes saw a failure\n",
                processes, lines, static_cast<long long>(arrived),
                static_cast<long long>(expected - arrived), failedProcesses);
    return arrived == expected && failedProcesses == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--writer") == 0)
        return Writer(QString::fromLocal8Bit(argv[2]), QString::fromLatin1(argv[3]),
                      std::atoi(argv[4]));
    if (const std::string fill = Option(argc, argv, "--fill="); !fill.empty() && argc == 3)
        return Fill(std::atol(fill.c_str()), QString::fromLocal8Bit(argv[2]));
    if (const std::string writers = Option(argc, argv, "--writers="); !writers.empty())
        return Writers(argv[0], std::atoi(writers.c_str()),
                       std::atoi(Option(argc, argv, "--lines=").c_str()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
