#pragma once
// The lpx-sim tool in its own process, serving a simulated LPX on a pseudo-terminal; its log of
// received commands goes to a file, and Enter on its input presses the first device's button.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

class LpxSimProcess {
  public:
    LpxSimProcess(const std::string& logPath, std::vector<std::string> options) {
        int out[2], in[2];
        if (pipe(out) != 0 || pipe(in) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(in[0], 0);
            const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(log, 2);
            close(out[0]);
            close(in[1]);
            std::vector<char*> argv{const_cast<char*>("lpx-sim")};
            for (std::string& option : options) argv.push_back(option.data());
            argv.push_back(nullptr);
            execv(LPX_SIM_PATH, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(in[0]);
        keys_ = in[1];
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') path += c;
        close(out[0]);
    }
    ~LpxSimProcess() {
        HangUp();
        close(keys_);
    }
    LpxSimProcess(const LpxSimProcess&) = delete;
    LpxSimProcess& operator=(const LpxSimProcess&) = delete;

    // The first device's button, as Enter on the tool's terminal.
    void Press() const { EXPECT_EQ(write(keys_, "\n", 1), 1); }
    // The LPX's end of the line goes away, as when the converter is unplugged.
    void HangUp() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    std::string path;  // the pseudo-terminal to open

  private:
    pid_t pid_ = -1;
    int keys_ = -1;
};

// The commands lpx-sim logged ("lpx-sim: m0622"), without its answers and button notes.
inline std::vector<std::string> LoggedCommands(const std::string& logPath) {
    std::ifstream in(logPath);
    std::vector<std::string> commands;
    const std::string prefix = "lpx-sim: ";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0) continue;
        const std::string rest = line.substr(prefix.size());
        if (rest.empty() || rest[0] == ' ' || rest.find(' ') != std::string::npos) continue;
        commands.push_back(rest);
    }
    return commands;
}
