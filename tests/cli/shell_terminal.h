#pragma once
// An interactive bash on a pseudo-terminal of its own, as a terminal window runs it. Closing the
// window hangs the terminal up: bash gets SIGHUP, forwards it to its jobs and ends, and the
// kernel then hangs up the foreground job once more.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <string>
#include <vector>

class ShellOnTerminal {
  public:
    ShellOnTerminal() : master_(posix_openpt(O_RDWR | O_CLOEXEC)) {
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        const std::string terminal = ptsname(master_);
        std::vector<char*> env{const_cast<char*>("PS1=$ "), const_cast<char*>("HISTFILE=")};
        for (char** v = environ; *v; ++v) env.push_back(*v);
        env.push_back(nullptr);
        const char* argv[] = {"bash", "--norc", "--noprofile", "-i", nullptr};
        if ((pid_ = fork()) != 0) return;
        setsid();
        const int fd = open(terminal.c_str(), O_RDWR);  // becomes the controlling terminal
        for (int i = 0; i < 3; ++i) dup2(fd, i);
        execve("/bin/bash", const_cast<char**>(argv), env.data());
        _exit(127);
    }
    ~ShellOnTerminal() {
        Close();
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    // Waits up to 10 s until the terminal has shown text (its "\r\n" read as "\n").
    bool WaitFor(const QByteArray& text) {
        for (pollfd p{master_, POLLIN, 0}; !shown.contains(text); shown.replace("\r\n", "\n")) {
            char buffer[4096];
            const ssize_t n = poll(&p, 1, 10000) > 0 ? read(master_, buffer, sizeof buffer) : 0;
            if (n <= 0) return false;
            shown.append(buffer, int(n));
        }
        return true;
    }
    // Types a command line at the prompt.
    bool Type(const std::string& line) {
        if (!WaitFor("$ ")) return false;
        shown.clear();
        return write(master_, (line + "\n").c_str(), line.size() + 1) == ssize_t(line.size() + 1);
    }
    // The terminal window is closed.
    void Close() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }
    QByteArray shown;  // since the command was typed

  private:
    int master_;
    pid_t pid_ = -1;
};
