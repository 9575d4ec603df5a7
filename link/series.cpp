#include "link/series.h"

#include "link/devicejobs.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

CodeListCodes::CodeListCodes(QStringList codes, const JournalTarget& record,
                             std::function<void(const QString&)> line)
    : codes_(std::move(codes)), line_(std::move(line)) {
    QString error;
    // A record that cannot be read hides no code; the job's own warning tells about it.
    journal_ = std::make_unique<JournalReader>();
    if (record.localPath.isEmpty() || !journal_->OpenLocalRecord(record, &error)) journal_.reset();
}

ReservedCodes::ReservedCodes(QStringList codes, const JournalTarget& record,
                             std::unique_ptr<CodeReservations> reservations,
                             std::function<void(const QString&)> line)
    : local_(std::move(codes), record, line),
      reservations_(std::move(reservations)),
      line_(std::move(line)) {}

QString ReservedCodes::Next() {
    while (!lost_) {
        const QString code = local_.Next();
        if (code.isEmpty()) return code;
        switch (reservations_->Reserve(code)) {
            case CodeClaim::Reserved:
            case CodeClaim::Free:
                return code;
            case CodeClaim::Taken:
                line_(FillText(Msg::SeriesCodeSkipped, {code}));
                break;
            case CodeClaim::Unavailable:
                // Handing out codes by the local record now could give one twice.
                line_(FillText(Msg::SeriesCodeServerLost, {reservations_->Cause()}));
                lost_ = true;
                break;
        }
    }
    return QString();
}

void ReservedCodes::Used(const QString& code) {
    reservations_->MarkUsed(code);
    local_.Used(code);
}

void ReservedCodes::Released(const QString& code) {
    // Reserved again when it is handed out next.
    reservations_->Release(code);
    local_.Released(code);
}

QString CodeListCodes::Next() {
    if (!released_.isEmpty()) return released_.takeFirst();
    while (next_ < codes_.size()) {
        const QString code = codes_[next_++];
        QString error;
        QStringList line;
        if (!journal_ || !journal_->Select(code, QDateTime(), &error) || !journal_->Next(&line))
            return code;
        line_(FillText(Msg::SeriesCodeSkipped, {code}));
    }
    return QString();
}

namespace {

// Failures that no other device can change: the LPX itself, or checks of the configuration
// that come before any device is asked.
bool EndsAtOnce(FailureKind kind) {
    return kind == FailureKind::Settings || kind == FailureKind::NoLpx ||
           kind == FailureKind::LpxFirmware;
}

// Failures that depend on no device, or on its generation only: a second one in a row means
// the next device would meet it too.
bool EndsWhenRepeated(FailureKind kind) {
    return kind == FailureKind::LpxRefused || kind == FailureKind::DeviceCheck;
}

}  // namespace

QString Series::DeviceLine(const SeriesDevice& device) const {
    const JobOutcome& outcome = device.outcome;
    const QString number = QString::number(device.number);
    if (outcome.end == JobEnd::Aborted) return FillText(Msg::SeriesDeviceAborted, {number});
    QString code = outcome.codeBefore.isEmpty() ? QStringLiteral("????") : outcome.codeBefore;
    if (outcome.written && outcome.codeAfter != outcome.codeBefore)
        code += QStringLiteral(" → ") + outcome.codeAfter;
    if (outcome.end != JobEnd::Done) return FillText(Msg::SeriesDeviceFailed, {number, code});
    if (outcome.check == CheckState::Passed)
        return FillText(Msg::SeriesDeviceVerified, {number, code});
    if (outcome.check == CheckState::NotDone)
        return FillText(Msg::SeriesDeviceNotVerified, {number, code});
    return FillText(Msg::SeriesDeviceWritten, {number, code});
}

std::optional<SeriesEnd> Series::EndAfter(const JobOutcome& outcome) {
    // Also an abort of the check after a write: the user wants no further device.
    if (outcome.end == JobEnd::Aborted || outcome.userAborted) return SeriesEnd::Stopped;
    const JobFailure failure = outcome.end == JobEnd::Failed ? outcome.failure : JobFailure();
    const JobFailure last = lastFailure_;
    lastFailure_ = failure;
    if (EndsAtOnce(failure.kind)) return SeriesEnd::Unchangeable;
    if (EndsWhenRepeated(failure.kind) && failure.kind == last.kind &&
        failure.messageId == last.messageId) {
        host_.SeriesLine(Text(Msg::SeriesSameFailureTwice));
        return SeriesEnd::Unchangeable;
    }
    return std::nullopt;
}

