// Reading a device: identify it, list the blocks of its generation, wait for the second press,
// fetch one record per block into the read image and show it in the settings view.

#include <QLineEdit>

#include "app/catalogue.h"
#include "link/jobguard.h"
#include "link/jobwait.h"
#include "link/linkmessages.h"
#include "link/receiveradio.h"

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
    main.EnableGeneration2Controls(main.readImage);
    const int result = main.DecodeConfigImage(main.readImage, MarkFromDevice);
    if (result >= 0 && result < kImageSize) {
        main.ErrorBox(
            10817, {QString::number(main.readImage.cells[result].value), QString::number(result)});
    } else if (result == DecodeOk) {
        main.SetStatusText(Text(10506));
    } else if (result == DecodeBadProduct) {
        // The identification saw a K-ORBI, yet the read says otherwise: the view now shows an
        // unknown product, which must not pass unnoticed into a later write.
        main.ErrorBox(10820);
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
    if (frmReceiveRadio) frmReceiveRadio->SetTitle(Text(10501));
    btnGetKorbiCodeClick();
    if (deviceRadioCode.isEmpty()) {
        SetStatusText(Text(10804));
        return;
    }
    edtRadioCodeOld->setText(deviceRadioCode);

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
        ErrorBox(10505);
        adapter.Close();
        return;
    }
    const std::vector<std::string> plan = ReadPlan(generation);
    for (size_t i = common.size(); i < plan.size(); ++i) adapter.RequestReadBlock(plan[i]);

    if (adapter.StartJob(edtRadioCodeOld->text().toStdString()) != LpxResultOk) {
        if (!ReportLineLost(*this)) ErrorBox(10508);
    } else {
        const int outcome = RunWait(*this, PollReadJob, {10501, 10872, 10503}, true);
        if (outcome == WaitFailed || outcome == WaitAborted || outcome == WaitTimedOut) {
            adapter.RequestReadBlock("");
            pollTag = PollNone;
        }
        if (outcome == WaitFailed) ErrorBox(10505);
        if (outcome == WaitAborted) SetStatusText(Text(10504));
        if (outcome == WaitTimedOut) ErrorBox(10873);
        StopPolling(*this, false);
        ClearImage(readImage);
        if (outcome == WaitDone) {
            FetchRecords(*this);
            // A read cut short by a lost line is no device's configuration: the view stays.
            if (!ReportLineLost(*this)) ShowReadImage(*this);
        }
    }
    adapter.RequestReadBlock("");
    adapter.Close();
}
