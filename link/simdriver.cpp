#include "link/simdriver.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "link/lpxadapter.h"

using Clock = std::chrono::steady_clock;

struct SimDriver::State {
    LpxSim* sim = nullptr;
    bool attached = true;
    std::atomic<bool> unplugged{false};  // set on the test's thread, seen on the job's
    std::string description = kLpxDescription;
    bool failing[4] = {};
    int openHandles = 0;
    int openCount = 0;
    int handleCalls = 0;
    SimLineSettings line;
    std::string written;
};

namespace {

struct Pending {
    Clock::time_point due;
    std::string bytes;
};

class SimHandle : public SerialHandle {
  public:
    explicit SimHandle(std::shared_ptr<SimDriver::State> state) : state_(std::move(state)) {
        ++state_->openHandles;
    }
    ~SimHandle() override { --state_->openHandles; }

    int SetBaudRate(uint32_t baud) override {
        ++state_->handleCalls;
        state_->line.baud = baud;
        return Status(SimSetting::Baud);
    }
    int SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override {
        ++state_->handleCalls;
        state_->line.wordLength = wordLength;
        state_->line.stopBits = stopBits;
        state_->line.parity = parity;
        return Status(SimSetting::DataCharacteristics);
    }
    int SetFlowControl(uint16_t mode, uint8_t, uint8_t) override {
        ++state_->handleCalls;
        state_->line.flowControl = mode;
        return Status(SimSetting::FlowControl);
    }
    int ClrDtr() override {
        ++state_->handleCalls;
        state_->line.dtrCleared = true;
        return Status(SimSetting::Dtr);
    }
    int Purge(uint32_t mask) override {
        ++state_->handleCalls;
        if (mask & PurgeRx) {
            // Bytes that have arrived are dropped; pieces still on their way arrive later.
            Arrive();
            arrived_.clear();
        }
        return DriverOk;
    }
    int SetTimeouts(uint32_t readMs, uint32_t writeMs) override {
        ++state_->handleCalls;
        state_->line.readTimeoutMs = readMs;
        state_->line.writeTimeoutMs = writeMs;
        return DriverOk;
    }
    int GetQueueStatus(uint32_t* count) override {
        ++state_->handleCalls;
        if (state_->unplugged) return DriverLineLost;
        Arrive();
        *count = static_cast<uint32_t>(arrived_.size());
        return DriverOk;
    }
    int Read(uint8_t* buffer, uint32_t count, uint32_t* read) override {
        ++state_->handleCalls;
        if (state_->unplugged) return DriverLineLost;
        Arrive();
        const uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(arrived_.size()));
        std::copy(arrived_.begin(), arrived_.begin() + n, buffer);
        arrived_.erase(0, n);
        *read = n;
        return DriverOk;
    }
    int Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override {
        ++state_->handleCalls;
        if (state_->unplugged) return DriverLineLost;
        const std::string text(reinterpret_cast<const char*>(bytes), count);
        state_->written += text;
        *written = count;
        Clock::time_point due = Clock::now();
        if (!pending_.empty()) due = std::max(due, pending_.back().due);
        for (SimPiece& piece : state_->sim->Receive(text)) {
            due += piece.delay;
            pending_.push_back(Pending{due, std::move(piece.bytes)});
        }
        return DriverOk;
    }
    int WaitForBytes(int timeoutMs) override {
        if (state_->unplugged) return DriverLineLost;
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(timeoutMs);
        Arrive();
        if (!arrived_.empty()) return DriverOk;
        Clock::time_point wake = until;
        if (!pending_.empty()) wake = std::min(wake, pending_.front().due);
        std::this_thread::sleep_until(wake);
        return DriverOk;
    }

  private:
    int Status(SimSetting setting) const {
        return state_->failing[static_cast<int>(setting)] ? DriverIoError : DriverOk;
    }
    void Arrive() {
        const Clock::time_point now = Clock::now();
        while (!pending_.empty() && pending_.front().due <= now) {
            arrived_ += pending_.front().bytes;
            pending_.pop_front();
        }
    }

    std::shared_ptr<SimDriver::State> state_;
    std::deque<Pending> pending_;
    std::string arrived_;
};

}  // namespace

SimDriver::SimDriver(LpxSim& sim) : state_(std::make_shared<State>()) {
    state_->sim = &sim;
}

SimDriver::~SimDriver() = default;

int SimDriver::OpenByDescription(const std::string& description,
                                 std::unique_ptr<SerialHandle>* handle) {
    if (!state_->attached || description != state_->description) return DriverDeviceNotFound;
    *handle = std::make_unique<SimHandle>(state_);
    ++state_->openCount;
    return DriverOk;
}

void SimDriver::SetAttached(bool attached) {
    state_->attached = attached;
}

void SimDriver::Unplug() {
    state_->attached = false;
    state_->unplugged = true;
}
void SimDriver::SetDescription(const std::string& description) {
    state_->description = description;
}
void SimDriver::FailSetting(SimSetting setting, bool fail) {
    state_->failing[static_cast<int>(setting)] = fail;
}
LpxSim& SimDriver::Sim() {
    return *state_->sim;
}
int SimDriver::OpenHandles() const {
    return state_->openHandles;
}
int SimDriver::OpenCount() const {
    return state_->openCount;
}
int SimDriver::HandleCalls() const {
    return state_->handleCalls;
}
const SimLineSettings& SimDriver::Line() const {
    return state_->line;
}
const std::string& SimDriver::Written() const {
    return state_->written;
}
void SimDriver::ClearWritten() {
    state_->written.clear();
}
