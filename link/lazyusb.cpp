// libftdi (with libusb) and libudev are opened when the LPX is first looked for or opened, not
// when the program starts: the window shows before it looks at the serial ports, and loading
// and relocating the three libraries at start cost more than most of its controls. Each
// stand-in below calls its namesake in the library. Without a library the LPX is not found:
// ftdi_new and udev_new give null, as they do without USB or udev access, and the callers
// handle that already; libusb is reached only through a context from ftdi_new.

#include <libftdi1/ftdi.h>
#include <libudev.h>
#include <libusb.h>

#include "files/lazylibrary.h"

namespace {

const LazyLibrary& Ftdi() {
    static const LazyLibrary library("libftdi1.so.2");
    return library;
}

const LazyLibrary& Usb() {
    static const LazyLibrary library("libusb-1.0.so.0");
    return library;
}

const LazyLibrary& Udev() {
    static const LazyLibrary library("libudev.so.1");
    return library;
}

}  // namespace

// Defines name with the given parameters: it calls the library's function of that name, or
// gives fallback when the library is missing.
#define STAND_IN(library, result, name, params, args, fallback)     \
    result name params {                                            \
        static const auto real = library().Resolve(&::name, #name); \
        return real ? real args : fallback;                         \
    }
#define STAND_IN_VOID(library, name, params, args)                  \
    void name params {                                              \
        static const auto real = library().Resolve(&::name, #name); \
        if (real) real args;                                        \
    }

STAND_IN(Ftdi, ftdi_context*, ftdi_new, (), (), nullptr)
STAND_IN_VOID(Ftdi, ftdi_free, (ftdi_context * ftdi), (ftdi))
STAND_IN(Ftdi, int, ftdi_set_interface, (ftdi_context * ftdi, ftdi_interface interface),
         (ftdi, interface), -1)
STAND_IN(Ftdi, int, ftdi_usb_open_dev, (ftdi_context * ftdi, libusb_device* dev), (ftdi, dev), -1)
STAND_IN(Ftdi, int, ftdi_usb_close, (ftdi_context * ftdi), (ftdi), -1)
STAND_IN(Ftdi, int, ftdi_set_latency_timer, (ftdi_context * ftdi, unsigned char latency),
         (ftdi, latency), -1)
STAND_IN(Ftdi, int, ftdi_set_baudrate, (ftdi_context * ftdi, int baudrate), (ftdi, baudrate), -1)
STAND_IN(Ftdi, int, ftdi_set_line_property,
         (ftdi_context * ftdi, ftdi_bits_type bits, ftdi_stopbits_type sbit,
          ftdi_parity_type parity),
         (ftdi, bits, sbit, parity), -1)
STAND_IN(Ftdi, int, ftdi_setflowctrl, (ftdi_context * ftdi, int flowctrl), (ftdi, flowctrl), -1)
STAND_IN(Ftdi, int, ftdi_setflowctrl_xonxoff,
         (ftdi_context * ftdi, unsigned char xon, unsigned char xoff), (ftdi, xon, xoff), -1)
STAND_IN(Ftdi, int, ftdi_setdtr, (ftdi_context * ftdi, int state), (ftdi, state), -1)
STAND_IN(Ftdi, int, ftdi_tciflush, (ftdi_context * ftdi), (ftdi), -1)
STAND_IN(Ftdi, int, ftdi_tcoflush, (ftdi_context * ftdi), (ftdi), -1)
STAND_IN(Ftdi, int, ftdi_tcioflush, (ftdi_context * ftdi), (ftdi), -1)
STAND_IN(Ftdi, int, ftdi_write_data, (ftdi_context * ftdi, const unsigned char* buf, int size),
         (ftdi, buf, size), -1)
STAND_IN(Ftdi, int, ftdi_read_data, (ftdi_context * ftdi, unsigned char* buf, int size),
         (ftdi, buf, size), -1)

STAND_IN(Usb, ssize_t, libusb_get_device_list, (libusb_context * ctx, libusb_device*** list),
         (ctx, list), ssize_t{LIBUSB_ERROR_NOT_SUPPORTED})
STAND_IN_VOID(Usb, libusb_free_device_list, (libusb_device * *list, int unref_devices),
              (list, unref_devices))
STAND_IN(Usb, int, libusb_get_device_descriptor,
         (libusb_device * dev, libusb_device_descriptor* desc), (dev, desc),
         LIBUSB_ERROR_NOT_SUPPORTED)
STAND_IN(Usb, uint8_t, libusb_get_bus_number, (libusb_device * dev), (dev), 0)
STAND_IN(Usb, uint8_t, libusb_get_device_address, (libusb_device * dev), (dev), 0)
STAND_IN(Usb, int, libusb_open, (libusb_device * dev, libusb_device_handle** handle), (dev, handle),
         LIBUSB_ERROR_NOT_SUPPORTED)
STAND_IN_VOID(Usb, libusb_close, (libusb_device_handle * handle), (handle))
STAND_IN(Usb, int, libusb_get_string_descriptor_ascii,
         (libusb_device_handle * handle, uint8_t index, unsigned char* data, int length),
         (handle, index, data, length), LIBUSB_ERROR_NOT_SUPPORTED)

STAND_IN(Udev, udev*, udev_new, (), (), nullptr)
STAND_IN(Udev, udev*, udev_unref, (udev * u), (u), nullptr)
STAND_IN(Udev, udev_monitor*, udev_monitor_new_from_netlink, (udev * u, const char* name),
         (u, name), nullptr)
STAND_IN(Udev, int, udev_monitor_filter_add_match_subsystem_devtype,
         (udev_monitor * monitor, const char* subsystem, const char* devtype),
         (monitor, subsystem, devtype), -1)
STAND_IN(Udev, int, udev_monitor_enable_receiving, (udev_monitor * monitor), (monitor), -1)
STAND_IN(Udev, int, udev_monitor_get_fd, (udev_monitor * monitor), (monitor), -1)
STAND_IN(Udev, udev_device*, udev_monitor_receive_device, (udev_monitor * monitor), (monitor),
         nullptr)
STAND_IN(Udev, udev_monitor*, udev_monitor_unref, (udev_monitor * monitor), (monitor), nullptr)
STAND_IN(Udev, udev_enumerate*, udev_enumerate_new, (udev * u), (u), nullptr)
STAND_IN(Udev, int, udev_enumerate_add_match_subsystem,
         (udev_enumerate * enumerate, const char* subsystem), (enumerate, subsystem), -1)
STAND_IN(Udev, int, udev_enumerate_add_match_sysname,
         (udev_enumerate * enumerate, const char* sysname), (enumerate, sysname), -1)
STAND_IN(Udev, int, udev_enumerate_scan_devices, (udev_enumerate * enumerate), (enumerate), -1)
STAND_IN(Udev, udev_list_entry*, udev_enumerate_get_list_entry, (udev_enumerate * enumerate),
         (enumerate), nullptr)
STAND_IN(Udev, udev_enumerate*, udev_enumerate_unref, (udev_enumerate * enumerate), (enumerate),
         nullptr)
STAND_IN(Udev, udev_list_entry*, udev_list_entry_get_next, (udev_list_entry * entry), (entry),
         nullptr)
STAND_IN(Udev, const char*, udev_list_entry_get_name, (udev_list_entry * entry), (entry), nullptr)
STAND_IN(Udev, udev_device*, udev_device_new_from_syspath, (udev * u, const char* syspath),
         (u, syspath), nullptr)
STAND_IN(Udev, udev_device*, udev_device_get_parent_with_subsystem_devtype,
         (udev_device * device, const char* subsystem, const char* devtype),
         (device, subsystem, devtype), nullptr)
STAND_IN(Udev, const char*, udev_device_get_sysattr_value,
         (udev_device * device, const char* sysattr), (device, sysattr), nullptr)
STAND_IN(Udev, const char*, udev_device_get_devnode, (udev_device * device), (device), nullptr)
STAND_IN(Udev, udev_device*, udev_device_unref, (udev_device * device), (device), nullptr)
