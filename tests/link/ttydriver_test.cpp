#include "link/ttydriver.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QStringList>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "link/driverfactory.h"
#include "link/ftdidriver.h"
#include "link/lpxadapter.h"
#include "link/lpxsim.h"
#include "lpxsim_process.h"

namespace fs = std::filesystem;

namespace {

// The program's end of the line is the terminal's slave side; the test plays the LPX on the
// master side.
struct Pty {
    int master = -1;
    std::string slave;
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master, 0);
        EXPECT_EQ(grantpt(master), 0);
        EXPECT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
    }
    ~Pty() { close(master); }
    void Send(const std::string& bytes) const {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Whatever arrives within waitMs, up to the first ETX.
    std::string ReceiveFrame(int waitMs) const {
        std::string bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        while (bytes.find('\x03') == std::string::npos && std::chrono::steady_clock::now() < end) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                char buffer[64];
                const ssize_t n = read(master, buffer, sizeof buffer);
                if (n > 0) bytes.append(buffer, size_t(n));
            }
        }
        return bytes;
    }
};

struct TempDir {
    fs::path path;
    TempDir() {
        char pattern[] = "/tmp/korbi-link-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir() { fs::remove_all(path); }
};

bool WaitForQueue(LpxAdapter& adapter, uint32_t count) {
    for (int i = 0; i < 100 && adapter.QueuedBytes() != count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return adapter.QueuedBytes() == count;
}

// A USB converter with a tty below it, as sysfs shows one.
void AddUsbTty(const fs::path& sys, const std::string& name, int usbPort,
               const std::string& product) {
    const fs::path usb =
        sys / "devices/pci0000:00/0000:00:14.0/usb1" / ("1-" + std::to_string(usbPort));
    const fs::path port = usb / ("1-" + std::to_string(usbPort) + ":1.0") / name;
    fs::create_directories(port / "tty" / name);
    std::ofstream(usb / "product") << product << "\n";
    std::ofstream(usb / "idVendor") << "0403\n";
    std::ofstream(port.parent_path() / "interface") << product << "\n";
    fs::create_directories(sys / "class/tty" / name);
    fs::create_symlink(port, sys / "class/tty" / name / "device");
}

}  // namespace

TEST(TtyDriver, LineSettingsAreSeenFromTheOtherSide) {
    Pty pty;
    auto driver = TtyDriver::ForPort(pty.slave);
    LpxAdapter adapter(driver.get());
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    termios t{};
    ASSERT_EQ(tcgetattr(pty.master, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B57600));
    EXPECT_EQ(cfgetispeed(&t), speed_t(B57600));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG)) << "control bytes must pass untouched";
    adapter.Close();
}

// lpx-sim keeps its terminal open between the jobs' connections: a second job is refused as
// busy while the first holds the line, and no hold is left behind by one job (a killed one
// included) that would refuse the next job's open to every user but root.
TEST(TtyDriver, ExclusiveOnlyWhileOpen) {
    Pty pty;
    auto driver = TtyDriver::ForPort(pty.slave);
    auto other = TtyDriver::ForPort(pty.slave);
    LpxAdapter adapter(driver.get());
    std::unique_ptr<SerialHandle> second;
    for (int job = 0; job < 2; ++job) {
        ASSERT_EQ(adapter.Open(), LpxResultOk);
        EXPECT_EQ(other->OpenByDescription("", &second), DriverDeviceNotOpened);
        EXPECT_EQ(other->LastOpenFailure().error, EBUSY);
        adapter.Close();
    }
    EXPECT_EQ(other->OpenByDescription("", &second), DriverOk);
}

TEST(TtyDriver, QueueCountReadAndPurge) {
    Pty pty;
    auto driver = TtyDriver::ForPort(pty.slave);
    LpxAdapter adapter(driver.get());
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    uint8_t buffer[8] = {};
    EXPECT_EQ(adapter.ReadQueued(buffer, sizeof buffer), 0u);
    pty.Send(std::string("ab\x03\x04\x15", 5));
    ASSERT_TRUE(WaitForQueue(adapter, 5));
    EXPECT_EQ(adapter.ReadQueued(buffer, 2), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 2), "ab");
    EXPECT_EQ(adapter.QueuedBytes(), 3u);
    EXPECT_TRUE(adapter.PurgeBoth());
    EXPECT_EQ(adapter.QueuedBytes(), 0u);
    adapter.Close();
}

