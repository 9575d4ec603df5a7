#pragma once
// The journal's lines, oldest first, as korbi-cli journal reads them.

#include <QList>
#include <QStringList>

#include "record/journalstore.h"

inline QList<QStringList> JournalLines(const JournalTarget& target, const QString& device = {}) {
    QList<QStringList> lines;
    JournalReader reader;
    QString error;
    if (!reader.Open(target, &error) || !reader.Select(device, {}, &error)) return lines;
    QStringList fields;
    while (reader.Next(&fields)) lines << fields;
    return lines;
}
