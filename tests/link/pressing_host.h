#pragma once
// A job host on the core alone, for a user in front of the LPX who presses the button of the
// next listed device as soon as a wait begins (the wait then takes one status poll), and aborts
// the wait with kAbort.

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
    int WaitForButton(PollKind kind, const WaitTexts&, bool) override {
        const int device = presses.empty() ? whenNoneListed : presses.front();
        if (!presses.empty()) presses.pop_front();
        if (device == kAbort) return WaitAborted;
        sim_.PressButton(device);
        for (int poll = 0; poll < 4; ++poll) {
            const int outcome = jobs->PollJobStatus(kind).value_or(WaitAborted);
            if (outcome != 0) return outcome;
        }
        return WaitAborted;
    }
    void StopPolling() override {}

    DeviceJobs* jobs = nullptr;
    std::deque<int> presses;
    int whenNoneListed = 0;

  private:
    LpxSim& sim_;
    Messages& messages_;
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