TEST(TtyDriver, ExchangeOverTheLine) {
    Pty pty;
    auto driver = TtyDriver::ForPort(pty.slave);
    LpxAdapter adapter(driver.get());
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    pty.Send("stale bytes");  // dropped when the command goes out
    ASSERT_TRUE(WaitForQueue(adapter, 11));
    std::string sent;
    std::thread lpx([&] {
        sent = pty.ReceiveFrame(1000);
        const std::string answer = LpxSim::Frame("03");
        pty.Send(answer.substr(0, 2));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pty.Send(answer.substr(2));
    });
    std::string status;
    EXPECT_EQ(adapter.QueryReadJobStatus(status), LpxResultOk);
    lpx.join();
    EXPECT_EQ(status, "03");
    EXPECT_EQ(sent, "\x02M4D\x03");
    adapter.Close();
}

TEST(TtyDriver, IdentificationAgainstTheLpxSimTool) {
    LpxSimProcess lpx("/dev/null", {"--press-after=50", "--quiet", "--device=3C4D:1A"});
    ASSERT_FALSE(lpx.path.empty());

    auto driver = TtyDriver::ForPort(lpx.path);
    LpxAdapter adapter(driver.get());
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    EXPECT_EQ(adapter.CheckLpxFirmware("15-1"), LpxResultOk);
    EXPECT_EQ(adapter.EnterIdentifyMode(), LpxResultOk);
    EXPECT_EQ(adapter.RequestReadBlock(""), LpxResultOk);
    EXPECT_EQ(adapter.RequestReadBlock("022E"), LpxResultOk);
    EXPECT_EQ(adapter.StartJob("FFFF"), LpxResultOk);
    std::string status;
    for (int i = 0; i < 20 && status != "03"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (adapter.QueryReadJobStatus(status) != LpxResultOk) status.clear();
    }
    EXPECT_EQ(status, "03");
    std::string record;
    EXPECT_EQ(adapter.FetchRecord(record), LpxResultOk);
    EXPECT_EQ(record, "3C4D022E001A");
    EXPECT_EQ(adapter.FetchRecord(record), LpxResultNoData);
    EXPECT_EQ(adapter.LeaveIdentifyMode(), LpxResultOk);
    adapter.Close();
}

