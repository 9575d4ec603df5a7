#pragma once
// The lines a report is made of, read as often as the pages need them: the pages are set twice
// (once to count them, once to paint them), and neither time holds more than a page. From the
// record, a listing streams the lines as the database hands them out; a report already read
// into memory (the window's, a sample) hands out its own.

#include <QByteArray>
#include <QStringList>
#include <functional>

#include "report/report.h"
#include "report/reportjournal.h"

class ReportLines {
  public:
    virtual ~ReportLines() = default;
    // Hands each line of the report to line, oldest first: its fields in column order and a key
    // for ImageOf. False with a German error when the lines could not be read.
    using LineCall = std::function<void(const QStringList& fields, qint64 key)>;
    virtual bool Each(const LineCall& line, QString* error) = 0;
    // The 256 bytes of configuration that the line with this key keeps; empty when none.
    virtual QByteArray ImageOf(qint64 key) = 0;
};

// The lines of a report read into memory; the key is a line's index.
class MemoryReportLines : public ReportLines {
  public:
    explicit MemoryReportLines(const Report& report) : report_(report) {}
    bool Each(const LineCall& line, QString* error) override;
    QByteArray ImageOf(qint64 key) override;

  private:
    const Report& report_;
};

// The lines of a range of the record, read anew for each pass; the key is the line's id.
class RecordReportLines : public ReportLines {
  public:
    RecordReportLines(JournalReader& reader, ReportRange range)
        : reader_(reader), range_(std::move(range)) {}
    bool Each(const LineCall& line, QString* error) override;
    QByteArray ImageOf(qint64 key) override { return reader_.ImageOfLine(key); }

  private:
    JournalReader& reader_;
    ReportRange range_;
};
