#include "files/journalsender.h"

#include "files/journalserver.h"

JournalSender::JournalSender(std::function<void(const QString&)> warned)
    : warned_(std::move(warned)) {
    worker_ = std::thread([this] { Work(); });
}

JournalSender::~JournalSender() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.Wake();
    queued_.notify_one();
    worker_.join();
}

void JournalSender::Append(const JournalTarget& target, const JournalEntry& entry) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.emplace_back(target, entry);
    }
    queued_.notify_one();
}

void JournalSender::Work() {
    // Its own stop descriptor ends this thread's server waits.
    SetJournalServerInterrupt(stop_.ReadEnd());
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        queued_.wait(lock, [this] { return stopping_ || !lines_.empty(); });
        if (lines_.empty()) return;
        const auto [target, entry] = lines_.front();
        lines_.pop_front();
        lock.unlock();
        QString warning;
        AppendJournal(target, entry, &warning);
        if (!warning.isEmpty() && warned_) warned_(warning);
    }
}
