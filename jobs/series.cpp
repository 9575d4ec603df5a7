#include "jobs/series.h"

#include "jobs/devicejobs.h"
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

void Series::Aside(std::function<void()> work, std::function<void()> then) {
    const std::weak_ptr<char> alive = alive_;
    auto done = [this, alive, then = std::move(then)] {
        if (!alive.lock()) return;
        const QStringList lines = std::exchange(asideLines_, {});
        for (const QString& line : lines) host_.SeriesLine(line);
        then();
    };
    if (plan_.aside) {
        plan_.aside(std::move(work), std::move(done));
        return;
    }
    work();
    done();
}

void Series::OpenListCodes() {
    const QString server = jobs_.Record().server;
    if (server.isEmpty()) {
        ListCodesOpened(QString());
        return;
    }
    reservations_ = std::make_unique<CodeReservations>();
    auto cause = std::make_shared<QString>();
    Aside(
        [this, server, cause] {
            if (!reservations_->Open(server)) *cause = reservations_->Cause();
        },
        [this, cause] { ListCodesOpened(*cause); });
}

// cause: why the company's server could not be asked; empty when it was, or when there is none.
void Series::ListCodesOpened(const QString& cause) {
    const JournalTarget record = jobs_.Record().Target();
    // The codes' lines come from where the codes are asked; they are told once that is done.
    const auto line = [this](const QString& text) { asideLines_ << text; };
    if (reservations_ && !cause.isEmpty()) {
        reservations_.reset();
        const QStringList why{MaskedServer(record.serverUri), cause};
        if (!plan_.offlineCodes &&
            !host_.GoOnWithLocalCodes(FillText(Msg::SeriesAskLocalCodes, why))) {
            host_.SeriesLine(FillText(Msg::SeriesNoCodeServer, why));
            Ends(SeriesEnd::NoCodeServer);
            return;
        }
        host_.SeriesLine(Text(Msg::SeriesLocalCodesOnly));
    }
    // The local record is read where the codes are asked for, as every later call on them.
    Aside(
        [this, record, line] {
            if (reservations_)
                listCodes_ = std::make_unique<ReservedCodes>(plan_.codes, record,
                                                             std::move(reservations_), line);
            else
                listCodes_ = std::make_unique<CodeListCodes>(plan_.codes, record, line);
        },
        [this] {
            codes_ = listCodes_.get();
            NextDevice();
        });
}

Series::~Series() {
    if (!running_) return;
    alive_.reset();
    jobs_.Abort();
    settings_.SetText(Field::edtRadioCodeNew, newCodeBefore_);
}

bool Series::Start(const QString& file) {
    if (running_ || jobs_.Running()) return false;
    running_ = true;
    newCodeBefore_ = settings_.Text(Field::edtRadioCodeNew);
    codes_ = plan_.codeSource;
    const bool listCodes = !codes_ && !plan_.codes.isEmpty();
    request_ = WriteRequest();
    request_.file = file;
    request_.verify = plan_.verify;
    // Starting a series with a code list is the confirmation of every code change in it.
    request_.askCodeChange = codes_ == nullptr && !listCodes;
    // Waiting for the next device is no job on a device.
    request_.recordAbortBeforeDevice = false;
    // A device that carries a code this series wrote or handed out has been written already.
    request_.refuseDevice = [this](const QString& code) { return written_.contains(code); };
    // The series says so before anybody presses a button.
    if (listCodes)
        OpenListCodes();
    else
        NextDevice();
    return true;
}

void Series::NextDevice() {
    if ((plan_.count > 0 && Written() >= plan_.count) || host_.StopRequested()) {
        Ends(SeriesEnd::Complete);
        return;
    }
    if (!codes_) {
        CodeHandedOut(plan_.newCode, false);
        return;
    }
    auto code = std::make_shared<QString>();
    auto lost = std::make_shared<bool>(false);
    Aside(
        [this, code, lost] {
            *code = codes_->Next();
            *lost = codes_->Lost();
        },
        [this, code, lost] { CodeHandedOut(*code, *lost); });
}

void Series::CodeHandedOut(const QString& code, bool lost) {
    code_ = code;
    if (codes_ && code_.isEmpty()) {
        if (lost) {
            Ends(SeriesEnd::NoCodeServer);
            return;
        }
        host_.SeriesLine(Text(Msg::SeriesCodesUsedUp));
        Ends(SeriesEnd::CodesUsedUp);
        return;
    }
    // Every device keeps its own code unless the series gives it one.
    settings_.SetText(Field::edtRadioCodeNew, code_);
    // The wait counts the devices written: a failed device's successor takes its number.
    host_.DeviceStarting(Written() + 1, plan_.count);
    const std::weak_ptr<char> alive = alive_;
    jobs_.StartWrite(request_, [this, alive](const JobOutcome& outcome) {
        if (alive.lock()) DeviceEnded(outcome);
    });
}

void Series::DeviceEnded(const JobOutcome& outcome) {
    if (!codes_) {
        DeviceCounted(outcome);
        return;
    }
    const QString code = code_;
    const bool used = outcome.writeStarted;
    Aside(
        [this, code, used] {
            if (used)
                codes_->Used(code);
            else
                codes_->Released(code);
        },
        [this, outcome] { DeviceCounted(outcome); });
}

void Series::DeviceCounted(const JobOutcome& outcome) {
    if (outcome.end == JobEnd::Refused) {
        host_.SeriesLine(FillText(Msg::SeriesDeviceAgain, {outcome.codeBefore}));
        NextDevice();
        return;
    }
    // A device whose write failed may be tried again, unless it may carry its new code.
    if (outcome.written)
        written_.insert(outcome.codeAfter);
    else if (outcome.writeStarted && !code_.isEmpty())
        written_.insert(code_.toUpper());
    // Aborting the wait for the next device is how an open series ends.
    if (outcome.end == JobEnd::Aborted && outcome.codeBefore.isEmpty()) {
        Ends(plan_.count > 0 ? SeriesEnd::Stopped : SeriesEnd::Complete);
        return;
    }
    devices_ << SeriesDevice{static_cast<int>(devices_.size()) + 1, outcome};
    host_.SeriesLine(DeviceLine(devices_.last()));
    if (const std::optional<SeriesEnd> ended = EndAfter(outcome)) {
        Ends(*ended);
        return;
    }
    NextDevice();
}

void Series::Ends(SeriesEnd end) {
    settings_.SetText(Field::edtRadioCodeNew, newCodeBefore_);
    running_ = false;
    end_ = end;
    host_.SeriesEnded(end);
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
