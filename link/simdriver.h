#pragma once
// The serial driver seam served by a simulated LPX in the same process. Answers reach the
// receive queue on the steady clock, so a delayed piece of an answer really arrives later and
// the answer wait really waits for it.

#include <chrono>
#include <deque>
#include <memory>
#include <string>

#include "link/lpxsim.h"
#include "link/serialdriver.h"

// The line settings the adapter made, as the simulated converter saw them.
struct SimLineSettings {
    uint32_t baud = 0;
    int wordLength = 0;
    int stopBits = 0;
    int parity = -1;
    int flowControl = -1;
    bool dtrCleared = false;
    uint32_t readTimeoutMs = 0;
    uint32_t writeTimeoutMs = 0;
};

enum class SimSetting { Baud, DataCharacteristics, FlowControl, Dtr };

class SimDriver : public SerialDriver {
  public:
    explicit SimDriver(LpxSim& sim);
    ~SimDriver() override;

    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override;

    // Unplugged: no converter is found.
    void SetAttached(bool attached);
    // The converter goes away under the open line: the line is lost from now on.
    void Unplug();
    // The product description of the simulated converter (the LPX's by default).
    void SetDescription(const std::string& description);
    // Makes one of the line settings fail with an I/O error from the next open on.
    void FailSetting(SimSetting setting, bool fail = true);

    LpxSim& Sim();
    int OpenHandles() const;  // handles open now
    int OpenCount() const;    // successful opens so far
    int HandleCalls() const;  // operations called on handles so far
    const SimLineSettings& Line() const;
    // Every byte the PC wrote, in order.
    const std::string& Written() const;
    void ClearWritten();

    struct State;

  private:
    std::shared_ptr<State> state_;
};
