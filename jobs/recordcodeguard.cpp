#include "jobs/recordcodeguard.h"

#include "record/journaldb.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// "A902 → A9F2" for a line that changed the device's code, else its code.
QString DeviceOfLine(const QString& before, const QString& after) {
    return before.isEmpty() || before.compare(after, Qt::CaseInsensitive) == 0
               ? after
               : before + QStringLiteral(" → ") + after;
}

QString HeldText(const QString& code, const QString& before, const QString& after, qint64 timeUtc,
                 const QString& station) {
    return FillText(Msg::CodeHeldByDevice,
                    {code, DeviceOfLine(before, after), JournalShortTime(timeUtc), station});
}

// The newest line of the local record that names code: the text that names the device that
// carries it, or empty when no device does (a device that left the code by a change gave it
// back). error: the record could not be read.
QString HeldLocally(const JournalTarget& record, const QString& code, QString* error) {
    JournalReader reader;
    QStringList line;
    if (!reader.OpenLocalRecord(record, error) ||
        !reader.SelectPage(code, JournalReader::LineKey(), 1, error))
        return QString();
    if (!reader.Next(&line)) {
        reader.Failed(error);
        return QString();
    }
    if (line.value(ColCodeAfter).toUpper() != code) return QString();
    return HeldText(code, line.value(ColCodeBefore), line.value(ColCodeAfter), reader.TimeUtc(),
                    line.value(ColLoginName) + '@' + line.value(ColHostName));
}

CodeClaimAnswer Answer(CodeClaimAnswer::Kind kind, const QString& text = QString()) {
    CodeClaimAnswer answer;
    answer.kind = kind;
    answer.text = text;
    return answer;
}

}  // namespace

RecordCodeGuard::RecordCodeGuard(JournalTarget record) : record_(std::move(record)) {}

RecordCodeGuard::~RecordCodeGuard() {
    // A job cut off before it was settled gave its code to no device.
    if (!reserved_.isEmpty()) Settle(reserved_, false);
}

CodeClaimAnswer RecordCodeGuard::Claim(const QString& code, const QString& deviceCode,
                                       bool reuseConfirmed) {
    (void)deviceCode;  // the device gives up its own code; the record knows it by that
    const QString wanted = code.toUpper();
    // No record (practice): no device of the record can hold the code.
    if (record_.localPath.isEmpty()) return Answer(CodeClaimAnswer::Kind::Granted);
    QString error;
    const QString held = HeldLocally(record_, wanted, &error);
    if (!error.isEmpty()) return Answer(CodeClaimAnswer::Kind::Refused, error);
    if (!held.isEmpty() && !reuseConfirmed) return Answer(CodeClaimAnswer::Kind::AskReuse, held);
    if (record_.serverUri.isEmpty()) return Answer(CodeClaimAnswer::Kind::Granted);
    return OnServer(wanted, reuseConfirmed);
}

CodeClaimAnswer RecordCodeGuard::OnServer(const QString& code, bool reuseConfirmed) {
    // A claim left open is given back; a connection left from an earlier job may have died
    // since: each claim asks afresh.
    if (!reserved_.isEmpty()) Settle(reserved_, false);
    reservations_ = std::make_unique<CodeReservations>();
    const auto unavailable = [this, &code] {
        const QString cause = reservations_->Cause();
        reservations_.reset();
        return Answer(
            CodeClaimAnswer::Kind::Refused,
            FillText(Msg::CodeServerUnavailable, {code, MaskedServer(record_.serverUri), cause}));
    };
    if (!reservations_->Open(record_.serverUri)) return unavailable();
    const CodeClaim first =
        reuseConfirmed ? reservations_->ReserveAgain(code) : reservations_->Reserve(code);
    if (first == CodeClaim::Unavailable) return unavailable();
    if (first == CodeClaim::Reserved) {
        reserved_ = code;
        return Answer(CodeClaimAnswer::Kind::Granted);
    }
    // Taken: by another station's reservation, or by a device on the server's record.
    CodeReservations::Holder holder;
    if (!reservations_->FindHolder(code, &holder)) return unavailable();
    if (!holder.station.isEmpty() && !holder.used && !holder.mine)
        return Answer(CodeClaimAnswer::Kind::Refused,
                      FillText(Msg::CodeReservedElsewhere,
                               {code, JournalShortTime(holder.timeUtc), holder.station}));
    const QStringList& line = holder.line;
    const bool lineHolds = !line.isEmpty() && line.value(2).toUpper() == code;
    QString held;
    if (lineHolds)
        held = HeldText(code, line.value(1), line.value(2), holder.lineTimeUtc, line.value(3));
    else if (holder.used)
        held = HeldText(code, QString(), code, holder.timeUtc, holder.station);
    if (!held.isEmpty() && !reuseConfirmed) return Answer(CodeClaimAnswer::Kind::AskReuse, held);
    // A device that left the code by a change gave it back; a code a device took stays used and
    // is given again without a reservation of its own.
    if (holder.used) return Answer(CodeClaimAnswer::Kind::Granted);
    const CodeClaim again = reservations_->ReserveAgain(code);
    if (again == CodeClaim::Unavailable) return unavailable();
    if (again != CodeClaim::Reserved) {
        // Another station reserved it a moment ago.
        if (!reservations_->FindHolder(code, &holder)) return unavailable();
        return Answer(CodeClaimAnswer::Kind::Refused,
                      FillText(Msg::CodeReservedElsewhere,
                               {code, JournalShortTime(holder.timeUtc), holder.station}));
    }
    reserved_ = code;
    return Answer(CodeClaimAnswer::Kind::Granted);
}

void RecordCodeGuard::Settle(const QString& code, bool deviceTookIt) {
    if (reserved_.isEmpty() || reserved_ != code.toUpper() || !reservations_) return;
    reserved_.clear();
    // A server lost meanwhile keeps a reservation that nobody frees: the code stays held, which
    // never gives it twice.
    if (deviceTookIt)
        reservations_->MarkUsed(code);
    else
        reservations_->Release(code);
    reservations_.reset();
}
