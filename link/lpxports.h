#pragma once
// Whether the LPX is plugged in and usable, as udev sees it: the converters on the tty
// subsystem whose USB device carries the LPX's product string, their device nodes and whether
// this user may open them. LpxPortWatch follows the converter being plugged in or out through a
// udev monitor, on the thread's event loop, without touching the serial port itself.

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;
class QSocketNotifier;

enum class LpxPresence { Connected, NotFound, NoPermission };

struct LpxPort {
    std::string devnode;  // /dev/ttyUSB0
    bool accessible = false;
};

struct LpxPortsStatus {
    LpxPresence presence = LpxPresence::NotFound;
    // The port the program would open: the udev rule's stable link when it exists, else the
    // first usable converter's node (or the first one at all).
    std::string path;
    std::vector<LpxPort> ports;
    bool stableLink = false;
    // The port was named (--port): path is that device, and nothing was looked up.
    bool namedPort = false;
};

bool operator==(const LpxPortsStatus& a, const LpxPortsStatus& b);
inline bool operator!=(const LpxPortsStatus& a, const LpxPortsStatus& b) {
    return !(a == b);
}

// Enumerates the USB serial converters once. description: the product string of the LPX's
// converter.
LpxPortsStatus FindLpxPorts(const std::string& description,
                            const std::string& stableLink = "/dev/korbi-lpx");

// The status of a serial device named by the user: whether it exists and may be opened. The
// device itself is not opened.
LpxPortsStatus NamedPortStatus(const std::string& port);

// The status line's text for a status; tooltip gets the remedy (empty when there is none).
QString LpxStatusText(const LpxPortsStatus& status, QString* tooltip = nullptr);

// Where the package puts its udev rule; the first existing one, or empty.
std::string InstalledLpxRule();

class LpxPortWatch {
  public:
    using Callback = std::function<void(const LpxPortsStatus&)>;
    // Reports the first status at once, and later ones whenever a tty comes or goes and the
    // status changed. Without udev (no monitor) only the first status is reported. With a port
    // (--port) that device's status is reported instead of the converter's.
    LpxPortWatch(std::string description, Callback callback, std::string port = {});
    ~LpxPortWatch();
    LpxPortWatch(const LpxPortWatch&) = delete;
    LpxPortWatch& operator=(const LpxPortWatch&) = delete;

    const LpxPortsStatus& Current() const { return current_; }
    bool Live() const { return monitor_ != nullptr; }

  private:
    void Drain();
    void Refresh();

    LpxPortsStatus Diagnosis() const;

    std::string description_;
    std::string port_;
    Callback callback_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
    LpxPortsStatus current_;
};
