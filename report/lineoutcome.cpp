#include "report/lineoutcome.h"

#include "record/journal.h"
#include "resources/msg.h"

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

// The failures the jobs tell, by catalogue id, in the words of a report's reader.
struct FailureWords {
    int messageId;
    const char* words;
};
const FailureWords kFailureWords[] = {
    {Msg::LpxNotReachable, "keine LPX"},
    {Msg::LpxFirmwareTooOld, "LPX-Firmware zu alt"},
    {Msg::LpxJobNotStarted, "LPX nahm den Auftrag nicht an"},
    {Msg::WaitTimedOutText, "keine Antwort vom K-ORBI"},
    {Msg::ReadFailed, "Lesefehler"},
    {Msg::WriteFailed, "Schreibfehler"},
    {Msg::CodeChangeFailed, "Funkkennung nicht geändert"},
    {Msg::VerifyMismatch, "Prüfung fand Unterschiede"},
    {Msg::BadProduct, "fremdes Produkt"},
    {Msg::ConversionError, "Daten des K-ORBI unlesbar"},
    {Msg::EncodingError, "Konfiguration passt nicht zum K-ORBI"},
    {Msg::PressTimeTooShort, "Einstellungen unzulässig"},
    {Msg::CodeNotFourHexDigits, "Funkkennung unzulässig"},
    {Msg::ForbiddenCode, "Funkkennung unzulässig"},
    {Msg::FileNotSaved, "Datei nicht gespeichert"},
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

QString ReasonText(const LineOutcome& outcome) {
    if (outcome.result == LineResult::Aborted) return QStringLiteral("abgebrochen");
    for (const FailureWords& row : kFailureWords)
        if (row.messageId == outcome.messageId) return QString::fromUtf8(row.words);
    return QStringLiteral("Fehler");
}

QString OutcomeText(const LineOutcome& outcome) {
    if (outcome.result == LineResult::Failed)
        return outcome.messageId ? QStringLiteral("fehlgeschlagen: ") + ReasonText(outcome)
                                 : QStringLiteral("fehlgeschlagen");
    for (const OutcomeWord& row : kWords)
        if (row.result == outcome.result) return QString::fromUtf8(row.shown);
    return QString();
}

bool DeviceReceived(const LineOutcome& outcome) {
    return outcome.result == LineResult::Done || outcome.result == LineResult::Checked ||
           outcome.result == LineResult::CheckFailed || outcome.result == LineResult::NotChecked;
}
