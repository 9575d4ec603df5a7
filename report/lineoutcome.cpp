#include "report/lineoutcome.h"

#include "files/journal.h"

namespace {

struct OutcomeWord {
    const char* word;  // as the outcome column holds it
    LineResult result;
    const char* shown;  // in the report
};

const OutcomeWord kWords[] = {
    {"ok", LineResult::Done, "ok"},
    {kVerifiedWord, LineResult::Checked, "ok, geprüft"},
    {kVerifyFailedWord, LineResult::CheckFailed, "Prüfung fehlgeschlagen"},
    {kNotVerifiedWord, LineResult::NotChecked, "ok, nicht geprüft"},
    {"abgebrochen", LineResult::Aborted, "abgebrochen"},
    {"Fehler", LineResult::Failed, "Fehler"},
};

}  // namespace

LineOutcome OutcomeOfLine(const QStringList& fields) {
    const QString text = fields.value(ColOutcome).trimmed();
    // A failure carries its message id after the word: "Fehler 10804".
    const QString word = text.section(' ', 0, 0);
    for (const OutcomeWord& row : kWords) {
        if (text == QString::fromUtf8(row.word)) return {row.result, 0};
    }
    if (word == QLatin1String("Fehler")) return {LineResult::Failed, text.section(' ', 1).toInt()};
    // A word this program does not know is no success.
    return {LineResult::Failed, 0};
}

QString OutcomeText(const LineOutcome& outcome) {
    for (const OutcomeWord& row : kWords) {
        if (row.result != outcome.result) continue;
        const QString shown = QString::fromUtf8(row.shown);
        return outcome.messageId ? shown + ' ' + QString::number(outcome.messageId) : shown;
    }
    return QString();
}

bool DeviceReceived(const LineOutcome& outcome) {
    return outcome.result == LineResult::Done || outcome.result == LineResult::Checked ||
           outcome.result == LineResult::CheckFailed || outcome.result == LineResult::NotChecked;
}
