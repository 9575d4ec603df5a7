#pragma once
// An interactive bash on a pseudo-terminal of its own, as a technician's terminal window runs it:
// lines typed go to the shell, what the programs print is read back, and closing the window
// hangs the terminal up (the shell gets SIGHUP, forwards it to its jobs and ends, and the
// kernel then hangs up the foreground job as well).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

class ShellOnTerminal {
  public:
    explicit ShellOnTerminal(const std::vector<std::pair<std::string, std::string>>& env) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        const std::string terminal = ptsname(master_);
        // Everything the child needs is made before the fork: it only execs.
        std::vector<std::string> variables;
        for (char** v = environ; *v; ++v) variables.emplace_back(*v);
        for (const auto& [name, value] : env) variables.push_back(name + "=" + value);
        variables.push_back("PS1=" + std::string(kPrompt));
        variables.push_back("HISTFILE=");
        std::vector<char*> envp;
        for (std::string& v : variables) envp.push_back(v.data());
        envp.push_back(nullptr);
        char* const argv[] = {const_cast<char*>("bash"), const_cast<char*>("--norc"),
                              const_cast<char*>("--noprofile"), const_cast<char*>("-i"), nullptr};
        pid_ = fork();
        if (pid_ != 0) return;
        setsid();
        const int fd = open(terminal.c_str(), O_RDWR);
        if (fd < 0 || ioctl(fd, TIOCSCTTY, 0) != 0) _exit(127);
        for (int i = 0; i < 3; ++i) dup2(fd, i);
        execve("/bin/bash", argv, envp.data());
        _exit(127);
    }
    ~ShellOnTerminal() {
        Close();
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    ShellOnTerminal(const ShellOnTerminal&) = delete;
    ShellOnTerminal& operator=(const ShellOnTerminal&) = delete;

    // Types a command line once the shell shows its prompt.
    bool Type(const std::string& line) {
        if (!WaitFor(kPrompt)) return false;
        shown_.clear();
        const std::string typed = line + "\n";
        return write(master_, typed.data(), typed.size()) == ssize_t(typed.size());
    }
    // Waits up to 10 s until the terminal has shown text.
    bool WaitFor(const QString& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!shown_.contains(text.toUtf8())) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd p{master_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) return false;
            char buffer[4096];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) return false;
            // The terminal ends its lines with "\r\n"; the programs wrote "\n".
            shown_.append(QByteArray(buffer, int(n)).replace("\r\n", "\n"));
        }
        return true;
    }
    // What the terminal has shown since the command was typed.
    const QByteArray& Shown() const { return shown_; }
    // The terminal window is closed.
    void Close() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }

  private:
    static constexpr const char* kPrompt = "korbi-test$ ";
    int master_ = -1;
    pid_t pid_ = -1;
    QByteArray shown_;
};
