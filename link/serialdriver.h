#pragma once
// The driver seam under the LPX adapter: the operations of the FTDI converter with D2XX-like
// statuses (0 = OK). Real drivers: tty (kernel ftdi_sio) and libftdi; tests use a simulated LPX.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

enum DriverStatus : int {
    DriverOk = 0,
    DriverInvalidHandle = 1,
    DriverDeviceNotFound = 2,
    DriverDeviceNotOpened = 3,
    DriverIoError = 4,
    DriverInvalidParameter = 6,
    DriverOtherError = 18,
    // The converter went away under an open handle (unplugged, hung up): nothing will ever
    // arrive on it again, and waiting for bytes must not go on.
    DriverLineLost = 32,
};

// Why the last open failed, where the system said so: an errno value (EACCES, EBUSY ...) and
// the device file it concerned. error is 0 when no open failed or the cause is unknown.
struct OpenFailure {
    int error = 0;
    std::string path;
};

constexpr uint32_t PurgeRx = 1;
constexpr uint32_t PurgeTx = 2;

// D2XX's names for the line settings the adapter passes and the drivers carry out.
constexpr uint8_t kWordLength8 = 8;
constexpr uint8_t kStopBits1 = 0;
constexpr uint8_t kStopBits2 = 2;
constexpr uint8_t kParityNone = 0;
constexpr uint8_t kParityOdd = 1;
constexpr uint8_t kParityEven = 2;
constexpr uint16_t kFlowNone = 0x0000;
constexpr uint16_t kFlowRtsCts = 0x0100;
constexpr uint16_t kFlowXonXoff = 0x0400;

// One open converter. Closing is the destructor's job.
class SerialHandle {
  public:
    virtual ~SerialHandle() = default;
    virtual int SetBaudRate(uint32_t baud) = 0;
    virtual int SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) = 0;
    virtual int SetFlowControl(uint16_t mode, uint8_t xon, uint8_t xoff) = 0;
    virtual int ClrDtr() = 0;
    virtual int Purge(uint32_t mask) = 0;
    virtual int SetTimeouts(uint32_t readMs, uint32_t writeMs) = 0;
    virtual int GetQueueStatus(uint32_t* count) = 0;
    // Never waits: count must not exceed the queued bytes.
    virtual int Read(uint8_t* buffer, uint32_t count, uint32_t* read) = 0;
    virtual int Write(const uint8_t* bytes, uint32_t count, uint32_t* written) = 0;
    // Sleeps until at least one byte is queued or timeoutMs has passed, so that waiting for an
    // answer costs no CPU. Returns DriverOk in both cases, DriverLineLost at once when the line
    // is gone.
    virtual int WaitForBytes(int timeoutMs) = 0;
    // The clock that answer deadlines are measured on. Real lines use the steady clock; a fake
    // line may run a virtual one that its WaitForBytes advances.
    virtual std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
};

class SerialDriver {
  public:
    virtual ~SerialDriver() = default;
    // Opens the converter whose USB product description equals description exactly.
    virtual int OpenByDescription(const std::string& description,
                                  std::unique_ptr<SerialHandle>* handle) = 0;
    // The cause of the last failed OpenByDescription; cleared by one that succeeds.
    virtual OpenFailure LastOpenFailure() const { return {}; }
};
