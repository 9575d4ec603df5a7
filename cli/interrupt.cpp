#include "cli/interrupt.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace {

volatile sig_atomic_t g_interrupted = 0;
int g_pipe[2] = {-1, -1};

extern "C" void OnInterrupt(int) {
    const int saved = errno;
    g_interrupted = 1;
    if (g_pipe[1] >= 0) {
        const char note = 1;
        [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &note, 1);
    }
    errno = saved;
}

}  // namespace

void InstallInterruptHandler() {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) g_pipe[0] = g_pipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The second signal finds the default action again and ends the program.
    action.sa_flags = SA_RESETHAND;
    // A closed terminal (SIGHUP) or a stop request (SIGTERM) must not leave the LPX's list
    // armed for the next press either: each ends the wait like Ctrl+C.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool Interrupted() {
    return g_interrupted != 0;
}

int InterruptDescriptor() {
    return g_pipe[0];
}

bool SleepUnlessInterrupted(int ms) {
    if (Interrupted()) return true;
    struct pollfd fd {
        g_pipe[0], POLLIN, 0
    };
    // The note stays in the pipe, so every later wait sees it too.
    while (::poll(&fd, g_pipe[0] >= 0 ? 1 : 0, ms) < 0 && errno == EINTR) {
        if (Interrupted()) return true;
    }
    return Interrupted();
}
