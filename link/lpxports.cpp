#include "link/lpxports.h"

#include <libudev.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <filesystem>

#include "resources/catalogue.h"

namespace {

struct Enumerate {
    udev_enumerate* e;
    ~Enumerate() { udev_enumerate_unref(e); }
};
struct Device {
    udev_device* d;
    ~Device() { udev_device_unref(d); }
};

// The product string is matched on the USB device's own attribute, byte for byte: udev's
// ID_MODEL is a mangled copy ("Talo_LPX_-_...") that other converters may share.
bool IsLpxConverter(udev_device* tty, const std::string& description) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    if (!usb) return false;
    const char* product = udev_device_get_sysattr_value(usb, "product");
    return product && description == product;
}

bool Accessible(const std::string& path) {
    return ::access(path.c_str(), R_OK | W_OK) == 0;
}

void Collect(udev* u, const std::string& description, LpxPortsStatus& status) {
    Enumerate list{udev_enumerate_new(u)};
    if (!list.e) return;
    udev_enumerate_add_match_subsystem(list.e, "tty");
    // The converter is an FTDI chip, which the kernel's USB serial drivers name ttyUSB<n>.
    // Matching the name before udev reads a device spares the hundreds of virtual and serial
    // terminals every system has.
    udev_enumerate_add_match_sysname(list.e, "ttyUSB*");
    udev_enumerate_scan_devices(list.e);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list.e)) {
        Device tty{udev_device_new_from_syspath(u, udev_list_entry_get_name(entry))};
        if (!tty.d || !IsLpxConverter(tty.d, description)) continue;
        const char* node = udev_device_get_devnode(tty.d);
        if (!node) continue;
        status.ports.push_back(LpxPort{node, Accessible(node)});
    }
}

}  // namespace

bool operator==(const LpxPortsStatus& a, const LpxPortsStatus& b) {
    if (a.presence != b.presence || a.path != b.path || a.stableLink != b.stableLink ||
        a.namedPort != b.namedPort || a.ports.size() != b.ports.size())
        return false;
    for (size_t i = 0; i < a.ports.size(); ++i)
        if (a.ports[i].devnode != b.ports[i].devnode ||
            a.ports[i].accessible != b.ports[i].accessible)
            return false;
    return true;
}

namespace {

LpxPortsStatus Diagnose(udev* u, const std::string& description, const std::string& stableLink) {
    LpxPortsStatus status;
    if (u) Collect(u, description, status);
    std::error_code error;
    status.stableLink = !stableLink.empty() && std::filesystem::exists(stableLink, error);
    if (status.ports.empty()) return status;
    const LpxPort* usable = nullptr;
    for (const LpxPort& port : status.ports)
        if (port.accessible && !usable) usable = &port;
    if (status.stableLink) {
        status.path = stableLink;
        status.presence =
            Accessible(stableLink) ? LpxPresence::Connected : LpxPresence::NoPermission;
    } else {
        status.path = usable ? usable->devnode : status.ports.front().devnode;
        status.presence = usable ? LpxPresence::Connected : LpxPresence::NoPermission;
    }
    return status;
}

}  // namespace

LpxPortsStatus FindLpxPorts(const std::string& description, const std::string& stableLink) {
    udev* u = udev_new();
    LpxPortsStatus status = Diagnose(u, description, stableLink);
    if (u) udev_unref(u);
    return status;
}

LpxPortsStatus NamedPortStatus(const std::string& port) {
    LpxPortsStatus status;
    status.namedPort = true;
    status.path = port;
    std::error_code error;
    if (port.empty() || !std::filesystem::exists(port, error)) return status;
    status.ports.push_back(LpxPort{port, Accessible(port)});
    status.presence =
        status.ports.front().accessible ? LpxPresence::Connected : LpxPresence::NoPermission;
    return status;
}

QString LpxStatusText(const LpxPortsStatus& status, QString* tooltip) {
    if (tooltip) tooltip->clear();
    const QString path = QString::fromStdString(status.path);
    if (status.namedPort) {
        if (status.presence == LpxPresence::NoPermission && tooltip)
            *tooltip = FillText(Msg::LpxNoPermission, {path});
        const int textId = status.presence == LpxPresence::Connected ? Msg::LpxStatusPortUsable
                           : status.presence == LpxPresence::NoPermission
                               ? Msg::LpxStatusPortDenied
                               : Msg::LpxStatusPortMissing;
        return FillText(textId, {path});
    }
    switch (status.presence) {
        case LpxPresence::Connected:
            return FillText(Msg::LpxStatusConnected, {QString::fromStdString(status.path)});
        case LpxPresence::NoPermission:
            if (tooltip)
                *tooltip = FillText(Msg::LpxNoPermission, {QString::fromStdString(status.path)});
            return Text(Msg::LpxStatusNoPermission);
        case LpxPresence::NotFound:
            break;
    }
    return Text(Msg::LpxStatusNotFound);
}

std::string InstalledLpxRule() {
    for (const char* path :
         {"/etc/udev/rules.d/70-korbi-lpx.rules", "/usr/lib/udev/rules.d/70-korbi-lpx.rules",
          "/lib/udev/rules.d/70-korbi-lpx.rules",
          "/usr/local/lib/udev/rules.d/70-korbi-lpx.rules"}) {
        std::error_code error;
        if (std::filesystem::exists(path, error)) return path;
    }
    return {};
}

LpxPortWatch::LpxPortWatch(std::string description, Callback callback, std::string port)
    : description_(std::move(description)),
      port_(std::move(port)),
      callback_(std::move(callback)),
      udev_(udev_new()) {
    if (udev_) monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ &&
        (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "tty", nullptr) < 0 ||
         udev_monitor_enable_receiving(monitor_) < 0)) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    if (monitor_) {
        notifier_ =
            std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
    }
    current_ = Diagnosis();
    if (callback_) callback_(current_);
}

LpxPortsStatus LpxPortWatch::Diagnosis() const {
    return port_.empty() ? Diagnose(udev_, description_, "/dev/korbi-lpx") : NamedPortStatus(port_);
}

LpxPortWatch::~LpxPortWatch() {
    notifier_.reset();
    if (monitor_) udev_monitor_unref(monitor_);
    if (udev_) udev_unref(udev_);
}

void LpxPortWatch::Drain() {
    // One wake-up may carry several events (a converter brings its USB device and its tty);
    // the status is taken once after all of them.
    bool any = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        udev_device_unref(device);
        any = true;
    }
    if (any) Refresh();
}

void LpxPortWatch::Refresh() {
    LpxPortsStatus status = Diagnosis();
    if (status == current_) return;
    current_ = std::move(status);
    if (callback_) callback_(current_);
}
