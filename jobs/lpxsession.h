#pragma once
// The LPX held open by one device job. A job opens the adapter for each exchange with the LPX
// and closes it before it waits for the user; whatever way the job ends (an error, the user's
// abort, a lost line, or the window closed in the middle of a wait), the session's end closes
// what the job left open, so that the next job and the window's other users find it closed.

#include "link/lpxadapter.h"

class AdapterSession {
  public:
    explicit AdapterSession(LpxAdapter& adapter) : adapter_(adapter) {}
    ~AdapterSession() {
        if (adapter_.IsOpen()) adapter_.Close();
    }
    AdapterSession(const AdapterSession&) = delete;
    AdapterSession& operator=(const AdapterSession&) = delete;

    // 0 success, 1 failure; the adapter's own answer.
    int Open() { return adapter_.Open(); }
    void Close() { adapter_.Close(); }
    LpxAdapter* operator->() { return &adapter_; }

  private:
    LpxAdapter& adapter_;
};
