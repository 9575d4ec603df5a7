#include "files/journalworker.h"

#include <QObject>

#include "files/journalserver.h"

JournalReader* JournalWorker::Session::Reader(QString* error) {
    if (!tried_) {
        tried_ = true;
        opened_ = reader_.Open(worker_.target_, &failure_);
    }
    if (opened_) return &reader_;
    if (error) *error = failure_;
    return nullptr;
}

bool JournalWorker::Session::Stopping() const {
    std::lock_guard<std::mutex> lock(worker_.mutex_);
    return worker_.stopping_;
}

JournalWorker::JournalWorker(JournalTarget target)
    : target_(std::move(target)), receiver_(std::make_unique<QObject>()) {
    thread_ = std::thread([this] { Work(); });
}

JournalWorker::~JournalWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        tasks_.clear();
    }
    stop_.Wake();
    queued_.notify_one();
    thread_.join();
    // Results still on their way go with their receiver.
    receiver_.reset();
}

void JournalWorker::Post(Task task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    queued_.notify_one();
}

void JournalWorker::Work() {
    SetJournalServerInterrupt(stop_.ReadEnd());
    Session session(*this);
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (stopping_) return;
        Task task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        std::function<void()> done = task(session);
        lock.lock();
        // The receiver is deleted only after this thread has ended.
        if (done && !stopping_)
            QMetaObject::invokeMethod(receiver_.get(), std::move(done), Qt::QueuedConnection);
    }
}
