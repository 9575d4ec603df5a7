#pragma once
// Chooses the serial driver for the LPX from the command line: with --port=PATH the tty driver
// on that device, otherwise the stable link /dev/korbi-lpx when the package's udev rule made
// one, then the converter looked up by its description (tty, then libftdi).

#include <QString>
#include <memory>
#include <string>

#include "link/serialdriver.h"

// port: the device --port named, empty without the option.
std::unique_ptr<SerialDriver> CreateSerialDriver(const QString& port);

// Looks the converter up with the kernel's tty driver first. The fallback is asked only when no
// tty carries the description: libftdi detaches the kernel driver, and a converter that the
// kernel serves may be held by another program (a busy or forbidden tty is no reason to take it
// away from there).
// A stableLink that exists is tried before both: the udev rule points it at the LPX's converter.
std::unique_ptr<SerialDriver> CreateSearchingDriver(std::unique_ptr<SerialDriver> tty,
                                                    std::unique_ptr<SerialDriver> fallback,
                                                    std::string stableLink = "/dev/korbi-lpx");
