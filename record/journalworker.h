#pragma once
// The journal read on a thread of its own, for the windows: opening the record, a page of lines,
// an export or the lines of a report may wait seconds on a company's server, and meanwhile the
// window must go on painting and answering. Tasks run one after the other on the worker's thread;
// what a task hands back runs afterwards on the thread that made the worker, unless the worker has
// ended by then. Ending the worker ends every wait on the server at once and closes its reader on
// its own thread (a record's connection belongs to the thread that opened it).

#include <QString>
#include <functional>
#include <memory>

#include "files/workerthread.h"
#include "record/journalserver.h"
#include "record/journalstore.h"

class QObject;

class JournalWorker {
  public:
    // What a task is given on the worker's thread.
    class Session {
      public:
        // The reader of the worker's journal, opened by the first task that asks for it; null with
        // the German error when it cannot be opened (then for every later task as well).
        JournalReader* Reader(QString* error);
        // Whether the worker is ending: a long task stops at its next line.
        bool Stopping() const;

      private:
        friend class JournalWorker;
        explicit Session(const JournalWorker& worker) : worker_(worker) {}
        const JournalWorker& worker_;
        JournalReader reader_;
        bool tried_ = false;
        bool opened_ = false;
        QString failure_;
    };
    // Runs on the worker's thread; returns what then runs on the worker's owner's thread (may be
    // empty).
    using Task = std::function<std::function<void()>(Session& session)>;

    explicit JournalWorker(JournalTarget target);
    // Waits for the task in hand, whose server waits end at once; tasks not begun are dropped.
    ~JournalWorker();
    JournalWorker(const JournalWorker&) = delete;
    JournalWorker& operator=(const JournalWorker&) = delete;

    void Post(Task task);

  private:
    const JournalTarget target_;
    // Receives the results on the owner's thread; gone with the worker, and the results with it.
    std::unique_ptr<QObject> receiver_;
    std::unique_ptr<Session> session_;  // used, and closed, on the worker's thread only
    WorkerThread thread_;               // last: ends first
};
