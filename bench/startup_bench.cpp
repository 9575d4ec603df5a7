// Start-up of two programs, started by turns so that both meet the same machine: a load that
// comes and goes during the run falls on both alike. Each start is timed on its own (wall clock,
// and user and system CPU from wait4), and the medians are compared, so one start held up by a
// busy machine does not move the figure. Memory is the largest resident size over all starts.
//
//   startup-bench [--runs=N] -- BASELINE ARGS... -- PROGRAM ARGS...
//
// Prints one line per program and one of ratios; exits 1 when a start fails.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sample {
    double wallMs;
    double cpuMs;  // user and system together
    double sysMs;
    long maxRssKb;
};

struct Command {
    std::vector<char*> argv;  // ends with nullptr
    std::vector<Sample> samples;
};

bool Start(Command& command) {
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        // The programs' own output would only slow the run down.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execvp(command.argv[0], command.argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "startup-bench: %s ended with status %d\n", command.argv[0], status);
        return false;
    }
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    command.samples.push_back({std::chrono::duration<double, std::milli>(end - begin).count(),
                               ms(usage.ru_utime) + ms(usage.ru_stime), ms(usage.ru_stime),
                               usage.ru_maxrss});
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Summary {
    double wall, cpu, sys;
    long rss;
};

Summary Summarise(const Command& command) {
    std::vector<double> wall, cpu, sys;
    long rss = 0;
    for (const Sample& s : command.samples) {
        wall.push_back(s.wallMs);
        cpu.push_back(s.cpuMs);
        sys.push_back(s.sysMs);
        rss = std::max(rss, s.maxRssKb);
    }
    return {Median(wall), Median(cpu), Median(sys), rss};
}

int Usage() {
    std::fprintf(stderr,
                 "usage: startup-bench [--runs=N] -- BASELINE ARGS... -- PROGRAM ARGS...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 40;
    int at = 1;
    for (; at < argc && std::strcmp(argv[at], "--") != 0; ++at) {
        if (std::strncmp(argv[at], "--runs=", 7) == 0)
            runs = std::atoi(argv[at] + 7);
        else
            return Usage();
    }
    Command commands[2];
    for (Command& command : commands) {
        if (at >= argc || std::strcmp(argv[at], "--") != 0) return Usage();
        for (++at; at < argc && std::strcmp(argv[at], "--") != 0; ++at)
            command.argv.push_back(argv[at]);
        if (command.argv.empty()) return Usage();
        command.argv.push_back(nullptr);
    }
    if (runs < 1) return Usage();

    // One start each first: it fills the page cache and installs a first start's files.
    for (Command& command : commands) {
        if (!Start(command)) return 1;
        command.samples.clear();
    }
    for (int i = 0; i < runs; ++i) {
        for (Command& command : commands)
            if (!Start(command)) return 1;
    }

    const Summary base = Summarise(commands[0]);
    const Summary program = Summarise(commands[1]);
    auto line = [](const char* name, const Summary& s) {
        std::printf("%-10s wall %6.2f ms  CPU %6.2f ms (system %5.2f)  RSS %7ld kB\n", name, s.wall,
                    s.cpu, s.sys, s.rss);
    };
    std::printf("medians of %d starts each, taken by turns\n", runs);
    line("baseline", base);
    line("program", program);
    std::printf("ratio      wall %6.2fx    CPU %6.2fx                  RSS %6.2fx\n",
                program.wall / base.wall, program.cpu / base.cpu,
                double(program.rss) / double(base.rss));
    return 0;
}
