#include "jobs/series.h"

#include "jobs/devicejobs.h"
#include "record/codereservations.h"
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
           kind == FailureKind::LpxFirmware || kind == FailureKind::CodeTaken;
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
    const JournalTarget record = jobs_.Record().Target();
    const auto line = [this](const QString& text) { host_.SeriesLine(text); };
    std::unique_ptr<CodeReservations> reservations;
    if (!record.serverUri.isEmpty()) {
        reservations = std::make_unique<CodeReservations>();
        if (!reservations->Open(record.serverUri)) {
            const QStringList why{MaskedServer(record.serverUri), reservations->Cause()};
            reservations.reset();
            if (!plan_.offlineCodes &&
                !host_.GoOnWithLocalCodes(FillText(Msg::SeriesAskLocalCodes, why))) {
                host_.SeriesLine(FillText(Msg::SeriesNoCodeServer, why));
                return false;
            }
            host_.SeriesLine(Text(Msg::SeriesLocalCodesOnly));
        }
    }
    if (reservations)
        listCodes_ =
            std::make_unique<ReservedCodes>(plan_.codes, record, std::move(reservations), line);
    else
        listCodes_ = std::make_unique<CodeListCodes>(plan_.codes, record, line);
    codes_ = listCodes_.get();
    return true;
}

SeriesEnd Series::Run(const QString& file) {
    codes_ = plan_.codeSource;
    const bool listCodes = !codes_ && !plan_.codes.isEmpty();
    request_.file = file;
    request_.verify = plan_.verify;
    // Starting a series with a code list is the confirmation of every code change in it.
    request_.askCodeChange = codes_ == nullptr && !listCodes;
    // The codes of a list are checked and reserved as they are handed out.
    request_.codeClaimed = codes_ != nullptr || listCodes;
    // Waiting for the next device is no job on a device.
    request_.recordAbortBeforeDevice = false;
    request_.refuseDevice = [this](const QString& code) { return done_.contains(code); };
    // A device pressed again after a failed write gets the code the series gave it then.
    request_.codeFor = [this](const QString& device) { return mend_.value(device, code_); };
    // The room follows the code the device gets, also the one a device pressed again keeps.
    request_.roomOf = [this](const QString& code) { return plan_.rooms.value(code.toUpper()); };
    // The series says so before anybody presses a button.
    if (listCodes && !OpenListCodes()) return end_ = SeriesEnd::NoCodeServer;
    for (;;) {
        if ((plan_.count > 0 && Written() >= plan_.count) || host_.StopRequested())
            return end_ = SeriesEnd::Complete;
        if (const std::optional<SeriesEnd> none = HandOutCode()) return end_ = *none;
        // The wait counts the devices written: a failed device's successor takes its number.
        host_.DeviceStarting(Written() + 1, plan_.count, codes_ ? code_ : QString());
        // The view's own new code counts for no device of the series.
        SetNewCode(request_, code_);
        if (const std::optional<SeriesEnd> ended = DeviceEnded(jobs_.Write(request_)))
            return end_ = *ended;
    }
}

std::optional<SeriesEnd> Series::HandOutCode() {
    // Every device keeps its own code unless the series gives it one.
    code_ = codes_ ? codes_->Next() : plan_.newCode;
    if (!codes_ || !code_.isEmpty()) return std::nullopt;
    if (codes_->Lost()) return SeriesEnd::NoCodeServer;
    host_.SeriesLine(Text(Msg::SeriesCodesUsedUp));
    return SeriesEnd::CodesUsedUp;
}

std::optional<SeriesEnd> Series::DeviceEnded(const JobOutcome& outcome) {
    const bool mending = mend_.contains(outcome.codeBefore);
    const QString given = mend_.value(outcome.codeBefore, code_).toUpper();
    // The code handed out went out to this device (it may hold it from then on, whatever the
    // job's end), or it is free for the next one.
    if (codes_ && !code_.isEmpty()) {
        if (outcome.writeStarted && !mending)
            codes_->Used(code_);
        else
            codes_->Released(code_);
    }
    if (outcome.end == JobEnd::Refused) {
        host_.SeriesLine(FillText(Msg::SeriesDeviceAgain, {outcome.codeBefore}));
        return std::nullopt;
    }
    // Aborting the wait for the next device is how an open series ends.
    if (outcome.end == JobEnd::Aborted && outcome.codeBefore.isEmpty())
        return plan_.count > 0 ? SeriesEnd::Stopped : SeriesEnd::Complete;
    if (outcome.Complete()) {
        done_.insert(outcome.codeAfter);
        for (SeriesDevice& earlier : devices_) {
            const QString& before = earlier.outcome.codeBefore;
            if (!earlier.Done() && earlier.outcome.end == JobEnd::Failed && !before.isEmpty() &&
                (before == outcome.codeBefore || mend_.value(before) == outcome.codeAfter))
                earlier.mended = true;
        }
    } else if (outcome.writeStarted && !given.isEmpty() && !outcome.codeBefore.isEmpty()) {
        // The device may carry its old code or the new one.
        mend_.insert(outcome.codeBefore, given);
        mend_.insert(given, given);
    }
    devices_ << SeriesDevice{static_cast<int>(devices_.size()) + 1, outcome};
    host_.SeriesLine(DeviceLine(devices_.last()));
    return EndAfter(outcome);
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
    int n = 0;
    for (const SeriesDevice& device : devices_)
        n += !device.Done() && !device.mended && device.outcome.end != JobEnd::Aborted ? 1 : 0;
    return n;
}

QString Series::SummaryLine() const {
    return FillText(Msg::SeriesSummary, {QString::number(Written()), QString::number(Failed()),
                                         QString::number(Aborted())});
}
