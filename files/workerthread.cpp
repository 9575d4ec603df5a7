#include "files/workerthread.h"

WorkerThread::WorkerThread(AtEnd atEnd, std::function<void()> atThreadEnd)
    : atEnd_(atEnd), atThreadEnd_(std::move(atThreadEnd)) {
    thread_ = std::thread([this] { Work(); });
}

WorkerThread::~WorkerThread() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        if (atEnd_ == AtEnd::DropQueued) tasks_.clear();
    }
    stop_.Wake();
    queued_.notify_one();
    thread_.join();
}

void WorkerThread::Post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    queued_.notify_one();
}

bool WorkerThread::Stopping() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopping_;
}

void WorkerThread::Work() {
    // Its own stop descriptor ends this thread's server waits.
    SetJournalServerInterrupt(stop_.ReadEnd());
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty()) {
            lock.unlock();
            if (atThreadEnd_) atThreadEnd_();
            return;
        }
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
    }
}
