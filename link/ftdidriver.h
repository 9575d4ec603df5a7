#pragma once
// The LPX's converter through libftdi over libusb, for a converter that no kernel driver has
// bound. The kernel driver is detached while the handle is open and re-attached on close.

#include <memory>
#include <string>

#include "link/serialdriver.h"

class FtdiDriver : public SerialDriver {
  public:
    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override;
    OpenFailure LastOpenFailure() const override { return lastFailure_; }

  private:
    OpenFailure lastFailure_;
};
