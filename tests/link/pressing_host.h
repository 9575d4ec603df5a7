#pragma once
// A job host on the core alone, for a user in front of the LPX who answers each wait as soon as
// it begins with the next planned action: the press of a device's button (the wait then takes
// one status poll), possibly into a fault of the LPX, or kAbort. The host keeps what it was told
// to show and shows a read in its view. The jobs run to their end as a terminal tool runs them,
// without sleeping between polls.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>

#include "config/settingsmodel.h"
#include "jobs/devicejobs.h"
#include "jobs/jobview.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "lpx_commands.h"
#include "resources/catalogue.h"
#include "support/scripted_prompts.h"

// What the user does when a wait begins.
struct PlannedPress {
    PlannedPress(int device = 0) : device(device) {}  // NOLINT: a plain device number plans
    PlannedPress(SimFault fault, int device, int times)
        : device(device), fault(fault), times(times) {}
    int device;
    std::optional<SimFault> fault;  // injected just before the press, times times
    int times = 1;
};

class PressingHost : public JobHost {
  public:
    static constexpr int kAbort = -1;
    PressingHost(LpxSim& sim, Messages& messages) : sim_(sim), messages_(messages) {}
    Messages& JobMessages() override { return messages_; }
    void ShowStatus(const QString& text) override { status = text; }
    void SetWaitTitle(const QString& text) override { title = text; }
    ReadShown ShowRead(const QString& code, const ConfigImage& image) override {
        origin = OriginDevice;
        return ShowReadInView(*view, code, image, nullptr);
    }
    void JobEnded(const JobOutcome& outcome) override { TakeWriteIntoView(*view, outcome); }
    // A wait that four polls do not end is aborted.
    bool PollInterval() override { return !abortNext_ && ++polls_ <= 4; }
    void WaitBegins(const WaitTexts& texts) override {
        ++waits;
        waiting = true;
        if (texts.titleId != 0) title = Text(texts.titleId);
        heading = Text(texts.headingId);
        instruction = Text(texts.instructionId);
        steps = texts.steps;
        const PlannedPress press = presses.empty() ? whenNoneListed : presses.front();
        if (!presses.empty()) presses.pop_front();
        polls_ = 0;
        abortNext_ = press.device == kAbort;
        if (press.fault) sim_.InjectFault(*press.fault, {}, press.times);
        if (!abortNext_) sim_.PressButton(press.device);
    }
    void WaitEnds() override { waiting = false; }

    const JobOutcome& Identify() { return last = jobs->Identify(); }
    const JobOutcome& Read(const ReadRequest& request = {}) { return last = jobs->Read(request); }
    // The view's configuration with what request asks besides.
    const JobOutcome& Write(const WriteRequest& request = {}) {
        return last = jobs->Write(WriteRequestOf(*view, request));
    }
    const JobOutcome& ChangeCode(const QString& code) {
        CodeChangeRequest request;
        request.code = code;
        return last = jobs->ChangeCode(request);
    }

    DeviceJobs* jobs = nullptr;
    SettingsModel* view = nullptr;  // where a read is shown
    JobOutcome last;
    std::deque<PlannedPress> presses;
    PlannedPress whenNoneListed = 0;
    // What the host was told: the status line, the origin (-1: never told), the texts of the
    // last wait, the number of waits, and whether one is open.
    QString status, title, heading, instruction;
    int origin = -1;
    int steps = 0;
    int waits = 0;
    bool waiting = false;

  private:
    LpxSim& sim_;
    Messages& messages_;
    int polls_ = 0;
    bool abortNext_ = false;
};

// The device's memory shown in the settings as a file would show it.
inline void ShowMemory(const SimDevice& device, SettingsModel& settings) {
    ConfigImage image;
    ImageBytes bytes{};
    std::copy(device.memory.begin(), device.memory.end(), bytes.begin());
    FillFileImage(image, bytes, MarkFromFile);
    settings.EnableGeneration2Controls(image);
    settings.DecodeConfigImage(image, MarkFromFile);
}

// The same with a press time that fits any activation delay.
inline void ShowDeviceSettings(LpxSim& sim, int index, SettingsModel& settings) {
    SimDevice& device = sim.Device(index);
    device.memory[0x3C] = 25;
    device.memory[0x3B] = 0x00;
    ShowMemory(device, settings);
}

// The jobs on the core against a simulated LPX in the same process, the user scripted: message
// boxes answer from a queue, each wait gets the next planned press (by default device 0's).
class CoreJobsTest : public ::testing::Test {
  protected:
    CoreJobsTest() {
        host.jobs = &jobs;
        host.view = &settings;
    }
    ~CoreJobsTest() override {
        EXPECT_EQ(driver.OpenHandles(), 0) << "the adapter was left open";
        EXPECT_FALSE(host.waiting) << "a wait was left open";
    }

    // The settings as device's memory holds them, shown as a loaded file would show them.
    void ShowDevice(int device) {
        ShowMemory(sim.Device(device), settings);
        prompts.Clear();  // the entry rules may have warned
    }
    void Press(int device) { host.presses.push_back(device); }
    // A press of device that meets the fault, once (times -1: from then on).
    void PressInto(SimFault fault, int device = 0, int times = 1) {
        host.presses.push_back({fault, device, times});
    }
    void Abort() { host.presses.push_back(PressingHost::kAbort); }

    LpxSim sim;
    SimDriver driver{sim};
    ScriptedPrompts prompts;
    SettingsModel settings{&prompts};
    LpxAdapter adapter{&driver};
    PressingHost host{sim, prompts};
    DeviceJobs jobs{adapter, host};
};
