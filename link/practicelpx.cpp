#include "link/practicelpx.h"

namespace {

constexpr uint16_t kRadioCodes[PracticeLpx::kDevices] = {0x12AB, 0x34CD, 0x56EF};
// The firmware versions the simulated devices report: 1.A and 2.1.
constexpr uint8_t kGeneration1Version = 0x1A;
constexpr uint8_t kGeneration2Version = 0x21;
constexpr const char* kAnyDevice = "FFFF";

}  // namespace

PracticeLpx::PracticeLpx(int generation) : driver_(sim_) {
    const uint8_t version = generation == 1 ? kGeneration1Version : kGeneration2Version;
    for (const uint16_t code : kRadioCodes) sim_.AddDevice(code, version);
}

int PracticeLpx::OpenByDescription(const std::string& description,
                                   std::unique_ptr<SerialHandle>* handle) {
    return driver_.OpenByDescription(description, handle);
}

void PracticeLpx::PressButton(bool identifyingForWrite) {
    // Pressed on the window's thread while the job's thread talks to the LPX.
    const std::lock_guard<std::recursive_mutex> lock(sim_.Mutex());
    if (!sim_.JobWaiting()) return;
    if (sim_.JobCode() == kAnyDevice) {
        if (identifyingForWrite && frontWritten_) {
            front_ = (front_ + 1) % kDevices;
            frontWritten_ = false;
        }
        writing_ = identifyingForWrite;
        sim_.PressButton(front_);
        return;
    }
    const bool writeJob = sim_.JobKind() == SimJobKind::Write;
    for (int device = 0; device < kDevices; ++device) {
        if (!sim_.PressButton(device)) continue;
        if (writing_ && writeJob && device == front_) frontWritten_ = true;
        return;
    }
}
