#include "core/number_text.h"
#include "core/settings_store.h"
#include "port/device_map.h"
#include "port/port_settings.h"
#include "port/port_status.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

TEST(ComStatus, ShowsNumberSettingsHandshakingAndState) {
    struct Row {
        const char *name;
        int number, handshaking;
        bool open;
        const char *expected;
    } rows[] = {
        {"none, open", 1, 0, true, "COM 1,9600,N,8,1 active"},
        {"xon/xoff", 1, 1, true, "COM 1,9600,N,8,1 , XON/XOFF active"},
        {"rts/cts", 1, 2, true, "COM 1,9600,N,8,1 , RTS/CTS active"},
        {"both", 1, 3, true, "COM 1,9600,N,8,1 , XON-RTS active"},
        {"out of range above", 1, 4, true, "COM 1,9600,N,8,1 active"},
        {"out of range below", 1, -1, false, "COM 1,9600,N,8,1 not active"},
        {"closed", 1, 0, false, "COM 1,9600,N,8,1 not active"},
        {"two-digit port, closed, rts", 12, 2, false, "COM 12,9600,N,8,1 , RTS/CTS not active"},
    };
    for (const Row &r : rows) {
        test::FakeSerialPort port;
        port.number = r.number;
        port.handshaking = r.handshaking;
        port.open = r.open;
        EXPECT_EQ(ComStatus(port), r.expected) << r.name;
    }
}

TEST(LineSettings, ParsesWhatThePortTakesAndNamesTheBadField) {
    struct Row {
        const char *name, *text, *canonical, *errorMentions;
    } rows[] = {
        {"usual", "9600,N,8,1", "9600,N,8,1", nullptr},
        {"lower-case parity", "19200,e,7,2", "19200,E,7,2", nullptr},
        {"one and a half stop bits", "1200,M,5,1.5", "1200,M,5,1.5", nullptr},
        {"blanks", " 9600 , O , 8 , 1 ", "9600,O,8,1", nullptr},
        {"bad speed", "fast,N,8,1", nullptr, "Baudrate"},
        {"zero speed", "0,N,8,1", nullptr, "Baudrate"},
        {"bad parity", "9600,X,8,1", nullptr, "Parit\xE4t"},
        {"bad data bits", "9600,N,9,1", nullptr, "Datenbits"},
        {"bad stop bits", "9600,N,8,3", nullptr, "Stopbits"},
        {"too few fields", "9600,N,8", nullptr, "Kommas"},
        {"empty", "", nullptr, "Kommas"},
    };
    for (const Row &r : rows) {
        const LineSettingsParse p = ParseLineSettings(r.text);
        if (r.canonical) {
            ASSERT_TRUE(p.settings) << r.name << ": " << p.error;
            EXPECT_EQ(LineSettingsText(*p.settings), r.canonical) << r.name;
        } else {
            EXPECT_FALSE(p.settings) << r.name;
            EXPECT_NE(p.error.find(r.errorMentions), std::string::npos)
                << r.name << ": " << p.error;
        }
    }
}

TEST(DeviceMap, DefaultTableAndStoredPaths) {
    struct Row {
        int number;
        const char *device;
    } rows[] = {{1, "/dev/ttyUSB0"},
                {16, "/dev/ttyUSB15"},
                {17, "/dev/ttyACM0"},
                {32, "/dev/ttyACM15"},
                {33, "/dev/ttyS0"},
                {64, "/dev/ttyS31"},
                {0, ""},
                {65, ""}};
    for (const Row &r : rows)
        EXPECT_EQ(DefaultDeviceFor(r.number), r.device) << r.number;

    test::MemorySettingsStore store;
    store.Save(kAppTitle, "Schnittstellen", "COM3", "/tmp/velnor");
    EXPECT_EQ(DeviceFor(3, store), "/tmp/velnor");
    EXPECT_EQ(DeviceFor(4, store), "/dev/ttyUSB3");
}

} // namespace
} // namespace quandel
