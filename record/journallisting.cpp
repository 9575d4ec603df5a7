#include "record/journallisting.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "record/journal.h"
#include "record/journalstore.h"

namespace {

// Whether a spreadsheet would read the field as a formula.
bool LooksLikeFormula(QByteArrayView field) {
    for (const char c : field) {
        if (c == ' ' || c == '\t') continue;
        return c == '=' || c == '+' || c == '-' || c == '@';
    }
    return false;
}

// The JSON keys in the order QJsonObject writes them (sorted), each with its column; the
// columns past the shown ones are the outcome's code and catalogue id.
enum JsonValue { JsonOutcomeCode = kJournalColumns, JsonMessageId };
struct JsonKey {
    std::string_view key;  // with its indentation, quotes and colon, as written
    int column;
};
const JsonKey kJsonKeys[] = {
    {"        \"codeAfter\": ", ColCodeAfter},
    {"        \"codeBefore\": ", ColCodeBefore},
    {"        \"fileName\": ", ColFileName},
    {"        \"firmwareVersion\": ", ColFirmwareVersion},
    {"        \"hostName\": ", ColHostName},
    {"        \"job\": ", ColJob},
    {"        \"loginName\": ", ColLoginName},
    {"        \"messageId\": ", JsonMessageId},
    {"        \"outcome\": ", ColOutcome},
    {"        \"outcomeCode\": ", JsonOutcomeCode},
    {"        \"productionDate\": ", ColProductionDate},
    {"        \"program\": ", ColProgram},
    {"        \"programVersion\": ", ColProgramVersion},
    {"        \"room\": ", ColRoom},
    {"        \"sha256\": ", ColSha256},
    {"        \"site\": ", ColSite},
    {"        \"time\": ", ColTime},
    {"        \"verifySha256\": ", ColVerifySha256},
};

void AppendJsonString(std::string& out, QByteArrayView text) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    const char* run = text.data();
    const char* const end = text.data() + text.size();
    for (const char* p = run; p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(run, static_cast<size_t>(p - run));
        run = p + 1;
        out += '\\';
        switch (c) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '\b':
                out += 'b';
                break;
            case '\f':
                out += 'f';
                break;
            case '\n':
                out += 'n';
                break;
            case '\r':
                out += 'r';
                break;
            case '\t':
                out += 't';
                break;
            default:
                out += "u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
        }
    }
    out.append(run, static_cast<size_t>(end - run));
    out += '"';
}

// The table's columns: which, and how many characters wide; the last takes what is left of the
// line and is not padded.
struct TableColumn {
    int column;
    int width;
};
constexpr int kTableGap = 2;
const TableColumn kTableColumns[] = {
    {ColTime, 16},      {ColJob, 10},     {ColCodeBefore, 18},
    {ColCodeAfter, 19}, {ColOutcome, 22}, {ColSha256, kShortSha256Length},
    {ColLoginName, 12}, {ColFileName, 0},
};

int LastColumnWidth() {
    int used = 0;
    for (const TableColumn& column : kTableColumns) used += column.width + kTableGap;
    return kTableLineWidth - used + kTableGap;
}

// How a cell shows a character: as it is, as a space (the control characters, such as a line
// break in a file name), or escaped (format characters such as U+202E, which would turn the rest
// of the line around). Every character of every cell passes here.
enum class CellShow { Plain, Space, Escaped };
CellShow ClassifyCellCharacter(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return CellShow::Space;
    if (c >= 0x80 && QChar::category(c) == QChar::Other_Format) return CellShow::Escaped;
    return CellShow::Plain;
}

// One character of well-formed UTF-8: its length in bytes and its code point; 0 for a byte
// sequence that is no character (invalid, overlong, a surrogate, beyond U+10FFFF, cut off).
int DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t* c) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
        *c = lead;
        return 1;
    }
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length) return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        value = value << 6 | (p[i] & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *c = value;
    return length;
}

// A cell's width is counted in UTF-16 units, as the table has always counted it: a character
// beyond U+FFFF takes two.
int Utf16Units(char32_t c) {
    return c > 0xFFFF ? 2 : 1;
}

// Whether the 8 bytes at p are all printable ASCII (0x20 to 0x7E), tested together.
bool PrintableAscii8(const char* p) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighs = 0x8080808080808080;
    uint64_t w = 0;
    std::memcpy(&w, p, sizeof w);
    const uint64_t below = (w - kOnes * 0x20) & ~w;  // a byte under 0x20
    const uint64_t above = (w + kOnes) | w;          // a byte over 0x7E
    return ((below | above) & kHighs) == 0;
}

