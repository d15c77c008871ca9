#include "core/number_text.h"
#include "dialogs/port_settings_form.h"
#include "port/device_map.h"
#include "port/port_settings.h"
#include "support/device_port.h"
#include "support/fakes.h"
#include "support/scripted_devices.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <set>

namespace quandel {
namespace {

// Remembers the order of the saves as well.
struct OrderedStore final : SettingsStore {
    test::MemorySettingsStore values;
    std::vector<std::string> saved; // "section/key"
    std::string Get(const std::string &a, const std::string &s, const std::string &k,
                    const std::string &f) const override {
        return values.Get(a, s, k, f);
    }
    void Save(const std::string &a, const std::string &s, const std::string &k,
              const std::string &v) override {
        saved.push_back(s + "/" + k);
        values.Save(a, s, k, v);
    }
};

struct Rig {
    OrderedStore store;
    test::DevicePort port{store};
    test::ScriptedDialogs dialogs;
    test::CountingEventPump events;
    test::ScriptedDeviceList devices;
    PortSettingsForm form{port, store, dialogs, events, devices};

    Rig() {
        for (int n = 1; n <= kScanPortCount; ++n)
            Map(n, "/dev/com" + DecimalText(n));
    }
    void Map(int n, const std::string &path) {
        store.values.Save(kAppTitle, kDeviceSection, DeviceKey(n), path);
    }
    void Store(const char *key, const std::string &value) {
        store.values.Save(kAppTitle, "Einstellungen", Cp1252(key), value);
    }
    std::string Stored(const char *section, const char *key) {
        return store.Get(kAppTitle, section, Cp1252(key), "<missing>");
    }
    std::string Shown(PortList list) const {
        const int i = form.Selected(list);
        return i < 0 ? "" : PortListEntries(list)[std::size_t(i)];
    }
};

TEST(PortSettingsForm, ListsBuildReadsTheFixedOffsets) {
    struct Row {
        std::string name, settings, speed, parity, data, stop;
    };
    std::vector<Row> rows = {
        {"one and a half stop bits", "115200,E,7,1.5", "115200", "Even", "7", "1.5"},
        {"two stop bits", "19200,O,5,2", "19200", "Odd", "5", "2"},
        {"speed outside the list", "250000,N,8,1", "", "None", "8", "1"},
        {"unknown parity letter", "9600,X,8,1", "9600", "", "8", "1"},
        {"data bits outside the list", "9600,N,9,1", "9600", "None", "", "1"},
        {"empty text", "", "", "", "", ""},
        {"too short", "1.5", "", "", "", "1.5"},
        {"no commas", "garbage", "", "", "", ""},
    };
    for (const char *p : {"Even", "Odd", "None", "Mark", "Space"})
        for (char letter : {p[0], char(std::tolower(p[0]))})
            rows.push_back({std::string("parity ") + letter, std::string("9600,") + letter + ",8,1",
                            "9600", p, "8", "1"});
    for (const Row &r : rows) {
        Rig rig;
        rig.port.settings = r.settings;
        rig.form.ListsBuild("");
        EXPECT_EQ(rig.Shown(PortList::Speed), r.speed) << r.name;
        EXPECT_EQ(rig.Shown(PortList::Parity), r.parity) << r.name;
        EXPECT_EQ(rig.Shown(PortList::DataBits), r.data) << r.name;
        EXPECT_EQ(rig.Shown(PortList::StopBits), r.stop) << r.name;
    }
}

TEST(PortSettingsForm, LoadAppliesTheStoredSectionOrReportsARefusal) {
    struct Row {
        const char *name, *settings, *number, *handshaking, *echo;
        std::string box;       // empty: no message
        std::string portAfter; // port's settings text after the load
        int numberAfter, flow; // flow -1: lists not built
        bool echoChoice;
        bool open = false; // a showing after Abbrechen, with the port open
        int opens = 0;
    } rows[] = {
        {"empty values leave the port alone", "", "", "", "", "", "4800,E,7,2", 3, 2, false},
        {"stored values reach the port", "19200,o,8,1", "5", "1", "True", "", "19200,O,8,1", 5, 1,
         true},
        {"refused settings text ends the load", "9600,X,8,1", "5", "1", "True",
         Cp1252("Ungültige Schnittstelleneinstellung: Parität \"X\""), "4800,E,7,2", 3, -1, false},
        {"refused handshaking ends the load", "9600,N,8,1", "5", "9", "", "Handshaking",
         "9600,N,8,1", 5, -1, false},
        {"unreadable port number", "", "zwei", "", "",
         Cp1252("Ungültiger gespeicherter Wert für die Schnittstellennummer: \"zwei\""),
         "4800,E,7,2", 3, -1, false},
        {"open port, same number: not touched", "", "3", "", "", "", "4800,E,7,2", 3, 2, false,
         true, 1},
        {"open port, other number: moved there", "", "5", "", "", "", "4800,E,7,2", 5, 2, false,
         true, 2},
    };
    for (const Row &r : rows) {
        Rig rig;
        rig.port.settings = "4800,E,7,2";
        rig.port.number = 3;
        rig.port.handshaking = 2;
        rig.port.present = {"/dev/com3", "/dev/com5"};
        if (r.open) {
            ASSERT_TRUE(rig.port.SetPortOpen(true));
        }
        rig.Store("Einstellungen", r.settings);
        rig.Store("COM-Anschluß", r.number);
        rig.Store("Handshaking", r.handshaking);
        rig.Store("Echo", r.echo);
        EXPECT_EQ(rig.form.Load(), r.box.empty()) << r.name;
        ASSERT_EQ(rig.dialogs.boxes.size(), r.box.empty() ? 0u : 1u) << r.name;
        if (!r.box.empty()) {
            EXPECT_EQ(rig.dialogs.boxes[0].text, r.box) << r.name;
            EXPECT_EQ(rig.dialogs.boxes[0].title, kAppTitle);
            EXPECT_EQ(rig.dialogs.boxes[0].icon, BoxIcon::Exclamation);
        }
        EXPECT_EQ(rig.port.settings, r.portAfter) << r.name;
        EXPECT_EQ(rig.port.number, r.numberAfter) << r.name;
        EXPECT_EQ(rig.port.open, r.open) << r.name;
        EXPECT_EQ(rig.port.opens, r.opens) << r.name;
        EXPECT_EQ(rig.form.ListsBuilt(), r.flow >= 0) << r.name;
        if (r.flow >= 0) {
            EXPECT_EQ(rig.form.FlowChoice(), r.flow) << r.name;
            EXPECT_EQ(rig.form.EchoChoice(), r.echoChoice) << r.name;
            EXPECT_EQ(rig.form.ChosenPortNumber(), r.numberAfter) << r.name;
        }
    }
}

TEST(PortSettingsForm, OkAppliesStoresOrReportsAndStaysOpen) {
    struct Row {
        const char *name;
        std::function<void(Rig &)> choose;
        bool hides;
        std::string box; // the start of the message, empty: none
        int number, opens, closes;
        bool openAfter;
        std::string settings, echo, com1Device;
    };
    const Row rows[] = {
        {"unchanged on an open port: not reopened", [](Rig &) {}, true, "", 1, 1, 0, true,
         "9600,N,8,1", "False", "/dev/com1"},
        {"another port, open: closed, renumbered, reopened",
         [](Rig &r) { r.form.Select(PortList::Port, 1); }, true, "", 2, 2, 1, true, "9600,N,8,1",
         "False", "/dev/com1"},
        {"another port whose device is missing", [](Rig &r) { r.form.Select(PortList::Port, 3); },
         false, "fehlt: /dev/com4", 1, 1, 1, false, "<missing>", "<missing>", "/dev/com1"},
        {"another device for the open port's number",
         [](Rig &r) { r.form.EditDevice(1, "/dev/com2"); }, true, "", 1, 2, 1, true, "9600,N,8,1",
         "False", "/dev/com2"},
        {"a missing device is taken back", [](Rig &r) { r.form.EditDevice(1, "/dev/gone"); }, false,
         "fehlt: /dev/gone", 1, 1, 1, false, "<missing>", "<missing>", "/dev/com1"},
        {"a listed adapter picked: its stable name is stored",
         [](Rig &r) {
             r.devices.devices = {{"/dev/com2", "/dev/serial/by-id/usb-A", "UART", "", ""}};
             r.form.RefreshDevices();
             r.form.ChooseDevice(1, 1); // after "/dev/com1  (nicht vorhanden)"
         },
         true, "", 1, 2, 1, true, "9600,N,8,1", "False", "/dev/serial/by-id/usb-A"},
        {"a picked stable name whose link is gone is taken back",
         [](Rig &r) {
             r.devices.devices = {{"/dev/com2", "/dev/serial/by-id/usb-B", "UART", "", ""}};
             r.form.RefreshDevices();
             r.form.ChooseDevice(1, 1); // after "/dev/com1  (nicht vorhanden)"
         },
         false, "fehlt: /dev/serial/by-id/usb-B", 1, 1, 1, false, "<missing>", "<missing>",
         "/dev/com1"},
        {"the remark of an empty list picks nothing",
         [](Rig &r) {
             r.form.RefreshDevices();
             r.form.ChooseDevice(1, 1); // after "/dev/com1  (nicht vorhanden)"
         },
         true, "", 1, 1, 0, true, "9600,N,8,1", "False", "/dev/com1"},
        {"refused data bits keep the dialog open",
         [](Rig &r) { r.form.Select(PortList::DataBits, 0); }, false,
         Cp1252("Ungültige Schnittstelleneinstellung: Datenbits"), 1, 1, 0, true, "<missing>",
         "<missing>", "/dev/com1"},
        {"Ein is stored as True, 1.5 stop bits",
         [](Rig &r) {
             r.form.SelectEcho(true);
             r.form.SelectFlow(3);
             r.form.Select(PortList::Speed, 13);
             r.form.Select(PortList::StopBits, 1);
         },
         true, "", 1, 1, 0, true, "115200,N,8,1.5", "True", "/dev/com1"},
        {"an unselected list keeps the port's field",
         [](Rig &r) { r.form.Select(PortList::Speed, -1); }, true, "", 1, 1, 0, true, "9600,N,8,1",
         "False", "/dev/com1"},
    };
    for (const Row &r : rows) {
        Rig rig;
        rig.port.present = {"/dev/com1", "/dev/com2", "/dev/serial/by-id/usb-A"};
        ASSERT_TRUE(rig.form.Load());
        ASSERT_TRUE(rig.port.SetPortOpen(true));
        r.choose(rig);
        EXPECT_EQ(rig.form.Ok(), r.hides) << r.name;
        ASSERT_EQ(rig.dialogs.boxes.size(), r.box.empty() ? 0u : 1u) << r.name;
        if (!r.box.empty()) {
            EXPECT_EQ(rig.dialogs.boxes[0].text.substr(0, r.box.size()), r.box) << r.name;
        }
        EXPECT_EQ(rig.port.number, r.number) << r.name;
        EXPECT_EQ(rig.port.opens, r.opens) << r.name;
        EXPECT_EQ(rig.port.closes, r.closes) << r.name;
        EXPECT_EQ(rig.port.open, r.openAfter) << r.name;
        EXPECT_EQ(rig.Stored("Einstellungen", "Einstellungen"), r.settings) << r.name;
        EXPECT_EQ(rig.Stored("Einstellungen", "Echo"), r.echo) << r.name;
        EXPECT_EQ(rig.Stored(kDeviceSection, "COM1"), r.com1Device) << r.name;
        if (r.hides) {
            const std::vector<std::string> order = {
                "Einstellungen/Einstellungen", Cp1252("Einstellungen/COM-Anschluß"),
                "Einstellungen/Handshaking", "Einstellungen/Echo"};
            EXPECT_EQ(std::vector<std::string>(rig.store.saved.end() - 4, rig.store.saved.end()),
                      order)
                << r.name;
            PortSettingsForm next(rig.port, rig.store, rig.dialogs, rig.events, rig.devices);
            ASSERT_TRUE(next.Load());
            EXPECT_EQ(next.EchoChoice(), r.echo == "True") << r.name;
        }
    }
}

TEST(PortSettingsForm, ScanReportsTheFreePortsAndLeavesTheLastNumber) {
    struct Row {
        const char *name;
        std::set<std::string> present;
        std::string report;
    } rows[] = {
        {"no port answers", {}, Cp1252("Keine freie COM verfügbar ")},
        {"ports 1 and 3 answer",
         {"/dev/com1", "/dev/com3"},
         Cp1252(" COM 1 verfügbar!\r COM 3 verfügbar!\r")},
    };
    for (const Row &r : rows) {
        Rig rig;
        rig.port.present = {"/dev/com1"};
        ASSERT_TRUE(rig.port.SetPortOpen(true));
        rig.port.present = r.present;
        std::vector<std::string> counter;
        rig.form.Scan([&](bool visible, const std::string &text) {
            counter.push_back(visible ? text : "<hidden>");
        });
        ASSERT_EQ(counter.size(), 65u) << r.name;
        EXPECT_EQ(counter[0], " 1");
        EXPECT_EQ(counter[63], " 64");
        EXPECT_EQ(counter[64], "<hidden>");
        EXPECT_EQ(rig.events.calls, 64);
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u) << r.name;
        EXPECT_EQ(rig.dialogs.boxes[0].text, r.report) << r.name;
        EXPECT_EQ(rig.dialogs.boxes[0].title, "Einstellungen");
        EXPECT_EQ(rig.dialogs.boxes[0].icon, BoxIcon::Information);
        EXPECT_EQ(rig.form.ComStatus(), "COM 64,9600,N,8,1 not active") << r.name;
        EXPECT_EQ(rig.form.ChosenPortNumber(), 0) << r.name; // the lists are untouched
    }
}

} // namespace
} // namespace quandel
