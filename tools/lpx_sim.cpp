// lpx-sim: a simulated LPX on a pseudo-terminal, so that the K-ORBI Programmer can be tried
// without the programming unit: start it, then run korbi-programmer --port=<printed path>.
//
//   lpx-sim [--device=CODE[:VERSION[:TYPE]]]... [--generation=1|2] [--info=TEXT]
//           [--press-after=MS [--press-order=N,N,...]] [--fault=NAME[:TARGET]]... [--quiet]
//
// Enter on stdin presses the first device's button (a number before Enter picks another
// device); --press-after presses it by itself MS milliseconds after every job started, and
// --press-order names the devices whose buttons those presses take in turn (the last one stays).

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/lpxsim.h"

namespace {

using Clock = std::chrono::steady_clock;

struct FaultName {
    const char* name;
    SimFault fault;
};

const FaultName kFaults[] = {
    {"no-answer", SimFault::NoAnswer},
    {"wrong-checksum", SimFault::WrongChecksum},
    {"lower-case-checksum", SimFault::LowerCaseChecksum},
    {"split", SimFault::SplitAnswer},
    {"job-fails", SimFault::JobFails},
    {"job-times-out", SimFault::JobTimesOut},
    {"foreign-product", SimFault::ForeignProduct},
    {"bad-count", SimFault::BadRecordCount},
    {"short-record", SimFault::ShortRecord},
    {"missing-block", SimFault::MissingBlock},
    {"old-firmware", SimFault::OldFirmware},
    {"eot", SimFault::StartJobEot},
    {"esc", SimFault::WriteBlockEsc},
    {"changes-byte", SimFault::ChangesByte},
};

struct Options {
    struct DeviceChoice {
        unsigned code;
        unsigned version;
        unsigned type;
    };
    std::deque<DeviceChoice> devices;
    int generation = 2;
    std::string info;
    long pressAfterMs = -1;
    std::vector<int> pressOrder;
    bool quiet = false;
};

[[noreturn]] void Usage(const char* problem) {
    std::fprintf(stderr,
                 "lpx-sim: %s\n"
                 "usage: lpx-sim [--device=CODE[:VERSION[:TYPE]]]... [--generation=1|2]\n"
                 "               [--info=TEXT] [--press-after=MS [--press-order=N,N,...]]\n"
                 "               [--fault=NAME[:TARGET]]... [--quiet]\n"
                 "faults:",
                 problem);
    for (const FaultName& f : kFaults) std::fprintf(stderr, " %s", f.name);
    std::fprintf(stderr, "\n");
    std::exit(2);
}

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
    const size_t n = std::strlen(prefix);
    if (text.compare(0, n, prefix) != 0) return false;
    *rest = text.substr(n);
    return true;
}

void ParseOptions(int argc, char** argv, Options* options, LpxSim* sim) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string value;
        if (StartsWith(arg, "--device=", &value)) {
            Options::DeviceChoice choice{0, 0, 0};
            const int n =
                std::sscanf(value.c_str(), "%x:%x:%x", &choice.code, &choice.version, &choice.type);
            if (n < 1 || choice.code > 0xFFFF || choice.version > 0xFF || choice.type > 0xFF)
                Usage("bad --device");
            if (n < 2) choice.version = 0;  // filled from --generation below
            options->devices.push_back(choice);
        } else if (StartsWith(arg, "--generation=", &value)) {
            options->generation = std::atoi(value.c_str());
            if (options->generation != 1 && options->generation != 2) Usage("bad --generation");
        } else if (StartsWith(arg, "--info=", &value)) {
            sim->SetInfoText(value);
        } else if (StartsWith(arg, "--press-after=", &value)) {
            options->pressAfterMs = std::atol(value.c_str());
        } else if (StartsWith(arg, "--press-order=", &value)) {
            for (size_t at = 0; at < value.size();) {
                const size_t comma = std::min(value.find(',', at), value.size());
                options->pressOrder.push_back(std::atoi(value.substr(at, comma - at).c_str()));
                at = comma + 1;
            }
        } else if (StartsWith(arg, "--fault=", &value)) {
            const size_t colon = value.find(':');
            const std::string name = value.substr(0, colon);
            const std::string target = colon == std::string::npos ? "" : value.substr(colon + 1);
            bool known = false;
            for (const FaultName& f : kFaults) {
                if (name == f.name) {
                    sim->InjectFault(f.fault, target);
                    known = true;
                }
            }
            if (!known) Usage("unknown fault");
        } else if (arg == "--quiet") {
            options->quiet = true;
        } else {
            Usage("unknown option");
        }
    }
    if (options->devices.empty()) options->devices.push_back({0x12AB, 0, 0});
    for (const Options::DeviceChoice& choice : options->devices) {
        const unsigned version = choice.version             ? choice.version
                                 : options->generation == 1 ? 0x1A
                                                            : 0x21;
        sim->AddDevice(static_cast<uint16_t>(choice.code), static_cast<uint8_t>(version),
                       static_cast<uint8_t>(choice.type));
    }
}

