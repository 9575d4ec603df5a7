#include "link/series.h"

#include <algorithm>
#include <iterator>

#include "link/devicejobs.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// Failures that no other device can change: the LPX itself, or checks of the configuration
// that come before any device is asked.
constexpr int kSeriesEndingFailures[] = {
    Msg::LpxNotReachable,  Msg::LpxFirmwareTooOld, Msg::ForbiddenCode,
    Msg::CodeInBothGroups, Msg::ZoneInBothGroups,  Msg::CodeNotFourHexDigits,
};
// Checks that run once the device is known: they fail for every device of a generation, so two
// in a row mean the next device would fail them too.
constexpr int kDeviceChecks[] = {Msg::PressTimeTooShort, Msg::EncodingError};

bool Contains(const int* begin, const int* end, int id) {
    return std::find(begin, end, id) != end;
}

}  // namespace

bool EndsTheSeries(const JournalEntry& job) {
    if (job.outcome != JournalOutcome::Failed) return false;
    if (Contains(std::begin(kSeriesEndingFailures), std::end(kSeriesEndingFailures), job.messageId))
        return true;
    return job.codeBefore.isEmpty();
}

bool Series::OpenCodeRecords() {
    QString error;
    // Lines that still wait for the server are only in the local record: it is asked too.
    journal_ = std::make_unique<JournalReader>();
    if (jobs_.journalPath.isEmpty() || !journal_->Open({jobs_.journalPath, {}}, &error))
        journal_.reset();
    if (jobs_.journalServer.isEmpty()) return true;
    reservations_ = std::make_unique<CodeReservations>();
    if (reservations_->Open(jobs_.journalServer)) return true;
    const QStringList why{MaskedServer(jobs_.journalServer), reservations_->Cause()};
    reservations_.reset();
    if (plan_.offlineCodes || host_.GoOnWithLocalCodes(FillText(Msg::SeriesAskLocalCodes, why))) {
        host_.SeriesLine(Text(Msg::SeriesLocalCodesOnly));
        return true;
    }
    host_.SeriesLine(FillText(Msg::SeriesNoCodeServer, why));
    return false;
}

QString Series::NextCode() {
    while (nextCode_ < plan_.codes.size()) {
        const QString code = plan_.codes[nextCode_++];
        QString error;
        QStringList line;
        bool taken =
            journal_ && journal_->Select(code, QDateTime(), &error) && journal_->Next(&line);
        if (!taken && reservations_) {
            const CodeClaim claim = reservations_->Reserve(code);
            if (claim == CodeClaim::Unavailable) {
                host_.SeriesLine(FillText(Msg::SeriesCodeServerLost, {reservations_->Cause()}));
                serverLost_ = true;
                return QString();
            }
            taken = claim == CodeClaim::Taken;
        }
        if (!taken) return code;
        host_.SeriesLine(FillText(Msg::SeriesCodeSkipped, {code}));
    }
    return QString();
}

QString Series::DeviceLine(const SeriesDevice& device) const {
    const QString number = QString::number(device.number);
    if (device.outcome == JournalOutcome::Aborted)
        return FillText(Msg::SeriesDeviceAborted, {number});
    QString code = device.codeBefore.isEmpty() ? QStringLiteral("????") : device.codeBefore;
    if (!device.codeAfter.isEmpty() && device.codeAfter != device.codeBefore)
        code += QStringLiteral(" → ") + device.codeAfter;
    if (device.outcome == JournalOutcome::Failed)
        return FillText(Msg::SeriesDeviceFailed, {number, code});
    if (device.verifyOutcome == QString::fromUtf8(kVerifiedWord))
        return FillText(Msg::SeriesDeviceVerified, {number, code});
    if (device.verifyOutcome == QString::fromUtf8(kNotVerifiedWord))
        return FillText(Msg::SeriesDeviceNotVerified, {number, code});
    return FillText(Msg::SeriesDeviceWritten, {number, code});
}

SeriesEnd Series::Run() {
    const bool verifyBefore = jobs_.verifyAfterWrite;
    const bool askBefore = jobs_.askCodeChange;
    const QString newCodeBefore = settings_.Text(Field::edtRadioCodeNew);
    jobs_.verifyAfterWrite = plan_.verify;
    SeriesEnd end = SeriesEnd::Complete;
    // Starting a series with a code list is the confirmation of every code change in it.
    if (!plan_.codes.isEmpty()) {
        jobs_.askCodeChange = false;
        if (!OpenCodeRecords()) end = SeriesEnd::NoCodeServer;
    }
    int lastCheckFailure = 0;
    QString code;
    for (int number = 1; end != SeriesEnd::NoCodeServer; ++number) {
        if (plan_.count > 0 && Written() >= plan_.count) break;
        if (host_.StopRequested()) break;
        if (!plan_.codes.isEmpty()) {
            code = NextCode();
            if (code.isEmpty()) {
                if (serverLost_) {
                    end = SeriesEnd::NoCodeServer;
                    break;
                }
                host_.SeriesLine(Text(Msg::SeriesCodesUsedUp));
                end = SeriesEnd::CodesUsedUp;
                break;
            }
            settings_.SetText(Field::edtRadioCodeNew, code);
        }
        host_.DeviceStarting(number, plan_.count);
        jobs_.WriteDevice();
        const JournalEntry& job = jobs_.lastJob;
        // The device that carries the code now keeps it reserved for good; otherwise another
        // device may have it.
        if (reservations_ && !code.isEmpty()) {
            if (job.codeAfter.compare(code, Qt::CaseInsensitive) == 0)
                reservations_->MarkUsed(code);
            else
                reservations_->Release(code);
        }
        // A device that was never identified did not take its code; the next one gets it.
        if (!plan_.codes.isEmpty() && job.codeBefore.isEmpty()) --nextCode_;
        // Aborting the wait for the next device is how an open series ends.
        if (job.outcome == JournalOutcome::Aborted && job.codeBefore.isEmpty()) {
            if (plan_.count > 0) end = SeriesEnd::Stopped;
            break;
        }
        SeriesDevice device{number,      job.codeBefore, job.codeAfter,
                            job.outcome, job.messageId,  job.verifyOutcome};
        devices_ << device;
        host_.SeriesLine(DeviceLine(device));
        if (job.outcome == JournalOutcome::Aborted || jobs_.UserAborted()) {
            end = SeriesEnd::Stopped;
            break;
        }
        if (EndsTheSeries(job)) {
            end = SeriesEnd::Unchangeable;
            break;
        }
        const bool check =
            job.outcome == JournalOutcome::Failed &&
            Contains(std::begin(kDeviceChecks), std::end(kDeviceChecks), job.messageId);
        if (check && job.messageId == lastCheckFailure) {
            host_.SeriesLine(Text(Msg::SeriesSameFailureTwice));
            end = SeriesEnd::Unchangeable;
            break;
        }
        lastCheckFailure = check ? job.messageId : 0;
    }
    jobs_.verifyAfterWrite = verifyBefore;
    jobs_.askCodeChange = askBefore;
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
    for (const SeriesDevice& device : devices_)
        n += device.outcome == JournalOutcome::Aborted ? 1 : 0;
    return n;
}

int Series::Failed() const {
    return static_cast<int>(devices_.size()) - Written() - Aborted();
}

QString Series::SummaryLine() const {
    return FillText(Msg::SeriesSummary, {QString::number(Written()), QString::number(Failed()),
                                         QString::number(Aborted())});
}
