#include "link/driverfactory.h"

#include <filesystem>

#include "link/ftdidriver.h"
#include "link/ttydriver.h"

namespace {

class SearchingDriver : public SerialDriver {
  public:
    SearchingDriver(std::unique_ptr<SerialDriver> tty, std::unique_ptr<SerialDriver> fallback,
                    std::string stableLink)
        : tty_(std::move(tty)),
          fallback_(std::move(fallback)),
          stableLink_(std::move(stableLink)) {}

    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override {
        // The link names the converter without a walk through sysfs. When it cannot be opened
        // (unplugged a moment ago, busy), the search decides as it would without the link.
        lastFailure_ = {};
        std::error_code error;
        if (!stableLink_.empty() && std::filesystem::exists(stableLink_, error) &&
            TtyDriver::OpenPath(stableLink_, handle, &lastFailure_) == DriverOk)
            return DriverOk;
        const OpenFailure viaLink = lastFailure_;
        const int status = tty_->OpenByDescription(description, handle);
        lastFailure_ = tty_->LastOpenFailure();
        if (status != DriverDeviceNotFound) return status;
        // No tty carried the description, so only the fallback or the link can tell more.
        const int fallbackStatus = fallback_->OpenByDescription(description, handle);
        lastFailure_ = fallback_->LastOpenFailure();
        if (lastFailure_.error == 0) lastFailure_ = viaLink;
        return fallbackStatus;
    }
    OpenFailure LastOpenFailure() const override { return lastFailure_; }

  private:
    std::unique_ptr<SerialDriver> tty_;
    std::unique_ptr<SerialDriver> fallback_;
    std::string stableLink_;
    OpenFailure lastFailure_;
};

}  // namespace

std::unique_ptr<SerialDriver> CreateSearchingDriver(std::unique_ptr<SerialDriver> tty,
                                                    std::unique_ptr<SerialDriver> fallback,
                                                    std::string stableLink) {
    return std::make_unique<SearchingDriver>(std::move(tty), std::move(fallback),
                                             std::move(stableLink));
}

std::unique_ptr<SerialDriver> CreateSerialDriver(const QString& port) {
    if (!port.isEmpty()) return TtyDriver::ForPort(port.toLocal8Bit().toStdString());
    return CreateSearchingDriver(std::make_unique<TtyDriver>(), std::make_unique<FtdiDriver>());
}