int OpenPseudoTerminal(std::string* slavePath, int* slave) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return -1;
    const char* name = ptsname(master);
    if (!name) return -1;
    *slavePath = name;
    // Held open so that the terminal keeps its raw settings and the master never sees a hang-up
    // while the program closes and opens the port between jobs.
    *slave = open(name, O_RDWR | O_NOCTTY);
    if (*slave < 0) return -1;
    termios t{};
    tcgetattr(*slave, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B57600);
    cfsetospeed(&t, B57600);
    tcsetattr(*slave, TCSANOW, &t);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return master;
}

std::string Printable(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        char hex[8];
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            text += hex;
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    LpxSim sim;
    Options options;
    ParseOptions(argc, argv, &options, &sim);

    std::string slavePath;
    int slave = -1;
    const int master = OpenPseudoTerminal(&slavePath, &slave);
    if (master < 0) {
        std::perror("lpx-sim: pseudo-terminal");
        return 1;
    }
    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);
    if (!options.quiet)
        std::fprintf(stderr, "lpx-sim: korbi-programmer --port=%s; Enter presses the button\n",
                     slavePath.c_str());

    struct Outgoing {
        Clock::time_point due;
        std::string bytes;
    };
    std::deque<Outgoing> outgoing;
    bool stdinOpen = true;
    bool pressScheduled = false;
    size_t automaticPresses = 0;
    Clock::time_point pressAt;
    std::string typed;

    auto press = [&](int device) {
        const bool took = sim.PressButton(device);
        if (!options.quiet)
            std::fprintf(stderr, "lpx-sim: button of device %d pressed%s\n", device,
                         took ? "" : " (no job waiting for it)");
    };

    for (;;) {
        const Clock::time_point now = Clock::now();
        while (!outgoing.empty() && outgoing.front().due <= now) {
            const std::string& bytes = outgoing.front().bytes;
            if (write(master, bytes.data(), bytes.size()) < 0) std::perror("lpx-sim: write");
            outgoing.pop_front();
        }
        if (pressScheduled && pressAt <= now) {
            pressScheduled = false;
            const std::vector<int>& order = options.pressOrder;
            press(order.empty() ? 0 : order[std::min(automaticPresses, order.size() - 1)]);
            ++automaticPresses;
        }
        int timeoutMs = -1;
        auto consider = [&](Clock::time_point at) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at - now).count();
            const int wait = static_cast<int>(ms < 0 ? 0 : ms + 1);
            if (timeoutMs < 0 || wait < timeoutMs) timeoutMs = wait;
        };
        if (!outgoing.empty()) consider(outgoing.front().due);
        if (pressScheduled) consider(pressAt);

        pollfd fds[2] = {{master, POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0) continue;

        if (fds[0].revents & POLLIN) {
            char buffer[256];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0) {
                const size_t logged = sim.Log().size();
                Clock::time_point due = Clock::now();
                if (!outgoing.empty()) due = std::max(due, outgoing.back().due);
                std::vector<SimPiece> pieces = sim.Receive(std::string(buffer, size_t(n)));
                for (size_t i = logged; i < sim.Log().size() && !options.quiet; ++i)
                    std::fprintf(stderr, "lpx-sim: %s\n", sim.Log()[i].c_str());
                for (SimPiece& piece : pieces) {
                    due += piece.delay;
                    if (!options.quiet)
                        std::fprintf(stderr, "lpx-sim:   -> %s\n", Printable(piece.bytes).c_str());
                    outgoing.push_back(Outgoing{due, std::move(piece.bytes)});
                }
                if (sim.JobWaiting() && options.pressAfterMs >= 0 && !pressScheduled &&
                    sim.Log().size() > logged && sim.Log().back()[0] == 'i') {
                    pressScheduled = true;
                    pressAt = Clock::now() + std::chrono::milliseconds(options.pressAfterMs);
                }
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            usleep(10000);  // nobody on the other side; keep serving
        }
        if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buffer[64];
            const ssize_t n = read(0, buffer, sizeof buffer);
            if (n <= 0) {
                stdinOpen = false;
                continue;
            }
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] != '\n') {
                    typed += buffer[i];
                    continue;
                }
                const int device = typed.empty() ? 0 : std::atoi(typed.c_str());
                typed.clear();
                press(device);
            }
        }
    }
    close(slave);
    close(master);
    return 0;
}