TEST(TtyDriver, ConverterFoundByItsExactProductString) {
    TempDir sys;
    const struct {
        const char* name;
        const char* product;
    } ttys[] = {
        {"ttyUSB0", "Talo LPX - Active USB Interface"},
        {"ttyUSB1", "Talo_LPX_-_Active_USB_Interface"},
        {"ttyUSB2", "talo lpx - active usb interface"},
        {"ttyUSB3", "Talo LPX - Active USB Interface "},
        {"ttyUSB4", "Talo LPX  - Active USB Interface"},
        {"ttyUSB5", "Talo LPX - Active USB Interface 2"},
        {"ttyUSB6", "Talo LPX - Active USB Interface"},
    };
    int port = 1;
    for (const auto& tty : ttys) AddUsbTty(sys.path, tty.name, port++, tty.product);
    // A virtual console without a device, and a built-in port without a USB device above it.
    fs::create_directories(sys.path / "class/tty/tty0");
    fs::create_directories(sys.path / "devices/platform/serial8250/tty/ttyS0");
    fs::create_directories(sys.path / "class/tty/ttyS0");
    fs::create_symlink(sys.path / "devices/platform/serial8250",
                       sys.path / "class/tty/ttyS0/device");

    TtyDriver driver(sys.path.string(), "/dev");
    EXPECT_EQ(driver.FindPorts(kLpxDescription),
              (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB6"}));
    EXPECT_TRUE(driver.FindPorts("Talo LPX").empty());
}

TEST(TtyDriver, OpenByDescriptionOpensTheConverterFound) {
    Pty pty;
    TempDir sys, dev;
    AddUsbTty(sys.path, "ttyUSB3", 2, kLpxDescription);
    fs::create_symlink(pty.slave, dev.path / "ttyUSB3");
    TtyDriver driver(sys.path.string(), dev.path.string());
    LpxAdapter adapter(&driver);
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    adapter.SendCommand("v");
    EXPECT_EQ(pty.ReceiveFrame(1000), "\x02v76\x03");
    adapter.Close();

    TtyDriver foreign(sys.path.string(), dev.path.string());
    std::unique_ptr<SerialHandle> handle;
    EXPECT_EQ(foreign.OpenByDescription("FT232R USB UART", &handle), DriverDeviceNotFound);
}

// libftdi would detach the kernel driver: it is asked only when no tty carries the description,
// never when the tty is there but busy or forbidden. The udev rule's stable link comes first;
// a dangling one is passed over.
TEST(SerialDrivers, FallbackOnlyWhenNoTtyCarriesTheDescription) {
    struct CountingDriver : SerialDriver {
        int status;
        int* calls;
        CountingDriver(int s, int* c) : status(s), calls(c) {}
        int OpenByDescription(const std::string&, std::unique_ptr<SerialHandle>*) override {
            ++*calls;
            return status;
        }
    };
    const struct {
        const char* link;  // "pty": a link to a terminal that opens
        int ttyStatus;
        int ttyCalls;
        int fallbackCalls;
        int result;
    } cases[] = {
        {"", DriverOk, 1, 0, DriverOk},
        {"", DriverDeviceNotFound, 1, 1, DriverIoError},
        {"", DriverDeviceNotOpened, 1, 0, DriverDeviceNotOpened},
        {"", DriverIoError, 1, 0, DriverIoError},
        {"pty", DriverIoError, 0, 0, DriverOk},
        {"/nonexistent/korbi-lpx", DriverDeviceNotFound, 1, 1, DriverIoError},
    };
    Pty pty;
    TempDir dev;
    fs::create_symlink(pty.slave, dev.path / "korbi-lpx");
    for (const auto& c : cases) {
        int ttyCalls = 0, fallbackCalls = 0;
        const std::string link =
            std::string(c.link) == "pty" ? (dev.path / "korbi-lpx").string() : c.link;
        auto driver = CreateSearchingDriver(
            std::make_unique<CountingDriver>(c.ttyStatus, &ttyCalls),
            std::make_unique<CountingDriver>(DriverIoError, &fallbackCalls), link);
        std::unique_ptr<SerialHandle> handle;
        EXPECT_EQ(driver->OpenByDescription(kLpxDescription, &handle), c.result) << c.ttyStatus;
        EXPECT_EQ(ttyCalls, c.ttyCalls) << c.link;
        EXPECT_EQ(fallbackCalls, c.fallbackCalls) << c.ttyStatus;
    }
}

TEST(SerialDrivers, NoConverterMeansNotFound) {
    std::unique_ptr<SerialHandle> handle;
    EXPECT_EQ(
        TtyDriver::ForPort("/nonexistent/ttyUSB9")->OpenByDescription(kLpxDescription, &handle),
        DriverDeviceNotFound);
    TempDir emptySys;
    EXPECT_EQ(TtyDriver(emptySys.path.string()).OpenByDescription(kLpxDescription, &handle),
              DriverDeviceNotFound);
    // Nothing on this machine's USB carries the LPX's description.
    EXPECT_NE(FtdiDriver().OpenByDescription(kLpxDescription, &handle), DriverOk);
    EXPECT_EQ(handle, nullptr);

    auto byPort = CreateSerialDriver("/nonexistent/ttyUSB9");
    ASSERT_NE(byPort, nullptr);
    LpxAdapter adapter(byPort.get());
    EXPECT_EQ(adapter.Open(), LpxResultFailed);
    EXPECT_FALSE(adapter.IsOpen());
    EXPECT_NE(CreateSerialDriver(QString()), nullptr);
}
