#pragma once
// A job host on the core alone, for a user in front of the LPX who presses the button of the
// next listed device as soon as a wait begins (the wait then takes one status poll), and aborts
// the wait with kAbort. The jobs run to their end as a terminal tool runs them, without sleeping
// between polls.

#include <algorithm>
#include <deque>

#include "config/settingsmodel.h"
#include "link/devicejobs.h"
#include "link/lpxsim.h"

class PressingHost : public JobHost {
  public:
    static constexpr int kAbort = -1;
    PressingHost(LpxSim& sim, Messages& messages) : sim_(sim), messages_(messages) {}
    Messages& JobMessages() override { return messages_; }
    void ShowStatus(const QString&) override {}
    void ShowOrigin(int) override {}
    void SetWaitTitle(const QString&) override {}
    void WaitBegins(PollKind, const WaitTexts&) override {
        const int device = presses.empty() ? whenNoneListed : presses.front();
        if (!presses.empty()) presses.pop_front();
        polls_ = 0;
        abortNext_ = device == kAbort;
        if (!abortNext_) sim_.PressButton(device);
    }
    void WaitEnds() override {}

    // Runs the job just started (a series' jobs included) to its end; a wait that four polls do
    // not end is aborted.
    const JobOutcome& Run() {
        return RunToEnd(*jobs, [this] { return !abortNext_ && ++polls_ <= 4; });
    }
    const JobOutcome& Identify() {
        jobs->StartIdentify();
        return Run();
    }
    const JobOutcome& Read(const ReadRequest& request = {}) {
        jobs->StartRead(request);
        return Run();
    }
    const JobOutcome& Write(const WriteRequest& request = {}) {
        jobs->StartWrite(request);
        return Run();
    }
    const JobOutcome& ChangeCode(const QString& code) {
        jobs->StartCodeChange(code);
        return Run();
    }

    DeviceJobs* jobs = nullptr;
    std::deque<int> presses;
    int whenNoneListed = 0;

  private:
    LpxSim& sim_;
    Messages& messages_;
    int polls_ = 0;
    bool abortNext_ = false;
};

// The device's memory shown in the settings as a file would show it, with a press time that fits
// any activation delay.
inline void ShowDeviceSettings(LpxSim& sim, int index, SettingsModel& settings) {
    SimDevice& device = sim.Device(index);
    device.memory[0x3C] = 25;
    device.memory[0x3B] = 0x00;
    ConfigImage image;
    ImageBytes bytes{};
    std::copy(device.memory.begin(), device.memory.end(), bytes.begin());
    FillFileImage(image, bytes, MarkFromFile);
    settings.EnableGeneration2Controls(image);
    settings.DecodeConfigImage(image, MarkFromFile);
}
