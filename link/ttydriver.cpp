#include "link/ttydriver.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Gives up the exclusive hold before closing. A terminal that someone else keeps open (lpx-sim
// holds its pseudo-terminal) keeps the exclusive flag across our close, and the next job's open
// would then fail for every user but root.
void CloseExclusive(int fd) {
    ioctl(fd, TIOCNXCL);
    ::close(fd);
}

// Takes the line for this process alone. The lock on the open file ends with the process, also
// with a killed one. The kernel's exclusive flag keeps other programs (terminal programs,
// modem probes) from opening the line as well; it ends with the last close of a real serial
// line, but a pseudo-terminal keeps it as long as its other side is open, so that after a kill
// every later open but root's would fail: a pseudo-terminal gets only the lock.
bool TakeExclusive(int fd) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) errno = EBUSY;
        return false;
    }
    constexpr unsigned kPtySlaveFirstMajor = 136, kPtySlaveMajors = 8;
    struct stat st {};
    if (fstat(fd, &st) != 0) return false;
    const unsigned majorNumber = major(st.st_rdev);
    if (majorNumber >= kPtySlaveFirstMajor && majorNumber < kPtySlaveFirstMajor + kPtySlaveMajors)
        return true;
    return ioctl(fd, TIOCEXCL) == 0;
}

// A tty whose USB converter went away is hung up: its calls fail with EIO, or with ENODEV or
// ENXIO while the driver tears the port down.
bool LineGone(int error) {
    return error == EIO || error == ENODEV || error == ENXIO;
}

// The status of a failed call, by its errno.
int FailureStatus() {
    return LineGone(errno) ? DriverLineLost : DriverIoError;
}

bool SpeedFor(uint32_t baud, speed_t* speed) {
    static const std::pair<uint32_t, speed_t> kSpeeds[] = {
        {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
        {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
        {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const auto& [rate, value] : kSpeeds) {
        if (rate == baud) {
            *speed = value;
            return true;
        }
    }
    return false;
}

class TtyHandle : public SerialHandle {
  public:
    explicit TtyHandle(int fd) : fd_(fd) {}
    ~TtyHandle() override { CloseExclusive(fd_); }

    int SetBaudRate(uint32_t baud) override {
        speed_t speed;
        if (!SpeedFor(baud, &speed)) return DriverInvalidParameter;
        return Change([speed](termios& t) {
            cfsetispeed(&t, speed);
            cfsetospeed(&t, speed);
            return true;
        });
    }

    int SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override {
        return Change([=](termios& t) {
            if (wordLength != 7 && wordLength != 8) return false;
            if (stopBits != kStopBits1 && stopBits != kStopBits2) return false;
            if (parity != kParityNone && parity != kParityOdd && parity != kParityEven)
                return false;
            t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD);
            t.c_cflag |= wordLength == 8 ? CS8 : CS7;
            if (stopBits == kStopBits2) t.c_cflag |= CSTOPB;
            if (parity != kParityNone) t.c_cflag |= PARENB;
            if (parity == kParityOdd) t.c_cflag |= PARODD;
            return true;
        });
    }

    int SetFlowControl(uint16_t mode, uint8_t xon, uint8_t xoff) override {
        return Change([=](termios& t) {
            if (mode != kFlowNone && mode != kFlowRtsCts && mode != kFlowXonXoff) return false;
            t.c_cflag &= ~CRTSCTS;
            t.c_iflag &= ~(IXON | IXOFF | IXANY);
            if (mode == kFlowRtsCts) t.c_cflag |= CRTSCTS;
            if (mode == kFlowXonXoff) t.c_iflag |= IXON | IXOFF;
            t.c_cc[VSTART] = xon;
            t.c_cc[VSTOP] = xoff;
            return true;
        });
    }

    int ClrDtr() override {
        int bits = TIOCM_DTR;
        if (ioctl(fd_, TIOCMBIC, &bits) == 0) return DriverOk;
        // A line without modem control lines (a pseudo-terminal) has no DTR to clear.
        return errno == ENOTTY || errno == EINVAL ? DriverOk : FailureStatus();
    }

    int Purge(uint32_t mask) override {
        const uint32_t both = PurgeRx | PurgeTx;
        if ((mask & both) == 0) return DriverOk;
        const int queue = (mask & both) == both ? TCIOFLUSH
                          : (mask & PurgeRx)    ? TCIFLUSH
                                                : TCOFLUSH;
        return tcflush(fd_, queue) == 0 ? DriverOk : FailureStatus();
    }

    int SetTimeouts(uint32_t readMs, uint32_t writeMs) override {
        readTimeoutMs_ = readMs;
        writeTimeoutMs_ = writeMs;
        return DriverOk;
    }

    int GetQueueStatus(uint32_t* count) override {
        int queued = 0;
        if (ioctl(fd_, FIONREAD, &queued) != 0) return FailureStatus();
        *count = static_cast<uint32_t>(std::max(queued, 0));
        return DriverOk;
    }

    int Read(uint8_t* buffer, uint32_t count, uint32_t* read) override {
        uint32_t got = 0;
        while (got < count) {
            const ssize_t n = ::read(fd_, buffer + got, count - got);
            if (n > 0) {
                got += static_cast<uint32_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
                break;
            } else {
                *read = got;
                return FailureStatus();
            }
        }
        *read = got;
        return DriverOk;
    }

    int Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(writeTimeoutMs_);
        uint32_t done = 0;
        while (done < count) {
            const ssize_t n = ::write(fd_, bytes + done, count - done);
            if (n > 0) {
                done += static_cast<uint32_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                *written = done;
                return FailureStatus();
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) break;  // the write time-out ends the write, as D2XX's does
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) > 0 && Gone(p)) {
                *written = done;
                return DriverLineLost;
            }
        }
        *written = done;
        return DriverOk;
    }

    int WaitForBytes(int timeoutMs) override {
        if (timeoutMs < 0) timeoutMs = 0;
        pollfd p{fd_, POLLIN, 0};
        // A hung-up line is always "ready": a caller that waited again would spin.
        if (poll(&p, 1, timeoutMs) > 0 && Gone(p)) return DriverLineLost;
        return DriverOk;
    }

  private:
    static bool Gone(const pollfd& p) { return p.revents & (POLLHUP | POLLERR | POLLNVAL); }

    template <typename F>
    int Change(F change) {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return FailureStatus();
        if (!change(t)) return DriverInvalidParameter;
        return tcsetattr(fd_, TCSANOW, &t) == 0 ? DriverOk : FailureStatus();
    }

    int fd_;
    uint32_t readTimeoutMs_ = 0;
    uint32_t writeTimeoutMs_ = 100;
};

