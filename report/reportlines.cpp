#include "report/reportlines.h"

#include "record/journal.h"

bool MemoryReportLines::Each(const LineCall& line, QString*) {
    for (qsizetype i = 0; i < report_.lines.size(); ++i) line(report_.lines[i], i);
    return true;
}

QByteArray MemoryReportLines::ImageOf(qint64 key) {
    return report_.images.value(report_.lines.value(key).value(ColSha256));
}

bool RecordReportLines::Each(const LineCall& line, QString* error) {
    return EachReportLine(reader_, range_, line, error);
}
