#include "app/windowjobs.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <set>

namespace {

// How a call to the window's thread stands.
enum CallState { CallWaiting, CallRunning, CallDone, CallDropped };

constexpr int kEndPollMs = 10;
// How long the program's end waits for a job that ends on its own; a job stuck elsewhere must
// not keep a dying program.
constexpr std::chrono::seconds kEndAtExit{5};

// The jobs alive now: a lost display ends the program through exit(), on the window's thread,
// and each running job is ended as Abbruch ends it before the process goes.
std::mutex g_liveMutex;
std::set<WindowJobs*>& Live() {
    static std::set<WindowJobs*> live;
    return live;
}

extern "C" void EndJobsAtExit() {
    const std::lock_guard<std::mutex> lock(g_liveMutex);
    for (WindowJobs* jobs : Live()) jobs->EndBlocking(kEndAtExit);
}

}  // namespace

WindowJobs::WindowJobs(LpxAdapter& adapter, JobHost& gui)
    : gui_(gui),
      jobs_(adapter, *this),
      receiver_(std::make_unique<QObject>()),
      thread_(std::make_unique<WorkerThread>(WorkerThread::AtEnd::DropQueued)) {
    static std::once_flag registered;
    // The list is made before the handler is registered, so that it is still there when the
    // handler runs.
    std::call_once(registered, [] {
        Live();
        std::atexit(EndJobsAtExit);
    });
    const std::lock_guard<std::mutex> lock(g_liveMutex);
    Live().insert(this);
}

WindowJobs::~WindowJobs() {
    {
        const std::lock_guard<std::mutex> lock(g_liveMutex);
        Live().erase(this);
    }
    // The job's steps end at once: its waits are aborted and its calls to this thread dropped.
    EndBlocking(std::chrono::hours(1));
    thread_.reset();
}

void WindowJobs::EndBlocking(std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> lock(mutex_);
    ending_ = true;
    aborted_ = true;
    wake_.notify_all();
    wake_.wait_for(lock, patience, [this] { return !busy_; });
}

bool WindowJobs::Run(std::function<void(DeviceJobs&)> work, std::function<void()> done,
                     bool writing) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (running_ || ending_) return false;
        aborted_ = false;
        busy_ = true;
    }
    running_ = true;
    writing_ = writing;
    thread_->Post([this, work = std::move(work), done = std::move(done)] {
        work(jobs_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
        }
        wake_.notify_all();
        Post([this, done] {
            running_ = false;
            writing_ = false;
            if (done) done();
        });
    });
    return true;
}

bool WindowJobs::StartIdentify(Ended ended) {
    auto outcome = std::make_shared<JobOutcome>();
    return Run([outcome](DeviceJobs& jobs) { *outcome = jobs.Identify(); },
               [outcome, ended] {
                   if (ended) ended(*outcome);
               });
}

bool WindowJobs::StartRead(ReadRequest request, Ended ended) {
    auto outcome = std::make_shared<JobOutcome>();
    return Run([outcome, request](DeviceJobs& jobs) { *outcome = jobs.Read(request); },
               [outcome, ended] {
                   if (ended) ended(*outcome);
               });
}

bool WindowJobs::StartWrite(WriteRequest request, Ended ended) {
    auto outcome = std::make_shared<JobOutcome>();
    return Run([outcome, request](DeviceJobs& jobs) { *outcome = jobs.Write(request); },
               [outcome, ended] {
                   if (ended) ended(*outcome);
               },
               true);
}

bool WindowJobs::StartCodeChange(CodeChangeRequest request, Ended ended) {
    auto outcome = std::make_shared<JobOutcome>();
    return Run([outcome, request](DeviceJobs& jobs) { *outcome = jobs.ChangeCode(request); },
               [outcome, ended] {
                   if (ended) ended(*outcome);
               });
}

void WindowJobs::Abort() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        aborted_ = true;
    }
    wake_.notify_all();
}

bool WindowJobs::Idle() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !busy_;
}

void WindowJobs::EndThen(std::function<void()> after) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
        aborted_ = true;
    }
    wake_.notify_all();
    // A box the job waits for is answered as closed; the wait dialog's close is its abort.
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    if (Idle()) {
        after();
        return;
    }
    QTimer::singleShot(kEndPollMs, receiver_.get(), [this, after] { EndThen(after); });
}

bool WindowJobs::CallOnWindow(std::function<void()> call) {
    if (QThread::currentThread() == receiver_->thread()) {
        call();
        return true;
    }
    auto state = std::make_shared<CallState>(CallWaiting);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ending_) return false;
    }
    QMetaObject::invokeMethod(
        receiver_.get(),
        [this, state, call = std::move(call)] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (*state != CallWaiting) return;
                *state = CallRunning;
            }
            call();
            {
                std::lock_guard<std::mutex> lock(mutex_);
                *state = CallDone;
            }
            wake_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock,
               [this, &state] { return *state == CallDone || (ending_ && *state == CallWaiting); });
    if (*state == CallDone) return true;
    *state = CallDropped;
    return false;
}

void WindowJobs::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(receiver_.get(), std::move(call), Qt::QueuedConnection);
}

BoxAnswer WindowJobs::Relay::ShowMessage(BoxKind kind, int textId, const QString& text,
                                         BoxButtons buttons) {
    BoxAnswer answer = BoxAnswer::Closed;
    jobs_.CallOnWindow(
        [&] { answer = jobs_.gui_.JobMessages().ShowMessage(kind, textId, text, buttons); });
    return answer;
}

void WindowJobs::ShowStatus(const QString& text) {
    Post([this, text] { gui_.ShowStatus(text); });
}

void WindowJobs::SetWaitTitle(const QString& title) {
    Post([this, title] { gui_.SetWaitTitle(title); });
}

void WindowJobs::WaitBegins(const WaitTexts& texts) {
    Post([this, texts] { gui_.WaitBegins(texts); });
}

bool WindowJobs::PollInterval() {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(kPollIntervalMs), [this] { return aborted_; });
    return !aborted_;
}

void WindowJobs::WaitEnds() {
    Post([this] { gui_.WaitEnds(); });
}

bool WindowJobs::AbortRequested() {
    std::lock_guard<std::mutex> lock(mutex_);
    return aborted_;
}

ReadShown WindowJobs::ShowRead(const QString& code, const ConfigImage& image) {
    ReadShown shown;
    CallOnWindow([&] { shown = gui_.ShowRead(code, image); });
    return shown;
}

void WindowJobs::ShowJournalWarning(const QString& text) {
    Post([this, text] { gui_.ShowJournalWarning(text); });
}

void WindowJobs::ShowRetry(int textId) {
    Post([this, textId] { gui_.ShowRetry(textId); });
}

void WindowJobs::JobEnded(const JobOutcome& outcome) {
    CallOnWindow([&] { gui_.JobEnded(outcome); });
}