std::string ReadProduct(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

}  // namespace

TtyDriver::TtyDriver(std::string sysfsRoot, std::string devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

std::unique_ptr<TtyDriver> TtyDriver::ForPort(const std::string& path) {
    auto driver = std::make_unique<TtyDriver>();
    driver->port_ = path;
    return driver;
}

std::vector<std::string> TtyDriver::FindPorts(const std::string& description) const {
    std::vector<std::string> ports;
    std::error_code error;
    const fs::path root = fs::weakly_canonical(sysfsRoot_, error);
    fs::directory_iterator it(fs::path(sysfsRoot_) / "class" / "tty", error);
    std::vector<std::string> names;
    for (; !error && it != fs::directory_iterator(); it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::error_code e;
        fs::path dir = fs::canonical(fs::path(sysfsRoot_) / "class" / "tty" / name / "device", e);
        if (e) continue;
        // The tty's device is a port of a USB interface; the USB device above it holds the
        // product string. The first directory that has one decides.
        for (int depth = 0; depth < 16; ++depth) {
            if (fs::is_regular_file(dir / "product", e)) {
                if (ReadProduct(dir / "product") == description)
                    ports.push_back((fs::path(devRoot_) / name).string());
                break;
            }
            if (dir == root || !dir.has_parent_path() || dir.parent_path() == dir) break;
            dir = dir.parent_path();
        }
    }
    return ports;
}

int TtyDriver::OpenPath(const std::string& path, std::unique_ptr<SerialHandle>* handle,
                        OpenFailure* failure) {
    auto fail = [&](int status) {
        if (failure) *failure = {errno, path};
        return status;
    };
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno == ENOENT || errno == ENODEV || errno == ENXIO ? DriverDeviceNotFound
                                                                         : DriverDeviceNotOpened);
    termios t{};
    if (!TakeExclusive(fd) || tcgetattr(fd, &t) != 0) {
        const int status = fail(DriverDeviceNotOpened);
        CloseExclusive(fd);
        return status;
    }
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        const int status = fail(DriverDeviceNotOpened);
        CloseExclusive(fd);
        return status;
    }
    // The FTDI driver otherwise holds received bytes back for up to 16 ms.
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ioctl(fd, TIOCSSERIAL, &serial);
    }
    *handle = std::make_unique<TtyHandle>(fd);
    if (failure) *failure = {};
    return DriverOk;
}

int TtyDriver::OpenByDescription(const std::string& description,
                                 std::unique_ptr<SerialHandle>* handle) {
    // Every open looks afresh: a converter plugged in again may come back under another name.
    lastFailure_ = {};
    if (!port_.empty()) return OpenPath(port_, handle, &lastFailure_);
    int status = DriverDeviceNotFound;
    for (const std::string& port : FindPorts(description)) {
        status = OpenPath(port, handle, &lastFailure_);
        if (status == DriverOk) return DriverOk;
    }
    return status;
}

OpenFailure TtyDriver::LastOpenFailure() const {
    return lastFailure_;
}
