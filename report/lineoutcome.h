#pragma once
// What a journal line says happened, read in one place: the report's table, its list of the
// devices that received a configuration and its counts all ask here, so a change in how the
// record keeps outcomes is a change to this file alone.

#include <QString>
#include <QStringList>

enum class LineResult {
    Done,         // the job did what it was asked
    Checked,      // a write that was read back and found equal
    CheckFailed,  // a write that was read back and found different
    NotChecked,   // a write whose read-back did not happen
    Failed,
    Aborted,
};

struct LineOutcome {
    LineResult result = LineResult::Done;
    int messageId = 0;  // the catalogue id of a failure, when the record names one
};

// The outcome of a journal line given as its fields in column order.
LineOutcome OutcomeOfLine(const QStringList& fields);

// The outcome in German words for the report: "ok", "ok, geprüft", "fehlgeschlagen: keine
// Antwort vom K-ORBI", ...; never a bare message number, which tells a customer nothing.
QString OutcomeText(const LineOutcome& outcome);
// Why a job failed or ended, in a few words: "keine LPX", "abgebrochen", "Schreibfehler".
QString ReasonText(const LineOutcome& outcome);

// Whether the device took the configuration the line names (a write that reached the device,
// checked or not).
bool DeviceReceived(const LineOutcome& outcome);
