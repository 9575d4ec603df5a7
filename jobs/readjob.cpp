// Reading a device: identify it, list the blocks of its generation, wait for the second press,
// fetch one record per block, and let the host show what came.

#include "config/settingsmodel.h"
#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "link/trace.h"
#include "resources/catalogue.h"

namespace {

// The LPX hands over one record per listed block; an LPX that never stops handing out records
// must not hang the program.
constexpr int kMaxRecords = 256;

}  // namespace

void DeviceJobs::FetchRecords(Run& run, ConfigImage& image) {
    for (int i = 0; i < kMaxRecords; ++i) {
        std::string record;
        if (run.lpx->FetchRecord(record) != LpxResultOk) return;
        StoreReadRecord(image, record, MarkFromDevice);
    }
}

void DeviceJobs::ReadSteps(Run& run) {
    LpxSession lpx(adapter_, host_);
    run.lpx = &lpx;
    host_.ShowStatus(QString());
    host_.SetWaitTitle(Text(Msg::ReadTitle));
    if (!IdentifyDevice(run)) return NoDeviceIdentified(run, true);
    const QString code = run.outcome.codeBefore;

    // The blocks common to both generations go first, then those of the device's generation.
    const std::vector<std::string> common = ReadPlan(0);
    LpxResult listed = lpx.RequestReadBlock("");
    for (const std::string& block : common)
        listed = FirstRefusal(listed, lpx.RequestReadBlock(block));
    const int generation = *run.outcome.firmwareVersion >> 4;
    if (generation != 1 && generation != 2) return Fail(run, FailureKind::Device, Msg::ReadFailed);
    const std::vector<std::string> plan = ReadPlan(generation);
    for (size_t i = common.size(); i < plan.size(); ++i)
        listed = FirstRefusal(listed, lpx.RequestReadBlock(plan[i]));
    NoteRefusal(lpx, listed, "m");
    if (lpx.StartJob(code.toStdString()) != LpxResultOk) {
        LpxRefused(run, Msg::LpxJobNotStarted);
        return;  // the session empties the list
    }
    const WaitOutcome outcome =
        AwaitPress(run, PollReadJob, {Msg::ReadTitle, Msg::WaitingForDevice, Msg::PressToRead});
    if (outcome == WaitFailed || outcome == WaitAborted || outcome == WaitTimedOut)
        NoteRefusal(lpx, lpx.RequestReadBlock(""), "m");
    FailedPress(run, outcome, Msg::ReadFailed);
    if (outcome == WaitAborted) Status(Msg::ReadAborted);
    ConfigImage image;
    if (outcome == WaitDone) FetchRecords(run, image);
    NoteRefusal(lpx, lpx.RequestReadBlock(""), "m");
    // A read cut short by a lost line is no device's configuration: the view stays.
    if (outcome != WaitDone || ReportLineLost(run)) return;

    const ReadShown shown = host_.ShowRead(code, image);
    run.outcome.read = image;
    run.outcome.productionDate = shown.productionDate;
    run.outcome.saved = shown.saved;
    if (shown.decodeResult >= 0 && shown.decodeResult < kImageSize) {
        Fail(run, FailureKind::Device, Msg::ConversionError,
             {QString::number(image.cells[shown.decodeResult].value),
              QString::number(shown.decodeResult)});
    } else if (shown.decodeResult == DecodeOk) {
        run.succeeded = true;
        Status(Msg::ReadDone);
    } else if (shown.decodeResult == DecodeBadProduct) {
        // The identification saw a K-ORBI, yet the read says otherwise: the view now shows an
        // unknown product, which must not pass unnoticed into a later write.
        Fail(run, FailureKind::Device, Msg::BadProduct);
    }
}

JobOutcome DeviceJobs::Read(const ReadRequest& request) {
    Run run(JournalJob::Read);
    TraceNote(QStringLiteral("Beginn ") + QString::fromLatin1(JournalJobWord(run.outcome.job)));
    ReadSteps(run);
    QString file = request.file;
    // What was read is kept before its line is recorded, so that the line tells whether it was.
    if (run.succeeded && request.keep) {
        if (const int lostId = request.keep(file)) {
            run.succeeded = false;
            run.outcome.failure = {FailureKind::NotKept, lostId};
        }
    }
    return Finish(run, file, true);
}
