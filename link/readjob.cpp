// Reading a device: identify it, list the blocks of its generation, wait for the second press,
// fetch one record per block into the read image and show it in the settings.

#include "link/devicejobs.h"
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
    settings_.EnableGeneration2Controls(readImage);
    const int result = settings_.DecodeConfigImage(readImage, MarkFromDevice);
    // The view shows what the device holds, whatever the decoder had to say about it.
    settings_.MarkClean();
    if (result >= 0 && result < kImageSize) {
        Error(Msg::ConversionError,
              {QString::number(readImage.cells[result].value), QString::number(result)});
    } else if (result == DecodeOk) {
        Status(Msg::ReadDone);
    } else if (result == DecodeBadProduct) {
        // The identification saw a K-ORBI, yet the read says otherwise: the view now shows an
        // unknown product, which must not pass unnoticed into a later write.
        Error(Msg::BadProduct);
    }
    host_.ShowOrigin(OriginDevice);
}

void DeviceJobs::ReadSteps() {
    host_.ShowStatus(QString());
    host_.SetWaitTitle(Text(Msg::ReadTitle));
    Identify();
    if (deviceRadioCode.isEmpty()) {
        // A failure has said what happened; only the user's cancel is told as such.
        if (trace_.userAborted) Status(Msg::IdentifyAborted);
        return;
    }
    settings_.SetTextAsLoaded(Field::edtRadioCodeOld, deviceRadioCode);

    if (adapter_.Open() != 0) {
        adapter_.Close();
        return;
    }
    // The blocks common to both generations go first, then those of the device's generation.
    const std::vector<std::string> common = ReadPlan(0);
    adapter_.RequestReadBlock("");
    for (const std::string& block : common) adapter_.RequestReadBlock(block);
    const int generation = deviceFirmwareVersion >> 4;
    if (generation != 1 && generation != 2) {
        Error(Msg::ReadFailed);
        adapter_.Close();
        return;
    }
    const std::vector<std::string> plan = ReadPlan(generation);
    for (size_t i = common.size(); i < plan.size(); ++i) adapter_.RequestReadBlock(plan[i]);

    if (adapter_.StartJob(settings_.Text(Field::edtRadioCodeOld).toStdString()) != LpxResultOk) {
        if (!ReportLineLost()) Error(Msg::LpxJobNotStarted);
    } else {
        const int outcome =
            RunWait(PollReadJob, {Msg::ReadTitle, Msg::WaitingForDevice, Msg::PressToRead}, true);
        if (outcome == WaitFailed || outcome == WaitAborted || outcome == WaitTimedOut) {
            adapter_.RequestReadBlock("");
            pollTag = PollNone;
        }
        if (outcome == WaitFailed) Error(Msg::ReadFailed);
        if (outcome == WaitAborted) Status(Msg::ReadAborted);
        if (outcome == WaitTimedOut) Error(Msg::WaitTimedOutText);
        StopPolling(false);
        ClearImage(readImage);
        if (outcome == WaitDone) {
            FetchRecords(readImage);
            // A read cut short by a lost line is no device's configuration: the view stays.
            if (!ReportLineLost()) ShowReadImage();
        }
    }
    adapter_.RequestReadBlock("");
    adapter_.Close();
}
