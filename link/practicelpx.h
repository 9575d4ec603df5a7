#pragma once
// The LPX of practice mode: a simulated LPX with three simulated K-ORBIs behind the same driver
// seam as the real converter, so that trainees run every job of the program without hardware.
// What the devices hold lives as long as this object, i.e. for one session.

#include <memory>
#include <string>

#include "link/lpxsim.h"
#include "link/serialdriver.h"
#include "link/simdriver.h"

class PracticeLpx : public SerialDriver {
  public:
    static constexpr int kDevices = 3;

    // Three devices of the given generation (1 or 2), each with its own radio ID code and the
    // simulator's factory values.
    explicit PracticeLpx(int generation);

    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override;

    // The trainee presses the button of the device in front of the LPX. An identification
    // cannot tell which job follows it, so the caller says whether a write does: once the
    // device in front has been written, the next write takes the next device (round robin),
    // so that several buttons can be written in a row, while reads and code changes stay with
    // the device in front, so that a write can be read back. A job for one device's code is
    // answered by that device. Nothing happens while no job waits.
    void PressButton(bool identifyingForWrite);

    LpxSim& Sim() { return sim_; }

  private:
    LpxSim sim_;
    SimDriver driver_;
    int front_ = 0;
    bool frontWritten_ = false;
    bool writing_ = false;  // the job that follows the last identification is a write
};
