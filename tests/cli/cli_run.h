#pragma once
// korbi-cli in its own process, with its data folder in a temporary folder; standard output and
// standard error go to files that the test reads afterwards.

#include <QFile>
#include <QString>
#include <QStringList>
#include <chrono>
#include <thread>

#include "files/filenames.h"
#include "lpxsim_process.h"

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

class CliProcess {
  public:
    // home: the temporary folder that stands in for the user's home; out: standard output when
    // not the file cli.out there (the process gets its own copy); lang: LANG when not inherited.
    CliProcess(const QString& home, const QStringList& arguments, int out = -1,
               const char* lang = nullptr)
        : home_(home) {
        std::vector<std::string> args{"korbi-cli"};
        for (const QString& a : arguments) args.push_back(FileNameBytes(a).toStdString());
        const int streams[3] = {open("/dev/null", O_RDONLY | O_CLOEXEC),
                                out >= 0 ? dup(out) : OutputFile((home + "/cli.out").toStdString()),
                                OutputFile((home + "/cli.err").toStdString())};
        std::vector<std::pair<const char*, std::string>> env{
            {"HOME", home.toStdString()},
            {"XDG_DATA_HOME", (home + "/.local/share").toStdString()}};
        if (lang) env.insert(env.end(), {{"LANG", lang}, {"LC_ALL", lang}});
        pid_ = Spawn(KORBI_CLI_PATH, args, streams, env);
        for (int fd : streams) close(fd);
    }
    // Waits until standard error holds text (or the program ended, or 10 s passed).
    bool WaitForError(const QString& text) {
        for (int i = 0; i < 1000; ++i) {
            if (Read("/cli.err").contains(text)) return true;
            if (waitpid(pid_, &raw_, WNOHANG) == pid_) {
                ended_ = true;
                return Read("/cli.err").contains(text);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    void Signal(int signal) { kill(pid_, signal); }
    pid_t Pid() const { return pid_; }
    // Waits until a signal sent is no longer pending: the program has taken it.
    bool WaitUntilTaken(int signal) {
        for (int i = 0; i < 10000; ++i) {
            QFile status(QStringLiteral("/proc/%1/status").arg(pid_));
            if (!status.open(QIODevice::ReadOnly)) return false;
            unsigned long long pending = 0;
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("SigPnd:") || line.startsWith("ShdPnd:"))
                    pending |= line.mid(7).trimmed().toULongLong(nullptr, 16);
            if (!(pending & (1ull << (signal - 1)))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    CliRun Finish() {
        if (!ended_) waitpid(pid_, &raw_, 0);
        ended_ = true;
        return {WIFEXITED(raw_) ? WEXITSTATUS(raw_) : 128 + WTERMSIG(raw_), Read("/cli.out"),
                Read("/cli.err")};
    }

  private:
    QString Read(const char* name) const {
        QFile file(home_ + name);
        if (!file.open(QIODevice::ReadOnly)) return QString();
        return QString::fromUtf8(file.readAll());
    }
    QString home_;
    pid_t pid_ = -1;
    int raw_ = 0;
    bool ended_ = false;
};

inline CliRun RunCli(const QString& home, const QStringList& arguments) {
    return CliProcess(home, arguments).Finish();
}
