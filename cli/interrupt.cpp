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
    // No SA_RESETHAND: the handler stays for every later signal. A closed terminal sends two
    // SIGHUPs a fraction of a millisecond apart (the shell forwards its own, then the kernel
    // hangs up the foreground group); had the second found the default action, it would end
    // the program before the LPX's list is emptied and the job's line written, and the next
    // press on that device would still carry out the job.
    action.sa_flags = 0;
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
