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
        if (status != DriverDeviceNotFound) return status;
        return fallback_->OpenByDescription(description, handle);
    }

  private:
    std::unique_ptr<SerialDriver> tty_;
    std::unique_ptr<SerialDriver> fallback_;
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

int SimulatedGeneration(const QStringList& arguments) {
    const QString option = QStringLiteral("--simulate");
    for (const QString& argument : arguments) {
        if (argument == option) return 2;
        if (!argument.startsWith(option + '=')) continue;
        const QString value = argument.mid(option.size() + 1);
        if (value == "1") return 1;
        if (value == "2") return 2;
        return kBadSimulateValue;
    }
    return 0;
}
