#include "app/jobsignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

#include "app/windowjobs.h"

namespace {

int g_pipe[2] = {-1, -1};
std::atomic<int> g_ending{0};

extern "C" void NoteSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = saved;
}

}  // namespace

void EndJobsOnSignals(WindowJobs& jobs, QObject* owner) {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [&jobs] {
        unsigned char number = 0;
        while (::read(g_pipe[0], &number, 1) == 1) {
            // A second signal (a closed terminal sends two) changes nothing.
            int none = 0;
            if (!g_ending.compare_exchange_strong(none, number)) continue;
            jobs.EndThen([] { QCoreApplication::quit(); });
        }
    });
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

int EndingSignal() {
    return g_ending;
}

void RaiseEndingSignal() {
    const int signal = g_ending;
    if (signal == 0) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}
