#pragma once
// Journal lines written on a thread of their own, for the window: its thread never waits on a
// company's server. Lines are written in the order given; a line whose server does not answer is
// kept in the local record as pending, as AppendJournal keeps it. Ending the sender ends every
// wait on the server at once and writes the lines still queued to the local record first, so a
// window that closes loses no line.

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "files/journalserver.h"
#include "files/journalstore.h"

class JournalSender {
  public:
    // warned gets AppendJournal's warning of a line, on the sender's thread.
    explicit JournalSender(std::function<void(const QString&)> warned);
    ~JournalSender();
    JournalSender(const JournalSender&) = delete;
    JournalSender& operator=(const JournalSender&) = delete;

    void Append(const JournalTarget& target, const JournalEntry& entry);

  private:
    void Work();
    std::function<void(const QString&)> warned_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::pair<JournalTarget, JournalEntry>> lines_;
    bool stopping_ = false;
    WakePipe stop_;  // woken once the sender ends: the server waits give up
    std::thread worker_;
};
