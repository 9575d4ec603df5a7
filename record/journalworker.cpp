#include "record/journalworker.h"

#include <QObject>

#include "record/journalserver.h"

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
    return worker_.thread_.Stopping();
}

JournalWorker::JournalWorker(JournalTarget target)
    : target_(std::move(target)),
      receiver_(std::make_unique<QObject>()),
      session_(new Session(*this)),
      thread_(WorkerThread::AtEnd::DropQueued, [this] { session_.reset(); }) {}

// The thread ends first (the session's reader closes on it), then results still on their way
// go with their receiver.
JournalWorker::~JournalWorker() = default;

void JournalWorker::Post(Task task) {
    thread_.Post([this, task = std::move(task)] {
        std::function<void()> done = task(*session_);
        // The receiver is deleted only after this thread has ended.
        if (done && !thread_.Stopping())
            QMetaObject::invokeMethod(receiver_.get(), std::move(done), Qt::QueuedConnection);
    });
}
