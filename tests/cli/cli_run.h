#pragma once
// korbi-cli in its own process, with its data folder in a temporary folder; standard output and
// standard error go to files that the test reads afterwards.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <chrono>
#include <thread>

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

class CliProcess {
  public:
    // home: the temporary folder that stands in for the user's home.
    CliProcess(const QString& home, const QStringList& arguments) : home_(home) {
        const QByteArray out = QFile::encodeName(home + "/cli.out");
        const QByteArray err = QFile::encodeName(home + "/cli.err");
        std::vector<QByteArray> args{QByteArray("korbi-cli")};
        for (const QString& a : arguments) args.push_back(a.toUtf8());
        pid_ = fork();
        if (pid_ == 0) {
            setenv("HOME", QFile::encodeName(home).constData(), 1);
            setenv("XDG_DATA_HOME", QFile::encodeName(home + "/.local/share").constData(), 1);
            freopen(out.constData(), "w", stdout);
            freopen(err.constData(), "w", stderr);
            freopen("/dev/null", "r", stdin);
            std::vector<char*> argv;
            for (QByteArray& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(KORBI_CLI_PATH, argv.data());
            _exit(127);
        }
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
    CliRun Finish() {
        if (!ended_) waitpid(pid_, &raw_, 0);
        ended_ = true;
        CliRun run;
        run.status = WIFEXITED(raw_) ? WEXITSTATUS(raw_) : 128 + WTERMSIG(raw_);
        run.out = Read("/cli.out");
        run.err = Read("/cli.err");
        return run;
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
