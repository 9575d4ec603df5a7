#include "link/ftdidriver.h"

#include <libftdi1/ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr uint16_t kFtdiVendor = 0x0403;
// libftdi's answer when the context has no USB device (any more).
constexpr int kFtdiDeviceUnavailable = -666;
// ftdi_usb_open_dev: the interface could not be claimed, another driver or program holds it.
constexpr int kFtdiClaimFailed = -5;

// The status of a failed transfer: a converter that went away gives NO_DEVICE.
int TransferStatus(int result) {
    return result == LIBUSB_ERROR_NO_DEVICE || result == kFtdiDeviceUnavailable ? DriverLineLost
                                                                                : DriverIoError;
}

// The device file libusb opens for a USB device.
std::string UsbDevicePath(libusb_device* device) {
    char path[32];
    std::snprintf(path, sizeof path, "/dev/bus/usb/%03u/%03u",
                  static_cast<unsigned>(libusb_get_bus_number(device)),
                  static_cast<unsigned>(libusb_get_device_address(device)));
    return path;
}

class FtdiHandle : public SerialHandle {
  public:
    explicit FtdiHandle(ftdi_context* context) : ftdi_(context) {}
    ~FtdiHandle() override {
        ftdi_usb_close(ftdi_);  // re-attaches the kernel driver
        ftdi_free(ftdi_);
    }

    int SetBaudRate(uint32_t baud) override {
        return ftdi_set_baudrate(ftdi_, static_cast<int>(baud)) < 0 ? DriverIoError : DriverOk;
    }

    int SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override {
        if ((wordLength != 7 && wordLength != 8) || stopBits > 2 || parity > 4)
            return DriverInvalidParameter;
        const int status = ftdi_set_line_property(ftdi_, wordLength == 8 ? BITS_8 : BITS_7,
                                                  static_cast<ftdi_stopbits_type>(stopBits),
                                                  static_cast<ftdi_parity_type>(parity));
        return status < 0 ? DriverIoError : DriverOk;
    }

    int SetFlowControl(uint16_t mode, uint8_t xon, uint8_t xoff) override {
        int status;
        if (mode == SIO_XON_XOFF_HS)
            status = ftdi_setflowctrl_xonxoff(ftdi_, xon, xoff);
        else if (mode == SIO_DISABLE_FLOW_CTRL || mode == SIO_RTS_CTS_HS)
            status = ftdi_setflowctrl(ftdi_, mode);
        else
            return DriverInvalidParameter;
        return status < 0 ? DriverIoError : DriverOk;
    }

    int ClrDtr() override { return ftdi_setdtr(ftdi_, 0) < 0 ? DriverIoError : DriverOk; }

    int Purge(uint32_t mask) override {
        int status = 0;
        if ((mask & (PurgeRx | PurgeTx)) == (PurgeRx | PurgeTx))
            status = ftdi_tcioflush(ftdi_);
        else if (mask & PurgeRx)
            status = ftdi_tciflush(ftdi_);
        else if (mask & PurgeTx)
            status = ftdi_tcoflush(ftdi_);
        if (mask & PurgeRx) received_.clear();
        return status < 0 ? DriverIoError : DriverOk;
    }

    int SetTimeouts(uint32_t, uint32_t writeMs) override {
        ftdi_->usb_write_timeout = static_cast<int>(std::max<uint32_t>(writeMs, 1));
        return DriverOk;
    }

    int GetQueueStatus(uint32_t* count) override {
        const int status = Pull();
        *count = static_cast<uint32_t>(received_.size());
        return status;
    }

    int Read(uint8_t* buffer, uint32_t count, uint32_t* read) override {
        const int status = count > received_.size() ? Pull() : DriverOk;
        const uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(received_.size()));
        std::copy(received_.begin(), received_.begin() + n, buffer);
        received_.erase(0, n);
        *read = n;
        return status == DriverLineLost ? status : DriverOk;
    }

    int Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override {
        const int n = ftdi_write_data(ftdi_, bytes, static_cast<int>(count));
        *written = n > 0 ? static_cast<uint32_t>(n) : 0;
        return n < 0 ? TransferStatus(n) : DriverOk;
    }

    int WaitForBytes(int timeoutMs) override {
        // The converter sends a packet every latency period (1 ms), so short reads with a
        // short sleep between them see a byte soon after it came without keeping a core busy.
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (received_.empty() && Clock::now() < deadline) {
            const int status = Pull();
            if (status == DriverLineLost) return status;
            if (status != DriverOk) {
                std::this_thread::sleep_until(deadline);
                break;
            }
            if (received_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return DriverOk;
    }

  private:
    // Moves whatever the converter has received into our own buffer.
    int Pull() {
        unsigned char chunk[512];
        const int n = ftdi_read_data(ftdi_, chunk, sizeof chunk);
        if (n < 0) return TransferStatus(n);
        received_.append(reinterpret_cast<const char*>(chunk), static_cast<size_t>(n));
        return DriverOk;
    }

    ftdi_context* ftdi_;
    std::string received_;
};

std::string ProductOf(libusb_device* device, const libusb_device_descriptor& descriptor) {
    libusb_device_handle* usb = nullptr;
    if (descriptor.iProduct == 0 || libusb_open(device, &usb) != 0) return {};
    unsigned char text[256];
    const int length =
        libusb_get_string_descriptor_ascii(usb, descriptor.iProduct, text, sizeof text);
    libusb_close(usb);
    return length > 0 ? std::string(reinterpret_cast<char*>(text), static_cast<size_t>(length))
                      : std::string();
}

}  // namespace

int FtdiDriver::OpenByDescription(const std::string& description,
                                  std::unique_ptr<SerialHandle>* handle) {
    lastFailure_ = {};
    ftdi_context* ftdi = ftdi_new();
    if (!ftdi) return DriverDeviceNotFound;  // no USB access at all
    libusb_device** devices = nullptr;
    const ssize_t count = libusb_get_device_list(ftdi->usb_ctx, &devices);
    libusb_device* found = nullptr;
    for (ssize_t i = 0; i < count && !found; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(devices[i], &descriptor) != 0 ||
            descriptor.idVendor != kFtdiVendor)
            continue;
        if (ProductOf(devices[i], descriptor) == description) found = devices[i];
    }
    int status = DriverDeviceNotFound;
    if (found) {
        ftdi->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
        ftdi_set_interface(ftdi, INTERFACE_ANY);
        const int result = ftdi_usb_open_dev(ftdi, found);
        if (result == kFtdiClaimFailed) lastFailure_ = {EBUSY, UsbDevicePath(found)};
        status = result < 0 ? DriverDeviceNotOpened : DriverOk;
    }
    if (count >= 0) libusb_free_device_list(devices, 1);
    if (status != DriverOk) {
        ftdi_free(ftdi);
        return status;
    }
    ftdi_set_latency_timer(ftdi, 1);
    ftdi->usb_read_timeout = 2;
    *handle = std::make_unique<FtdiHandle>(ftdi);
    return DriverOk;
}
