#pragma once
// Journal lines written on a thread of their own, for the window: its thread never waits on a
// company's server. Lines are written in the order given; a line whose server does not answer is
// kept in the local record as pending, as AppendJournal keeps it. Ending the sender ends every
// wait on the server at once and writes the lines still queued to the local record first, so a
// window that closes loses no line.

#include <QString>
#include <functional>

#include "files/workerthread.h"
#include "record/journalstore.h"

class JournalSender {
  public:
    // warned gets AppendJournal's warning of a line, on the sender's thread.
    explicit JournalSender(std::function<void(const QString&)> warned)
        : warned_(std::move(warned)) {}

    void Append(const JournalTarget& target, const JournalEntry& entry);

  private:
    std::function<void(const QString&)> warned_;
    WorkerThread worker_{WorkerThread::AtEnd::RunQueued};  // last: ends before warned_ goes
};
