// Reading a device: identify it, list the blocks of its generation, wait for the second press,
// fetch one record per block into the read image and show it in the settings view.

#include "link/jobguard.h"
#include "link/jobwait.h"
#include "link/receiveradio.h"
#include "resources/catalogue.h"

namespace {

// The LPX hands over one record per listed block; an LPX that never stops handing out records
// must not hang the program.
constexpr int kMaxRecords = 256;

void FetchRecords(TfrmMain& main) {
    for (int i = 0; i < kMaxRecords; ++i) {
        std::string record;
        if (main.adapter.FetchRecord(record) != LpxResultOk) return;
        StoreReadRecord(main.readImage, record, MarkFromDevice);
    }
}

void ShowReadImage(TfrmMain& main) {
    main.Model().EnableGeneration2Controls(main.readImage);
    const int result = main.Model().DecodeConfigImage(main.readImage, MarkFromDevice);
    if (result >= 0 && result < kImageSize) {
        main.ErrorBox(Msg::ConversionError, {QString::number(main.readImage.cells[result].value),
                                             QString::number(result)});
    } else if (result == DecodeOk) {
        main.SetStatusText(Text(Msg::ReadDone));
    } else if (result == DecodeBadProduct) {
        // The identification saw a K-ORBI, yet the read says otherwise: the view now shows an
        // unknown product, which must not pass unnoticed into a later write.
        main.ErrorBox(Msg::BadProduct);
    }
    main.configOrigin = OriginDevice;
    main.UpdateCaption();
}

}  // namespace

void TfrmMain::mnuCommReadFromDeviceClick() {
    btnReadFromDeviceClick();
}

void TfrmMain::btnReadFromDeviceClick() {
    JobGuard guard(*this);
    if (!guard.Acquired()) return;
    SetStatusText(QString());
    if (frmReceiveRadio) frmReceiveRadio->SetTitle(Text(Msg::ReadTitle));
    btnGetKorbiCodeClick();
    if (deviceRadioCode.isEmpty()) {
        SetStatusText(Text(Msg::IdentifyAborted));
        return;
    }
    Model().SetText(Field::edtRadioCodeOld, deviceRadioCode);

    if (adapter.Open() != 0) {
        adapter.Close();
        return;
    }
    // The blocks common to both generations go first, then those of the device's generation.
    const std::vector<std::string> common = ReadPlan(0);
    adapter.RequestReadBlock("");
    for (const std::string& block : common) adapter.RequestReadBlock(block);
    const int generation = deviceFirmwareVersion >> 4;
    if (generation != 1 && generation != 2) {
        ErrorBox(Msg::ReadFailed);
        adapter.Close();
        return;
    }
    const std::vector<std::string> plan = ReadPlan(generation);
    for (size_t i = common.size(); i < plan.size(); ++i) adapter.RequestReadBlock(plan[i]);

    if (adapter.StartJob(Model().Text(Field::edtRadioCodeOld).toStdString()) != LpxResultOk) {
        ErrorBox(Msg::LpxJobNotStarted);
    } else {
        const int outcome = RunWait(
            *this, PollReadJob, {Msg::ReadTitle, Msg::WaitingForDevice, Msg::PressToRead}, true);
        if (outcome == WaitFailed || outcome == WaitAborted || outcome == WaitTimedOut) {
            adapter.RequestReadBlock("");
            pollTag = PollNone;
        }
        if (outcome == WaitFailed) ErrorBox(Msg::ReadFailed);
        if (outcome == WaitAborted) SetStatusText(Text(Msg::ReadAborted));
        if (outcome == WaitTimedOut) ErrorBox(Msg::WaitTimedOutText);
        StopPolling(*this, false);
        ClearImage(readImage);
        if (outcome == WaitDone) {
            FetchRecords(*this);
            ShowReadImage(*this);
        }
    }
    adapter.RequestReadBlock("");
    adapter.Close();
}
