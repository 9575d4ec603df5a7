#include "jobs/joboutcome.h"

#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

QString CheckWord(CheckState check) {
    switch (check) {
        case CheckState::Passed:
            return QString::fromUtf8(kVerifiedWord);
        case CheckState::Differs:
            return QString::fromUtf8(kVerifyFailedWord);
        case CheckState::NotDone:
            return QString::fromUtf8(kNotVerifiedWord);
        case CheckState::NotAsked:
            break;
    }
    return QString();
}

JournalOutcome RecordedEnd(JobEnd end) {
    switch (end) {
        case JobEnd::Done:
            return JournalOutcome::Ok;
        case JobEnd::Aborted:
            return JournalOutcome::Aborted;
        case JobEnd::Failed:
        case JobEnd::Refused:
            break;
    }
    return JournalOutcome::Failed;
}

}  // namespace

QString NameDevice(const QString& code, const QString& text) {
    if (code.isEmpty()) return text;
    const QString product = QStringLiteral("K-ORBI ");
    const QString rest = text.startsWith(product) ? text.mid(product.size()) : text;
    return FillText(Msg::DeviceSuccess, {code, rest});
}

QString CodesText(const JobOutcome& outcome) {
    if (outcome.codeAfter.isEmpty() || outcome.codeAfter == outcome.codeBefore)
        return outcome.codeBefore;
    const QString codes = outcome.codeBefore + QStringLiteral(" → ") + outcome.codeAfter;
    return outcome.codeGivenAgain ? codes + QStringLiteral(" (") + Text(Msg::CodeGivenAgain) + ')'
                                  : codes;
}

JournalEntry JournalEntryOf(const JobOutcome& outcome, JournalProgram program,
                            const QString& fileName) {
    JournalEntry entry;
    entry.job = outcome.job;
    entry.program = program;
    entry.room = outcome.room;
    if (outcome.job != JournalJob::CodeChange) entry.fileName = fileName;
    const bool identified = !outcome.codeBefore.isEmpty();
    if (identified) {
        entry.codeBefore = outcome.codeBefore;
        entry.codeAfter = outcome.codeAfter.isEmpty() ? outcome.codeBefore : outcome.codeAfter;
        if (outcome.firmwareVersion)
            entry.firmwareVersion = FirmwareVersionText(*outcome.firmwareVersion);
    }
    entry.outcome = RecordedEnd(outcome.end);
    if (entry.outcome == JournalOutcome::Failed) entry.messageId = outcome.failure.messageId;
    entry.codeGivenAgain = outcome.codeGivenAgain;
    // A read that fetched records keeps what came, also when some blocks were missing.
    if (outcome.job == JournalJob::Read && identified && outcome.read) {
        entry.productionDate = outcome.productionDate;
        SetJournalImage(entry, outcome.saved.isEmpty() ? ImageData(*outcome.read) : outcome.saved);
    }
    if (outcome.job == JournalJob::Write && outcome.written && outcome.sent) {
        entry.sha256 = ImageSha256(*outcome.sent);
        entry.image = ImageData(*outcome.sent);
    }
    entry.verifyOutcome = CheckWord(outcome.check);
    if (outcome.check == CheckState::Passed || outcome.check == CheckState::Differs)
        entry.verifySha256 = outcome.checkedSha256;
    return entry;
}
