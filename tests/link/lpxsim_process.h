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
#include <utility>
#include <vector>

#include "lpx_commands.h"

// Starts the executable at path with its standard input, output and error on the descriptors
// given and the variables of env set. The caller's own descriptors should be close-on-exec.
inline pid_t Spawn(const char* path, std::vector<std::string> args, const int (&streams)[3],
                   const std::vector<std::pair<const char*, std::string>>& env = {}) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const auto& [name, value] : env) setenv(name, value.c_str(), 1);
    for (int fd = 0; fd < 3; ++fd) dup2(streams[fd], fd);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(path, argv.data());
    _exit(127);
}

// A file the caller opens for a child's output, truncated; closed on exec.
inline int OutputFile(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

class LpxSimProcess {
  public:
    LpxSimProcess(const std::string& logPath, std::vector<std::string> options) {
        int out[2], in[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(in, O_CLOEXEC) != 0) return;
        options.insert(options.begin(), "lpx-sim");
        const int log = OutputFile(logPath);
        pid_ = Spawn(LPX_SIM_PATH, options, {in[0], out[1], log});
        close(log);
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
