#include "record/journalserver.h"

namespace {

// Per thread: korbi-cli names its signal pipe, the window's journal sender its own.
thread_local int interruptDescriptor = -1;

}  // namespace

void SetJournalServerInterrupt(int descriptor) {
    interruptDescriptor = descriptor;
}

int JournalServerInterrupt() {
    return interruptDescriptor;
}
