#pragma once
// The one connection to the LPX programming unit: raw bytes through the driver seam, command
// frames and answers on top of them.

#include <cstdint>
#include <memory>
#include <string>

#include "config/image.h"
#include "link/serialdriver.h"

constexpr const char* kLpxDescription = "Talo LPX - Active USB Interface";

enum LpxResult : int {
    LpxResultOk = 0,
    LpxResultFailed = 2,
    LpxResultOldFirmware = 7,
    LpxResultNoData = 8,
    LpxResultEot = 9,
    LpxResultEsc = 10,
};

enum class AnswerKind { SingleByte, Framed };

// Control bytes of the line.
constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kEot = 0x04;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kEsc = 0x1B;

// The frame has room for STX, the text, two checksum digits, ETX and a terminating NUL.
constexpr int kFrameSize = 100;
constexpr int kMaxCommandLength = kFrameSize - 5;
// Answer bytes collected per exchange at most.
constexpr int kMaxAnswerBytes = 50;

class LpxAdapter {
  public:
    // driver may be null: the adapter then never opens.
    explicit LpxAdapter(SerialDriver* driver = nullptr) : driver_(driver) {}
    void SetDriver(SerialDriver* driver) { driver_ = driver; }
    bool IsOpen() const { return handle_ != nullptr; }
    // True from the moment the driver reported the open line lost (the converter unplugged)
    // until the next Open. The adapter then acts as a closed one, without touching the driver,
    // and an answer wait ends at once: nothing can come any more.
    bool LineLost() const { return lineLost_; }
    // Why the last Open could not reach the converter, where the driver knows it.
    const OpenFailure& LastOpenFailure() const { return openFailure_; }

    // LpxResultOk, or LpxResultFailed when the converter cannot be reached or set up.
    [[nodiscard]] LpxResult Open();
    void Close();
    bool PurgeBoth();
    void SetTimeouts(uint32_t readMs, uint32_t writeMs);
    uint32_t QueuedBytes();
    uint32_t ReadQueued(uint8_t* buffer, uint32_t maximum);
    uint32_t WriteText(const char* text);

    // A text longer than kMaxCommandLength does not fit the frame and is not sent either.
    void SendCommand(const std::string& command);
    // Collects one answer; returns its payload length (0: no usable answer). A single byte is
    // returned as the payload's first character with length 1.
    int ReceiveAnswer(std::string& payload, int timeoutMs, AnswerKind kind);
    int Transact(const std::string& command, std::string& payload, int timeoutMs, AnswerKind kind);

    [[nodiscard]] LpxResult QueryLpxInfo(std::string& info);
    [[nodiscard]] LpxResult CheckLpxFirmware(const std::string& reference);
    [[nodiscard]] LpxResult EnterIdentifyMode();
    [[nodiscard]] LpxResult LeaveIdentifyMode();
    [[nodiscard]] LpxResult RequestReadBlock(const std::string& blockText);
    [[nodiscard]] LpxResult AddWriteBlock(const std::string& blockText);
    [[nodiscard]] LpxResult StartJob(const std::string& radioCode);
    [[nodiscard]] LpxResult QueryReadJobStatus(std::string& status);
    [[nodiscard]] LpxResult QueryWriteJobStatus(std::string& status);
    [[nodiscard]] LpxResult FetchRecord(std::string& record);

  private:
    // The handle while the line is there; null when closed or lost.
    SerialHandle* Line() const { return lineLost_ ? nullptr : handle_.get(); }
    // Passes a driver status through, noting a lost line.
    int Track(int status);

    SerialDriver* driver_ = nullptr;
    std::unique_ptr<SerialHandle> handle_;
    bool lineLost_ = false;
    OpenFailure openFailure_;
    uint8_t frame_[100] = {};
    uint8_t frameLength_ = 0;
    uint8_t checksum_ = 0;
};

constexpr int kAnswerTimeoutMs = 250;

// A read record as the LPX hands it over after a read-type job: the radio ID code of the device,
// byte count, start address and the bytes.
struct ReadRecord {
    uint8_t codeHigh = 0;
    uint8_t codeLow = 0;
    int count = 0;
    int start = 0;
    uint8_t values[8] = {};
};

// True for a record of 8 + 2N characters with 1 <= N <= 8 and A + N <= 256; fills record.
bool ParseReadRecord(const std::string& text, ReadRecord* record);
// Stores a valid record's bytes into the image with the mark; an invalid record is ignored and
// leaves the image as it was.
bool StoreReadRecord(ConfigImage& image, const std::string& text, uint8_t mark);
