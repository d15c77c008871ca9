// The serial devices the port dialog offers: stable names found through
// real links in a temporary folder, and the list's entries and order.
#include "core/number_text.h"
#include "port/device_choices.h"
#include "port/serial_devices.h"
#include "support/tool_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace quandel {
namespace {

// A stand-in for /dev: device files, and a "by-id" folder of links to them
// as udev makes them.
struct DevFolder {
    test::TempDir dir;
    std::string dev = dir.File("dev");
    std::string byId = dir.File("by-id");

    DevFolder() {
        fs::create_directories(dev);
        fs::create_directories(byId);
        for (const char *name : {"ttyUSB0", "ttyUSB1", "ttyACM0"})
            test::WriteBytes(Dev(name), "");
        // udev links relative to the folder.
        fs::create_symlink("../dev/ttyUSB0", ById("usb-FTDI_FT232R_USB_UART_A1-if00-port0"));
        fs::create_symlink(Dev("ttyUSB1"), ById("usb-Prolific_USB-Serial_Controller-if00"));
        fs::create_symlink(Dev("ttyUSB1"), ById("zz-second-name-for-ttyUSB1"));
        fs::create_symlink(Dev("ttyUSB9"), ById("usb-Unplugged_Adapter-if00"));
        test::WriteBytes(ById("not-a-link"), "");
        // A link of the user's own to an adapter.
        fs::create_symlink(Dev("ttyUSB0"), Dev("mein-adapter"));
    }
    std::string Dev(const std::string &name) const { return dev + "/" + name; }
    std::string ById(const std::string &name) const { return byId + "/" + name; }
};

TEST(SerialDevices, StableNameIsTheLinkThatLeadsToTheDevice) {
    const DevFolder f;
    struct Row {
        const char *name;
        std::string device, folder, stable;
    };
    const Row rows[] = {
        {"relative link as udev makes it", f.Dev("ttyUSB0"), f.byId,
         f.ById("usb-FTDI_FT232R_USB_UART_A1-if00-port0")},
        {"two links to one device: the first by name", f.Dev("ttyUSB1"), f.byId,
         f.ById("usb-Prolific_USB-Serial_Controller-if00")},
        {"device asked for through a link of its own", f.Dev("mein-adapter"), f.byId,
         f.ById("usb-FTDI_FT232R_USB_UART_A1-if00-port0")},
        {"no link leads to the device", f.Dev("ttyACM0"), f.byId, ""},
        {"a dangling link means no present device", f.Dev("ttyUSB9"), f.byId, ""},
        {"a plain file in the folder is no name", f.ById("not-a-link"), f.byId, ""},
        {"no such folder", f.Dev("ttyUSB0"), f.dir.File("nowhere"), ""},
        {"no device path", "", f.byId, ""},
    };
    for (const Row &r : rows)
        EXPECT_EQ(StableNameFor(r.device, r.folder), r.stable) << r.name;
}

TEST(SerialDevices, SameDeviceFollowsLinks) {
    const DevFolder f;
    struct Row {
        const char *name;
        std::string a, b;
        bool same;
    };
    const Row rows[] = {
        {"the same text, though absent", "/dev/gone", "/dev/gone", true},
        {"a stable name and its device", f.ById("usb-FTDI_FT232R_USB_UART_A1-if00-port0"),
         f.Dev("ttyUSB0"), true},
        {"two links to one device", f.Dev("mein-adapter"),
         f.ById("usb-FTDI_FT232R_USB_UART_A1-if00-port0"), true},
        {"two devices", f.Dev("ttyUSB0"), f.Dev("ttyUSB1"), false},
        {"a dangling link and the device it names", f.ById("usb-Unplugged_Adapter-if00"),
         f.Dev("ttyUSB9"), false},
        {"an empty path", "", f.Dev("ttyUSB0"), false},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(SameDevice(r.a, r.b), r.same) << r.name;
        EXPECT_EQ(SameDevice(r.b, r.a), r.same) << r.name;
    }
    EXPECT_TRUE(DeviceExists(f.ById("usb-Prolific_USB-Serial_Controller-if00")));
    EXPECT_FALSE(DeviceExists(f.ById("usb-Unplugged_Adapter-if00")));
    EXPECT_FALSE(DeviceExists(""));
}

TEST(SerialDevices, NaturalOrderComparesNumbersByValue) {
    struct Row {
        const char *a, *b;
        bool less;
    };
    const Row rows[] = {
        {"/dev/ttyUSB2", "/dev/ttyUSB10", true},
        {"/dev/ttyUSB10", "/dev/ttyUSB2", false},
        {"/dev/ttyACM0", "/dev/ttyS0", true},
        {"/dev/ttyS31", "/dev/ttyUSB0", true},
        {"/dev/ttyUSB", "/dev/ttyUSB0", true},
        {"/dev/ttyUSB0", "/dev/ttyUSB0", false},
        {"COM9", "COM10", true},
        {"/dev/ttyUSB007", "/dev/ttyUSB8", true},
        {"/dev/ttyUSB00", "/dev/ttyUSB0", false},
        {"/dev/ttyUSB0", "/dev/ttyUSB00", true},
    };
    for (const Row &r : rows)
        EXPECT_EQ(NaturalLess(r.a, r.b), r.less) << r.a << " < " << r.b;
}

SerialDeviceInfo Ftdi(const std::string &n, const std::string &serial) {
    return {"/dev/ttyUSB" + n,
            "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_" + serial + "-if00-port0",
            "FT232R USB UART", "FTDI", serial};
}

TEST(SerialDevices, ChoicesListThePresentDevicesAndTheCurrentOne) {
    const DevFolder f;
    const std::string none = Cp1252("Keine seriellen Geräte gefunden");
    const std::string ftdiA1 = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    struct Row {
        const char *name;
        std::vector<SerialDeviceInfo> present;
        std::string current;
        std::vector<DeviceChoice> entries;
        int selected;
    };
    const Row rows[] = {
        {"an adapter with a stable name is stored under it",
         {Ftdi("0", "A1")},
         "/dev/ttyUSB0",
         {{ftdiA1 + "  (ttyUSB0, FT232R USB UART, FTDI)", ftdiA1}},
         0},
        {"a stored stable name finds its adapter renumbered",
         {Ftdi("3", "A1")},
         ftdiA1,
         {{ftdiA1 + "  (ttyUSB3, FT232R USB UART, FTDI)", ftdiA1}},
         0},
        {"a stored stable name whose adapter is away",
         {Ftdi("0", "B2")},
         ftdiA1,
         {{ftdiA1 + Cp1252("  (nicht vorhanden)"), ftdiA1},
          {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_B2-if00-port0  (ttyUSB0, FT232R USB UART, "
           "FTDI)",
           "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_B2-if00-port0"}},
         0},
        {"none present, the default device absent",
         {},
         f.Dev("ttyUSB5"),
         {{f.Dev("ttyUSB5") + Cp1252("  (nicht vorhanden)"), f.Dev("ttyUSB5")}, {none, ""}},
         0},
        {"none present, the current device there but unlisted (a pty)",
         {},
         f.Dev("ttyACM0"),
         {{f.Dev("ttyACM0"), f.Dev("ttyACM0")}, {none, ""}},
         0},
        {"two adapters of one kind: told apart by serial number",
         {Ftdi("1", "B2"), Ftdi("0", "A1")},
         "/dev/ttyUSB1",
         {{ftdiA1 + "  (ttyUSB0, FT232R USB UART, FTDI, Seriennummer A1)", ftdiA1},
          {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_B2-if00-port0  (ttyUSB1, FT232R USB UART, "
           "FTDI, Seriennummer B2)",
           "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_B2-if00-port0"}},
         1},
        {"two adapters of one kind without serial numbers: told apart by path",
         {{"/dev/ttyUSB1", "", "USB-Serial Controller", "Prolific", ""},
          {"/dev/ttyUSB0", "", "USB-Serial Controller", "Prolific", ""}},
         f.Dev("ttyUSB7"),
         {{f.Dev("ttyUSB7") + Cp1252("  (nicht vorhanden)"), f.Dev("ttyUSB7")},
          {"/dev/ttyUSB0  (USB-Serial Controller, Prolific)", "/dev/ttyUSB0"},
          {"/dev/ttyUSB1  (USB-Serial Controller, Prolific)", "/dev/ttyUSB1"}},
         0},
        {"natural order of the paths, plain ports without details",
         {{"/dev/ttyUSB10", "", "", "", ""},
          {"/dev/ttyS0", "", "", "", ""},
          {"/dev/ttyUSB2", "", "CP2102", "", ""},
          {"/dev/ttyACM0", "", "", "Arduino", ""}},
         "/dev/ttyS0",
         {{"/dev/ttyACM0  (Arduino)", "/dev/ttyACM0"},
          {"/dev/ttyS0", "/dev/ttyS0"},
          {"/dev/ttyUSB2  (CP2102)", "/dev/ttyUSB2"},
          {"/dev/ttyUSB10", "/dev/ttyUSB10"}},
         1},
        {"nameless and doubled entries are dropped",
         {{"", "", "Geist", "", ""},
          {"/dev/ttyUSB0", "", "", "", ""},
          {"/dev/ttyUSB0", "", "", "", ""}},
         "/dev/ttyUSB0",
         {{"/dev/ttyUSB0", "/dev/ttyUSB0"}},
         0},
        {"a current device reached through a link of the user's own",
         {{f.Dev("ttyUSB0"), "", "", "", ""}},
         f.Dev("mein-adapter"),
         {{f.Dev("ttyUSB0"), f.Dev("ttyUSB0")}},
         0},
        {"no current device",
         {Ftdi("0", "A1")},
         "",
         {{ftdiA1 + "  (ttyUSB0, FT232R USB UART, FTDI)", ftdiA1}},
         -1},
    };
    for (const Row &r : rows) {
        const DeviceChoices choices = BuildDeviceChoices(r.present, r.current);
        ASSERT_EQ(choices.entries.size(), r.entries.size()) << r.name;
        for (std::size_t i = 0; i < r.entries.size(); ++i) {
            EXPECT_EQ(choices.entries[i].text, r.entries[i].text) << r.name << " #" << i;
            EXPECT_EQ(choices.entries[i].name, r.entries[i].name) << r.name << " #" << i;
        }
        EXPECT_EQ(choices.selected, r.selected) << r.name;
    }
}

} // namespace
} // namespace quandel
