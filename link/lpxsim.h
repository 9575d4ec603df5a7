#pragma once
// A simulated LPX programming unit with simulated K-ORBI devices, for tests and for trying the
// program without hardware (the lpx-sim tool). It takes the bytes the PC sends, answers every
// command frame as the LPX firmware does, and can misbehave on purpose.
//
// Jobs: "m" and "n" build the read and the write list; "i" starts a job whose kind follows the
// list command that came last before it ("m": read-type, polled with "M" and fetched with "x";
// "n": write-type, polled with "N"). The job waits until a device whose radio ID code matches
// (any device for "FFFF") has its button pressed; then its status becomes 03 and a read-type
// job has one record per listed block, a write-type job has written its blocks.

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

enum class SimFault {
    NoAnswer,           // the command gets no answer at all
    WrongChecksum,      // framed answers carry a checksum off by one
    LowerCaseChecksum,  // framed answers write their checksum digits in lower case
    SplitAnswer,        // answers come in pieces, pieceDelay apart
    JobFails,           // a pressed button ends the job with status 04
    JobTimesOut,        // a pressed button ends the job with status 05
    ForeignProduct,     // records report 0x01 as the firmware type (address 0x2E)
    BadRecordCount,     // records carry a count one above their number of bytes
    ShortRecord,        // records carry only the last byte of their block
    MissingBlock,       // the block named by the target (e.g. "0840") is never returned
    OldFirmware,        // "v" reports "14-1" in front of the info text
    StartJobEot,        // "i" is answered with EOT
    WriteBlockEsc,      // "n" is answered with ESC
    ChangesByte,        // a write stores the first byte of the block named by the target (the
                        // first block when empty) with its lowest bit turned over
};

// One piece of an answer: its bytes leave delay after the previous piece (or after the command).
struct SimPiece {
    std::chrono::milliseconds delay{0};
    std::string bytes;
};

struct SimDevice {
    std::array<uint8_t, 256> memory{};
    uint16_t RadioCode() const { return static_cast<uint16_t>(memory[0x20] << 8 | memory[0x21]); }
};

enum class SimJobKind { None, Read, Write };

class LpxSim {
  public:
    LpxSim();

    // A K-ORBI with the radio ID code and firmware version (0x21: generation 2), product type 0
    // at 0x2E and a plausible memory. Returns its index.
    int AddDevice(uint16_t radioCode, uint8_t firmwareVersion, uint8_t firmwareType = 0);
    SimDevice& Device(int index) { return devices_.at(static_cast<size_t>(index)); }
    int DeviceCount() const { return static_cast<int>(devices_.size()); }

    // The 11-character information text answered to "v" (default "15-1 LPX V1").
    void SetInfoText(const std::string& text) { infoText_ = text; }
    // What "x" gets when no record is left: a single byte (default NAK), or nothing when
    // endByte is negative.
    void SetEndOfRecords(int endByte) { endOfRecords_ = endByte; }

    // Faults apply to commands whose text begins with target (all commands when empty; for
    // MissingBlock the target is the block text). times < 0: for good.
    void InjectFault(SimFault fault, const std::string& target = {}, int times = -1);
    void ClearFaults() { faults_.clear(); }
    void SetPieceDelay(std::chrono::milliseconds delay) { pieceDelay_ = delay; }

    // The user presses the device's button. Returns true when a waiting job took part.
    bool PressButton(int deviceIndex);
    // Presses the device's button by itself at the given status poll of every job (1: the
    // first poll sees the job done); 0 switches it off.
    void SetAutoPress(int deviceIndex, int atPoll);

    // Bytes from the PC. Returns the answers to the complete frames among them, in pieces.
    std::vector<SimPiece> Receive(const std::string& bytes);

    // The command texts of every frame received, in order ("v", "m0622", "iFFFF", ...).
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    int BadFrames() const { return badFrames_; }

    bool IdentifyMode() const { return identifyMode_; }
    SimJobKind JobKind() const { return jobKind_; }
    int JobStatus() const { return jobStatus_; }
    bool JobWaiting() const { return jobKind_ != SimJobKind::None && jobStatus_ == 0; }
    // The radio ID code the last job was started for ("FFFF": any device).
    const std::string& JobCode() const { return jobCode_; }

    // The job's thread sends while the user presses on another: every command and press takes
    // this lock, and a caller that asks several questions at once holds it around them.
    std::recursive_mutex& Mutex() const { return mutex_; }

    // Builds a frame (STX, text, checksum, ETX) as the LPX sends it.
    static std::string Frame(const std::string& text);

  private:
    struct Fault {
        SimFault kind;
        std::string target;
        int times;
    };
    struct Block {
        int count;
        int start;
        std::string data;  // write blocks: 2 * count hex digits
    };

    bool TakeFault(SimFault kind, const std::string& command);
    std::vector<SimPiece> Answer(const std::string& command);
    std::string HandleCommand(const std::string& command, bool* framed);
    std::string Status(SimJobKind kind);
    void CarryOut(int deviceIndex);
    static bool ParseBlock(const std::string& text, bool withData, Block* block);

    mutable std::recursive_mutex mutex_;
    std::vector<SimDevice> devices_;
    std::string infoText_ = "15-1 LPX V1";
    int endOfRecords_ = 0x15;
    std::vector<Fault> faults_;
    std::chrono::milliseconds pieceDelay_{100};
    std::string input_;
    std::vector<std::string> log_;
    int badFrames_ = 0;

    bool identifyMode_ = false;
    std::vector<Block> readList_;
    std::vector<Block> writeList_;
    SimJobKind lastList_ = SimJobKind::Read;
    SimJobKind jobKind_ = SimJobKind::None;
    std::string jobCode_;
    int jobStatus_ = 0;  // 0 waiting, 3 done, 4 failed, 5 timed out
    int jobPolls_ = 0;
    std::deque<std::string> records_;
    std::string lastPressedCode_ = "0000";
    int autoPressDevice_ = -1;
    int autoPressAt_ = 0;
};