// What a cell does with text longer than its width: cuts it with "…" at the end, or just cuts
// it (a hash's first digits).
enum class Overflow { Ellipsis, Cut };

// The characters of text as the cell shows them, in one pass: each is classified, a run of
// characters shown as they are is appended at once. The text is measured in UTF-16 units, as
// the table has always counted, and cut where it is longer than width; a character beyond
// U+FFFF that the cut halves leaves its first half, which UTF-8 writes as "?". False, with out
// as it was, for text that is no well-formed UTF-8 before the cut; otherwise units is the width
// taken. False as well for text with a character to escape: such rare text takes the slow way.
bool AppendCellText(std::string& out, QByteArrayView text, int width, Overflow overflow,
                    int* units) {
    const size_t start = out.size();
    const int limit = overflow == Overflow::Ellipsis ? width - 1 : width;
    size_t cut = std::string::npos;  // where out ends if the text is cut
    bool halved = false;
    const char* p = text.data();
    const char* const end = p + text.size();
    const char* run = p;  // characters shown as they are, not yet appended
    *units = 0;
    // Past the width, nothing more is shown.
    while (p != end && *units <= width) {
        // Printable ASCII, the most of every line: shown as it is, one unit each.
        const char* ascii = p;
        while (end - p >= 8 && PrintableAscii8(p)) p += 8;
        while (p != end && static_cast<unsigned char>(*p - 0x20) < 0x5F) ++p;
        const int count = static_cast<int>(p - ascii);
        if (cut == std::string::npos && *units + count > limit)
            cut = out.size() + static_cast<size_t>(ascii - run + (limit - *units));
        *units += count;
        if (p == end || *units > width) break;

        char32_t c = static_cast<unsigned char>(*p);
        int length = 1;
        if (c >= 0x80) {
            length = DecodeUtf8(reinterpret_cast<const unsigned char*>(p),
                                reinterpret_cast<const unsigned char*>(end), &c);
            if (length == 0) {
                out.resize(start);
                return false;
            }
        }
        const int size = Utf16Units(c);
        if (cut == std::string::npos && *units + size > limit) {
            cut = out.size() + static_cast<size_t>(p - run);
            halved = *units < limit;
        }
        const CellShow show = ClassifyCellCharacter(c);
        if (show == CellShow::Escaped) {
            out.resize(start);
            return false;
        }
        if (show == CellShow::Space) {
            out.append(run, static_cast<size_t>(p - run));
            out += ' ';
            run = p + length;
        }
        p += length;
        *units += size;
    }
    if (*units <= width) {
        out.append(run, static_cast<size_t>(p - run));
        return true;
    }
    if (cut > out.size())
        out.append(run, cut - out.size());
    else
        out.resize(cut);
    if (halved) out += '?';
    if (overflow == Overflow::Ellipsis) out += "\xE2\x80\xA6";  // …
    *units = width;
    return true;
}

// A cell of UTF-8 text as Qt reads it (without a byte order mark at the start, each broken
// sequence a U+FFFD), format characters escaped, padded unless it is the last.
void AppendCell(std::string& out, QByteArrayView text, int width, bool last,
                Overflow overflow = Overflow::Ellipsis) {
    int units = 0;
    const bool marked =
        text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBB' && text[2] == '\xBF';
    if (!AppendCellText(out, marked ? text.sliced(3) : text, width, overflow, &units))
        AppendCellText(out, WithFormatCharactersEscaped(QString::fromUtf8(text)).toUtf8(), width,
                       overflow, &units);
    if (!last) out.append(static_cast<size_t>(width - units + kTableGap), ' ');
}

qint64 FloorDiv(qint64 a, qint64 b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

// "dd.MM.yyyy HH:mm" of a local time in seconds since the epoch; false, with nothing appended,
// outside the years 1000 to 9999.
bool AppendLocalMinute(std::string& out, qint64 local) {
    const qint64 days = FloorDiv(local, 86400);
    const qint64 second = local - days * 86400;
    // The civil date of a day number (days since 1970-01-01), in the proleptic Gregorian
    // calendar.
    const qint64 z = days + 719468;
    const qint64 era = FloorDiv(z, 146097);
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year < 1000 || year > 9999) return false;
    char text[16];
    const auto two = [&text](int at, int value) {
        text[at] = static_cast<char>('0' + value / 10);
        text[at + 1] = static_cast<char>('0' + value % 10);
    };
    two(0, day);
    text[2] = '.';
    two(3, month);
    text[5] = '.';
    two(6, static_cast<int>(year / 100));
    two(8, static_cast<int>(year % 100));
    text[10] = ' ';
    two(11, static_cast<int>(second / 3600));
    text[13] = ':';
    two(14, static_cast<int>(second / 60 % 60));
    out.append(text, sizeof text);
    return true;
}

}  // namespace

