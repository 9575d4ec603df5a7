#include "files/journalsender.h"

#include <fcntl.h>
#include <unistd.h>

#include "files/journalserver.h"

JournalSender::JournalSender(std::function<void(const QString&)> warned)
    : warned_(std::move(warned)) {
    if (::pipe2(stop_, O_CLOEXEC) != 0) stop_[0] = stop_[1] = -1;
    worker_ = std::thread([this] { Work(); });
}

JournalSender::~JournalSender() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    if (stop_[1] >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(stop_[1], "x", 1);
    }
    queued_.notify_one();
    worker_.join();
    for (const int fd : stop_) {
        if (fd >= 0) ::close(fd);
    }
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
    SetJournalServerInterrupt(stop_[0]);
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
