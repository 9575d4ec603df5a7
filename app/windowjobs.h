#pragma once
// The window's device jobs. Each runs from start to end on the one job thread, so that the
// window's thread never waits on the LPX: what the job shows (the wait dialog, its strip, the
// status line) reaches the window as queued calls, and its questions and boxes are asked on the
// window's thread while the job waits for the answer. The abort button, Escape, a signal and
// the window's end set the abort, which ends a wait at once.

#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "files/workerthread.h"
#include "jobs/devicejobs.h"

class WindowJobs : public JobHost {
  public:
    // gui: the window's side of every host call, always called on the window's thread.
    WindowJobs(LpxAdapter& adapter, JobHost& gui);
    // A job still running ends as Abbruch ends it (the LPX's lists emptied, its line recorded)
    // before the window goes; questions still open answer as closed boxes do.
    ~WindowJobs() override;
    WindowJobs(const WindowJobs&) = delete;
    WindowJobs& operator=(const WindowJobs&) = delete;

    void SetRecord(JobRecord record) { jobs_.SetRecord(std::move(record)); }
    const JobRecord& Record() const { return jobs_.Record(); }

    // The window's thread only. A job runs from its start until its end has been told.
    bool Running() const { return running_; }
    // Whether the job running now is a write. Practice mode asks it when the trainee presses a
    // button: an identification cannot tell which job follows it.
    bool WriteRunning() const { return running_ && writing_; }

    // Runs work on the job thread unless a job runs (false); done then runs on the window's
    // thread. writing: the work writes devices.
    bool Run(std::function<void(DeviceJobs&)> work, std::function<void()> done = {},
             bool writing = false);
    // The jobs, each told its end on the window's thread.
    using Ended = std::function<void(const JobOutcome&)>;
    bool StartIdentify(Ended ended = {});
    bool StartRead(ReadRequest request = {}, Ended ended = {});
    bool StartWrite(WriteRequest request, Ended ended = {});
    bool StartCodeChange(CodeChangeRequest request, Ended ended = {});

    // The user ended the wait (any thread): the wait ends at once, and no later wait begins.
    void Abort();
    // Ends the running job as Abbruch does (also one waiting for an answer: its box is closed),
    // then runs after on the window's thread. No job starts any more.
    void EndThen(std::function<void()> after);

    // Ends the running job as Abbruch does and waits for its end, patience at most, without the
    // window's event loop: for the program's end. Open questions answer as closed boxes do.
    void EndBlocking(std::chrono::milliseconds patience);

    // From the job thread: runs call on the window's thread and returns once it ran; false when
    // the jobs end first and it never will.
    bool CallOnWindow(std::function<void()> call);

    // ---- the host on the job thread ----
    Messages& JobMessages() override { return relay_; }
    void ShowStatus(const QString& text) override;
    void SetWaitTitle(const QString& title) override;
    void WaitBegins(const WaitTexts& texts) override;
    bool PollInterval() override;
    void WaitEnds() override;
    bool AbortRequested() override;
    ReadShown ShowRead(const QString& code, const ConfigImage& image) override;
    void ShowJournalWarning(const QString& text) override;
    void ShowRetry(int textId) override;
    void JobEnded(const JobOutcome& outcome) override;

  private:
    // Asks the window's messages on the window's thread.
    class Relay : public Messages {
      public:
        explicit Relay(WindowJobs& jobs) : jobs_(jobs) {}
        BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                              BoxButtons buttons) override;

      private:
        WindowJobs& jobs_;
    };
    // Queues call for the window's thread.
    void Post(std::function<void()> call);
    // The job thread has finished its work: false while it works.
    bool Idle();

    JobHost& gui_;
    Relay relay_{*this};
    DeviceJobs jobs_;
    std::unique_ptr<QObject> receiver_;  // lives on the window's thread
    std::mutex mutex_;
    std::condition_variable wake_;
    bool aborted_ = false;
    bool ending_ = false;
    bool busy_ = false;  // the job thread works on a job
    bool running_ = false;
    bool writing_ = false;
    std::unique_ptr<WorkerThread> thread_;  // the job thread; last, so it ends first
};
