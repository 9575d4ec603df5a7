// Reading a device: identify it, list the blocks of its generation, wait for the second press,
// fetch one record per block into the read image and show it in the settings.

#include "jobs/devicejobs.h"
#include "resources/catalogue.h"

namespace {

// The LPX hands over one record per listed block; an LPX that never stops handing out records
// must not hang the program.
constexpr int kMaxRecords = 256;

}  // namespace

void DeviceJobs::FetchRecords(ConfigImage& image) {
    for (int i = 0; i < kMaxRecords; ++i) {
        std::string record;
        if (adapter_.FetchRecord(record) != LpxResultOk) return;
        StoreReadRecord(image, record, MarkFromDevice);
    }
}

void DeviceJobs::ShowReadImage() {
    const ConfigImage& image = job_->readImage;
    settings_.EnableGeneration2Controls(image);
    const int result = settings_.DecodeConfigImage(image, MarkFromDevice);
    // The view shows what the device holds, whatever the decoder had to say about it.
    settings_.MarkClean();
    outcome_.read = image;
    outcome_.productionDate = settings_.Text(Field::edtProductionDate);
    if (result >= 0 && result < kImageSize) {
        Fail(FailureKind::Device, Msg::ConversionError,
             {QString::number(image.cells[result].value), QString::number(result)});
    } else if (result == DecodeOk) {
        Succeed(Msg::ReadDone);
    } else if (result == DecodeBadProduct) {
        // The identification saw a K-ORBI, yet the read says otherwise: the view now shows an
        // unknown product, which must not pass unnoticed into a later write.
        Fail(FailureKind::Device, Msg::BadProduct);
    }
    host_.ShowOrigin(OriginDevice);
}

void DeviceJobs::ReadIdentified() {
    if (job_->deviceCode.isEmpty()) {
        IdentificationEnded();
        return;
    }
    settings_.SetTextAsLoaded(Field::edtRadioCodeOld, job_->deviceCode);

    if (!OpenAgain()) return;
    // The blocks common to both generations go first, then those of the device's generation.
    const std::vector<std::string> common = ReadPlan(0);
    adapter_.RequestReadBlock("");
    for (const std::string& block : common) adapter_.RequestReadBlock(block);
    const int generation = job_->firmwareVersion >> 4;
    if (generation != 1 && generation != 2) {
        Fail(FailureKind::Device, Msg::ReadFailed);
        session_->Close();
        Finish();
        return;
    }
    const std::vector<std::string> plan = ReadPlan(generation);
    for (size_t i = common.size(); i < plan.size(); ++i) adapter_.RequestReadBlock(plan[i]);

    if (adapter_.StartJob(settings_.Text(Field::edtRadioCodeOld).toStdString()) != LpxResultOk) {
        LpxRefused(Msg::LpxJobNotStarted);
        ReadAnswered(0);
        return;
    }
    AwaitPress(JobStep::AwaitPress, PollReadJob,
               {Msg::ReadTitle, Msg::WaitingForDevice, Msg::PressToRead});
}

// outcome 0: the job was never started, and only the block list is emptied.
void DeviceJobs::ReadAnswered(int outcome) {
    if (outcome == WaitFailed || outcome == WaitAborted || outcome == WaitTimedOut)
        adapter_.RequestReadBlock("");
    FailedPress(outcome, Msg::ReadFailed);
    if (outcome == WaitAborted) Status(Msg::ReadAborted);
    if (outcome != 0) ClearImage(job_->readImage);
    if (outcome == WaitDone) {
        FetchRecords(job_->readImage);
        // A read cut short by a lost line is no device's configuration: the view stays.
        if (!ReportLineLost()) ShowReadImage();
    }
    adapter_.RequestReadBlock("");
    session_->Close();
    Finish();
}
