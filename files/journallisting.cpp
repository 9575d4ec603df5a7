#include "files/journallisting.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <string_view>

#include "files/journal.h"
#include "files/journalstore.h"

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
    {ColTime, 16},    {ColJob, 10},    {ColCodeBefore, 18}, {ColCodeAfter, 19},
    {ColOutcome, 22}, {ColSha256, 12}, {ColLoginName, 12},  {ColFileName, 0},
};

int LastColumnWidth() {
    int used = 0;
    for (const TableColumn& column : kTableColumns) used += column.width + kTableGap;
    return kTableLineWidth - used + kTableGap;
}

// A cell: format characters escaped, control characters (a line break in a file name) shown as
// spaces, cut with "…" when longer than width, padded unless it is the last.
void AppendCell(std::string& out, QString text, int width, bool last) {
    text = WithFormatCharactersEscaped(text);
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control) c = ' ';
    if (text.size() > width) text = text.left(width - 1) + QChar(0x2026);
    out += text.toStdString();
    if (!last) out.append(static_cast<size_t>(width - text.size() + kTableGap), ' ');
}

}  // namespace

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

void AppendTableHeader(std::string& out) {
    const QStringList titles = JournalHeader();
    for (const TableColumn& column : kTableColumns) {
        const bool last = &column == std::end(kTableColumns) - 1;
        AppendCell(out, titles[column.column], last ? LastColumnWidth() : column.width, last);
    }
    out += '\n';
}

void AppendTableLine(std::string& out, const JournalReader& reader) {
    for (const TableColumn& column : kTableColumns) {
        const bool last = &column == std::end(kTableColumns) - 1;
        QString text;
        if (column.column == ColTime)
            text = JournalShortTime(reader.TimeUtc());
        else if (column.column == ColSha256)
            text = ShortSha256(QString::fromUtf8(reader.Field(ColSha256)));
        else
            text = QString::fromUtf8(reader.Field(column.column));
        AppendCell(out, text, last ? LastColumnWidth() : column.width, last);
    }
    // Trailing spaces of an empty last cell would only make the line longer.
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
}
