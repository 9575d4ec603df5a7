#pragma once
// The LPX's converter as a tty of the kernel's FTDI driver (/dev/ttyUSB*). The converter is
// found by the USB product string in sysfs, the same description the vendor's library matches.

#include <memory>
#include <string>
#include <vector>

#include "link/serialdriver.h"

class TtyDriver : public SerialDriver {
  public:
    // Looks converters up below sysfsRoot (normally "/sys") and opens them below devRoot.
    explicit TtyDriver(std::string sysfsRoot = "/sys", std::string devRoot = "/dev");
    // A driver that opens this one device, whatever its description (the --port option).
    static std::unique_ptr<TtyDriver> ForPort(const std::string& path);

    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override;
    OpenFailure LastOpenFailure() const override;

    // Device paths of the ttys whose USB device's product string equals description exactly,
    // in name order.
    std::vector<std::string> FindPorts(const std::string& description) const;

    // Opens one tty exclusively, non-blocking and raw; the line settings come afterwards. A
    // failed open leaves its cause in failure, when given.
    static int OpenPath(const std::string& path, std::unique_ptr<SerialHandle>* handle,
                        OpenFailure* failure = nullptr);

  private:
    std::string sysfsRoot_;
    std::string devRoot_;
    std::string port_;  // set: open this path only
    OpenFailure lastFailure_;
};
