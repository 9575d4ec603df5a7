#include "link/driverfactory.h"

#include "link/ftdidriver.h"
#include "link/ttydriver.h"

namespace {

class SearchingDriver : public SerialDriver {
  public:
    SearchingDriver(std::unique_ptr<SerialDriver> tty, std::unique_ptr<SerialDriver> fallback)
        : tty_(std::move(tty)), fallback_(std::move(fallback)) {}

    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override {
        const int status = tty_->OpenByDescription(description, handle);
        lastFailure_ = tty_->LastOpenFailure();
        if (status != DriverDeviceNotFound) return status;
        // No tty carried the description, so only the fallback can know more.
        const int fallbackStatus = fallback_->OpenByDescription(description, handle);
        lastFailure_ = fallback_->LastOpenFailure();
        return fallbackStatus;
    }
    OpenFailure LastOpenFailure() const override { return lastFailure_; }

  private:
    std::unique_ptr<SerialDriver> tty_;
    std::unique_ptr<SerialDriver> fallback_;
    OpenFailure lastFailure_;
};

}  // namespace

std::unique_ptr<SerialDriver> CreateSearchingDriver(std::unique_ptr<SerialDriver> tty,
                                                    std::unique_ptr<SerialDriver> fallback) {
    return std::make_unique<SearchingDriver>(std::move(tty), std::move(fallback));
}

std::unique_ptr<SerialDriver> CreateSerialDriver(const QStringList& arguments) {
    const QString option = QStringLiteral("--port=");
    for (const QString& argument : arguments) {
        if (argument.startsWith(option) && argument.size() > option.size())
            return TtyDriver::ForPort(argument.mid(option.size()).toLocal8Bit().toStdString());
    }
    return CreateSearchingDriver(std::make_unique<TtyDriver>(), std::make_unique<FtdiDriver>());
}