bool Series::OpenListCodes() {
    const JournalTarget record{jobs_.journalPath, jobs_.journalServer};
    const auto line = [this](const QString& text) { host_.SeriesLine(text); };
    if (!jobs_.journalServer.isEmpty()) {
        auto reservations = std::make_unique<CodeReservations>();
        if (reservations->Open(jobs_.journalServer)) {
            listCodes_ =
                std::make_unique<ReservedCodes>(plan_.codes, record, std::move(reservations), line);
            return true;
        }
        const QStringList why{MaskedServer(jobs_.journalServer), reservations->Cause()};
        if (!plan_.offlineCodes &&
            !host_.GoOnWithLocalCodes(FillText(Msg::SeriesAskLocalCodes, why))) {
            host_.SeriesLine(FillText(Msg::SeriesNoCodeServer, why));
            return false;
        }
        host_.SeriesLine(Text(Msg::SeriesLocalCodesOnly));
    }
    listCodes_ = std::make_unique<CodeListCodes>(plan_.codes, record, line);
    return true;
}

SeriesEnd Series::Run(const QString& file) {
    SeriesCodes* codes = plan_.codeSource;
    // The series says so before anybody presses a button.
    if (!codes && !plan_.codes.isEmpty()) {
        if (!OpenListCodes()) return SeriesEnd::NoCodeServer;
        codes = listCodes_.get();
    }
    const QString newCodeBefore = settings_.Text(Field::edtRadioCodeNew);
    WriteRequest request;
    request.file = file;
    request.verify = plan_.verify;
    // Starting a series with a code list is the confirmation of every code change in it.
    request.askCodeChange = codes == nullptr;
    // Waiting for the next device is no job on a device.
    request.recordAbortBeforeDevice = false;
    // A device that carries a code this series wrote or handed out has been written already.
    request.refuseDevice = [this](const QString& code) { return written_.contains(code); };
    SeriesEnd end = SeriesEnd::Complete;
    for (;;) {
        if (plan_.count > 0 && Written() >= plan_.count) break;
        if (host_.StopRequested()) break;
        QString code = plan_.newCode;
        if (codes) {
            code = codes->Next();
            if (code.isEmpty() && codes->Lost()) {
                end = SeriesEnd::NoCodeServer;
                break;
            }
            if (code.isEmpty()) {
                host_.SeriesLine(Text(Msg::SeriesCodesUsedUp));
                end = SeriesEnd::CodesUsedUp;
                break;
            }
        }
        // Every device keeps its own code unless the series gives it one.
        settings_.SetText(Field::edtRadioCodeNew, code);
        // The wait counts the devices written: a failed device's successor takes its number.
        host_.DeviceStarting(Written() + 1, plan_.count);
        const JobOutcome outcome = jobs_.WriteDevice(request);
        if (codes) {
            if (outcome.writeStarted)
                codes->Used(code);
            else
                codes->Released(code);
        }
        if (outcome.end == JobEnd::Refused) {
            host_.SeriesLine(FillText(Msg::SeriesDeviceAgain, {outcome.codeBefore}));
            continue;
        }
        // A device whose write failed may be tried again, unless it may carry its new code.
        if (outcome.written)
            written_.insert(outcome.codeAfter);
        else if (outcome.writeStarted && !code.isEmpty())
            written_.insert(code.toUpper());
        // Aborting the wait for the next device is how an open series ends.
        if (outcome.end == JobEnd::Aborted && outcome.codeBefore.isEmpty()) {
            if (plan_.count > 0) end = SeriesEnd::Stopped;
            break;
        }
        devices_ << SeriesDevice{static_cast<int>(devices_.size()) + 1, outcome};
        host_.SeriesLine(DeviceLine(devices_.last()));
        if (const std::optional<SeriesEnd> ended = EndAfter(outcome)) {
            end = *ended;
            break;
        }
    }
    settings_.SetText(Field::edtRadioCodeNew, newCodeBefore);
    return end;
}

int Series::Written() const {
    int n = 0;
    for (const SeriesDevice& device : devices_) n += device.Done() ? 1 : 0;
    return n;
}

int Series::Aborted() const {
    int n = 0;
    for (const SeriesDevice& device : devices_) n += device.outcome.end == JobEnd::Aborted ? 1 : 0;
    return n;
}

int Series::Failed() const {
    return static_cast<int>(devices_.size()) - Written() - Aborted();
}

QString Series::SummaryLine() const {
    return FillText(Msg::SeriesSummary, {QString::number(Written()), QString::number(Failed()),
                                         QString::number(Aborted())});
}
