#pragma once
// One thread of the program's own that runs posted tasks one after the other: the window's job
// thread, the record's background sender and the journal reader. Ending it wakes the server
// waits of the task in hand (they give up at once), then runs or drops the tasks not begun, and
// waits for the thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "record/journalserver.h"

class WorkerThread {
  public:
    enum class AtEnd { RunQueued, DropQueued };
    // atThreadEnd runs last on the worker's thread (e.g. to close what belongs to it).
    explicit WorkerThread(AtEnd atEnd, std::function<void()> atThreadEnd = {});
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void Post(std::function<void()> task);
    // Whether the worker is ending: a long task stops at its next step.
    bool Stopping() const;

  private:
    void Work();
    const AtEnd atEnd_;
    std::function<void()> atThreadEnd_;
    mutable std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    WakePipe stop_;  // woken once the worker ends: the server waits give up
    std::thread thread_;
};