bool LocalMinutes::Append(std::string& out, qint64 timeUtc) {
    // Far beyond the years that can be shown, the arithmetic below could overflow.
    constexpr qint64 kFar = qint64(1) << 40;  // seconds, some 35,000 years
    if (timeUtc < -kFar || timeUtc > kFar) return false;
    const qint64 hour = FloorDiv(timeUtc, 3600) * 3600;
    if (hour != hour_) {
        // An hour whose first and last second have the same offset has it throughout: no zone
        // changes its offset twice within an hour.
        hour_ = hour;
        const QDateTime first = QDateTime::fromSecsSinceEpoch(hour);
        const QDateTime last = QDateTime::fromSecsSinceEpoch(hour + 3599);
        steady_ =
            first.isValid() && last.isValid() && first.offsetFromUtc() == last.offsetFromUtc();
        offset_ = first.offsetFromUtc();
    }
    return steady_ && AppendLocalMinute(out, timeUtc + offset_);
}

void AppendCsvField(std::string& out, QByteArrayView field, bool formulaGuard) {
    const bool guarded = formulaGuard && LooksLikeFormula(field);
    const bool quoted = std::any_of(field.begin(), field.end(), [](char c) {
        return c == ',' || c == '"' || c == '\n' || c == '\r';
    });
    if (quoted) out += '"';
    if (guarded) out += '\'';
    if (!quoted) {
        out.append(field.data(), static_cast<size_t>(field.size()));
    } else {
        for (const char c : field) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
}

void AppendCsvHeader(std::string& out, bool formulaGuard) {
    const QStringList titles = JournalHeader();
    for (int column = 0; column < kJournalColumns; ++column) {
        if (column > 0) out += ',';
        AppendCsvField(out, QByteArrayView(titles[column].toUtf8()), formulaGuard);
    }
    out += '\n';
}

void AppendCsvLine(std::string& out, const JournalReader& reader, bool formulaGuard) {
    for (int column = 0; column < kJournalColumns; ++column) {
        if (column > 0) out += ',';
        AppendCsvField(out, reader.Field(column), formulaGuard);
    }
    out += '\n';
}

void AppendJsonLine(std::string& out, const JournalReader& reader, bool first) {
    out += first ? std::string_view("    {\n") : std::string_view(",\n    {\n");
    for (const JsonKey& key : kJsonKeys) {
        if (&key != kJsonKeys) out += ",\n";
        out += key.key;
        if (key.column == JsonMessageId)
            out += std::to_string(reader.MessageId());
        else if (key.column == JsonOutcomeCode)
            AppendJsonString(out, reader.OutcomeCode());
        else
            AppendJsonString(out, reader.Field(key.column));
    }
    out += std::string_view("\n    }");
}

QList<int> TableColumns() {
    QList<int> columns;
    for (const TableColumn& column : kTableColumns) columns << column.column;
    return columns;
}

void AppendTableHeader(std::string& out) {
    const QStringList titles = JournalHeader();
    for (const TableColumn& column : kTableColumns) {
        const bool last = &column == std::end(kTableColumns) - 1;
        AppendCell(out, titles[column.column].toUtf8(), last ? LastColumnWidth() : column.width,
                   last);
    }
    out += '\n';
}

void AppendTableLine(std::string& out, const JournalReader& reader, LocalMinutes& times) {
    for (const TableColumn& column : kTableColumns) {
        const bool last = &column == std::end(kTableColumns) - 1;
        const int width = last ? LastColumnWidth() : column.width;
        if (column.column == ColTime) {
            const qint64 time = reader.TimeUtc();
            if (times.Append(out, time))
                out.append(static_cast<size_t>(width - kJournalShortTimeLength + kTableGap), ' ');
            else
                AppendCell(out, JournalShortTime(time).toUtf8(), width, last);
        } else if (column.column == ColSha256) {
            AppendCell(out, reader.Field(ColSha256), width, last, Overflow::Cut);
        } else {
            AppendCell(out, reader.Field(column.column), width, last);
        }
    }
    // Trailing spaces of an empty last cell would only make the line longer.
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
}
