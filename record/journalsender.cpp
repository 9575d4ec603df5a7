#include "record/journalsender.h"

void JournalSender::Append(const JournalTarget& target, const JournalEntry& entry) {
    worker_.Post([this, target, entry] {
        QString warning;
        AppendJournal(target, entry, &warning);
        if (!warning.isEmpty() && warned_) warned_(warning);
    });
}
