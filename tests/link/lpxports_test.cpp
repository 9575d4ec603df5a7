// The LPX indicator's discovery and live updates on a umockdev testbed: an FTDI converter with
// the LPX's product string and its tty, another converter that must be ignored, and the
// converter plugged out and in while the watch runs. Run under umockdev-wrapper.

#include "link/lpxports.h"

#include <gtest/gtest.h>
#include <umockdev.h>
#include <unistd.h>

#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <cstring>

#include "app/windowaids.h"
#include "link/lpxadapter.h"
#include "resources/catalogue.h"

namespace {

// Adds a USB device with product, its interface and its tty ttyUSBn; the tty's syspath.
std::string AddConverter(UMockdevTestbed* bed, const char* product, int n) {
    const std::string bus = "1-" + std::to_string(n + 1);
    gchar* usb = umockdev_testbed_add_device(bed, "usb", bus.c_str(), nullptr, "idVendor", "0403",
                                             "idProduct", "6001", "product", product, nullptr,
                                             "DEVTYPE", "usb_device", nullptr);
    gchar* iface =
        umockdev_testbed_add_device(bed, "usb", (bus + ":1.0").c_str(), usb, "bInterfaceNumber",
                                    "00", nullptr, "DEVTYPE", "usb_interface", nullptr);
    const std::string name = "ttyUSB" + std::to_string(n);
    const std::string devName = "/dev/" + name;
    const std::string dev = "188:" + std::to_string(n);
    gchar* tty = umockdev_testbed_add_device(bed, "tty", name.c_str(), iface, "dev", dev.c_str(),
                                             nullptr, "DEVNAME", devName.c_str(), nullptr);
    // The testbed makes no node for the tty; the indicator checks access to one.
    gchar* root = umockdev_testbed_get_root_dir(bed);
    QFile node(QString::fromUtf8(root) + QString::fromStdString(devName));
    node.open(QIODevice::WriteOnly);
    g_free(root);
    std::string path = tty ? tty : "";
    g_free(usb);
    g_free(iface);
    g_free(tty);
    return path;
}

enum class Event { None, Remove, Add };

struct IndicatorCase {
    const char* name;
    const char* product;  // nullptr: no converter at the start
    Event event;
    LpxPresence before;
    LpxPresence after;
};

const IndicatorCase kCases[] = {
    {"present", kLpxDescription, Event::None, LpxPresence::Connected, LpxPresence::Connected},
    {"wrong product", "FT232R USB UART", Event::None, LpxPresence::NotFound, LpxPresence::NotFound},
    {"removed", kLpxDescription, Event::Remove, LpxPresence::Connected, LpxPresence::NotFound},
    {"added", nullptr, Event::Add, LpxPresence::NotFound, LpxPresence::Connected},
};

TEST(LpxIndicator, FollowsTheConverter) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "umockdev-preload"))
        GTEST_SKIP() << "needs umockdev-wrapper";
    for (const IndicatorCase& c : kCases) {
        SCOPED_TRACE(c.name);
        UMockdevTestbed* bed = umockdev_testbed_new();
        // A second converter of another product is always there and never counts.
        AddConverter(bed, "USB <-> Serial Cable", 5);
        std::string tty = c.product ? AddConverter(bed, c.product, 0) : std::string();

        std::vector<LpxPortsStatus> seen;
        LpxPortWatch watch(kLpxDescription, [&](const LpxPortsStatus& s) { seen.push_back(s); });
        ASSERT_TRUE(watch.Live());
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].presence, c.before);
        if (c.before == LpxPresence::Connected) {
            EXPECT_EQ(seen[0].path, "/dev/ttyUSB0");
            EXPECT_EQ(LpxStatusText(seen[0]), "LPX: verbunden (/dev/ttyUSB0)");
        }

        if (c.event == Event::Remove) {
            umockdev_testbed_uevent(bed, tty.c_str(), "remove");
            umockdev_testbed_remove_device(bed, tty.c_str());
            gchar* root = umockdev_testbed_get_root_dir(bed);
            QFile::remove(QString::fromUtf8(root) + "/dev/ttyUSB0");
            g_free(root);
        } else if (c.event == Event::Add) {
            tty = AddConverter(bed, kLpxDescription, 0);
            umockdev_testbed_uevent(bed, tty.c_str(), "add");
        }
        if (c.event != Event::None) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 5000));
        } else {
            // An event that changes nothing the indicator shows is not reported.
            umockdev_testbed_uevent(bed, tty.c_str(), "change");
            QTest::qWait(200);
            EXPECT_EQ(seen.size(), 1u);
        }
        EXPECT_EQ(watch.Current().presence, c.after);
        EXPECT_EQ(FindLpxPorts(kLpxDescription).presence, c.after);
        g_object_unref(bed);
    }
}

// With --port the field names that device and whether it can be opened (the superuser may open
// every file), whatever converter is plugged in; the device itself is not opened.
TEST(LpxIndicator, NamesThePortGivenOnTheCommandLine) {
    QTemporaryDir dir;
    for (const char* name : {"ttyUSB3", "ttyUSB4"})
        QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    QFile::setPermissions(dir.filePath("ttyUSB4"), QFileDevice::Permissions());
    const std::pair<const char*, const char*> cases[] = {
        {"ttyUSB3", "LPX: %1 (--port), lässt sich öffnen"},
        {"ttyUSB9", "LPX: %1 (--port) nicht vorhanden"},
        {"ttyUSB4", geteuid() == 0 ? "LPX: %1 (--port), lässt sich öffnen"
                                   : "LPX: %1 (--port), keine Berechtigung"},
    };
    for (const auto& [name, text] : cases) {
        LpxPortWatch watch(kLpxDescription, nullptr, dir.filePath(name).toStdString());
        EXPECT_EQ(LpxStatusText(watch.Current()), QString::fromUtf8(text).arg(dir.filePath(name)));
    }
    // The window's field looks once the window has been drawn, and then says the same.
    QMainWindow window;
    AppEnvironment env;
    env.lpxPort = dir.filePath("ttyUSB3");
    AddWindowAids(&window, env);
    auto* field = window.findChild<QLabel*>("lblLpxStatus");
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->text().isEmpty());
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return field->text().contains(env.lpxPort); }, 5000));
}

}  // namespace
