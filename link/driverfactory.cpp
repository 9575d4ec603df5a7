#include "link/driverfactory.h"

#include "link/ftdidriver.h"
#include "link/ttydriver.h"

namespace {

// The kernel's driver is the usual way to the converter; libftdi reaches one that no kernel
// driver has bound.
class SearchingDriver : public SerialDriver {
  public:
    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override {
        const int status = tty_.OpenByDescription(description, handle);
        if (status == DriverOk) return status;
        return ftdi_.OpenByDescription(description, handle);
    }

  private:
    TtyDriver tty_;
    FtdiDriver ftdi_;
};

}  // namespace

std::unique_ptr<SerialDriver> CreateSerialDriver(const QStringList& arguments) {
    const QString option = QStringLiteral("--port=");
    for (const QString& argument : arguments) {
        if (argument.startsWith(option) && argument.size() > option.size())
            return TtyDriver::ForPort(argument.mid(option.size()).toLocal8Bit().toStdString());
    }
    return std::make_unique<SearchingDriver>();
}
