#pragma once
// The three listings of the record, one line at a time as a JournalReader hands it out, written
// as UTF-8 straight from the database's text: the guarded CSV export for spreadsheets, JSON with
// every column for scripts, and a table for people. The text goes into a std::string: its appends
// are the cheapest, and a listing of a million lines is mostly appends.

#include <QByteArrayView>
#include <QList>
#include <limits>
#include <string>

class JournalReader;

// One CSV field (quoted when it holds a comma, a quote or a line break). With formulaGuard, a
// field that a spreadsheet would take for a formula (its first character after any spaces and
// tabs is = + - or @) gets a leading apostrophe.
void AppendCsvField(std::string& out, QByteArrayView field, bool formulaGuard);

void AppendCsvHeader(std::string& out, bool formulaGuard);
void AppendCsvLine(std::string& out, const JournalReader& reader, bool formulaGuard);

// "[", the elements, "]": each element an object with the columns' JSON keys in the order and
// indentation that QJsonDocument gives, the outcome's stored code and catalogue id beside its
// word.
void AppendJsonLine(std::string& out, const JournalReader& reader, bool first);

// Aligned columns of a fixed width, local date and time, a hash's first 12 digits, at most
// kTableLineWidth characters a line; a longer field is cut with "…".
constexpr int kTableLineWidth = 160;
// The columns that the table shows: the others need not be read.
QList<int> TableColumns();
void AppendTableHeader(std::string& out);

// The local date and time of a listing's lines, "dd.MM.yyyy HH:mm". It keeps the offset from
// UTC of the hour of the last line, so that a listing converts once an hour rather than once a
// line; an hour in which the clocks change, and a time outside the years 1000 to 9999, take
// the whole conversion (JournalShortTime) per line.
class LocalMinutes {
  public:
    // False, with nothing appended, for a time that needs the whole conversion.
    bool Append(std::string& out, qint64 timeUtc);

  private:
    qint64 hour_ = std::numeric_limits<qint64>::min();
    bool steady_ = false;
    int offset_ = 0;
};
void AppendTableLine(std::string& out, const JournalReader& reader, LocalMinutes& times);
