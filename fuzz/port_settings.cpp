// The port settings dialog's logic over stored and reported settings texts:
// ParseLineSettings, PortSettingsForm::Load / ListsBuild and OK.
//
// The input is split at line feeds: the stored "Einstellungen" text, the
// stored port number, the stored handshaking, the stored echo, a settings
// text as a port might report it, and bytes that stand for the user's
// choices in the dialog.
//
// Invariants:
//  - no crash, no undefined behaviour;
//  - ParseLineSettings either refuses with a non-empty text or accepts, and
//    its canonical text of what it accepted reads back to the same settings;
//  - after ListsBuild over any reported text, any port number and any
//    handshaking, every list's selection is inside the list or -1, the port
//    list shows the number when it is 1..64 (else nothing), the handshaking
//    option is the port's mode when it is 0..3 (else the dialog's default),
//    and echo is on exactly for "True";
//  - over a canonical text (what the parser makes) every list shows the
//    text's field when the list holds it, and nothing else;
//  - Load either applies the stored texts and builds the lists, showing no
//    box, or reports exactly one refusal with a non-empty text and builds
//    nothing;
//  - OK right after a successful Load succeeds and leaves the port's settings
//    as they were (what is shown is what is applied);
//  - OK after any choices either fails with exactly one box, or stores
//    exactly what the port then has, a settings text the parser accepts.

#include "port/port_settings.h"

#include "core/number_text.h"
#include "dialogs/port_settings_form.h"
#include "fuzz_support.h"
#include "port/port_status.h"
#include "port/serial_port.h"
#include "support/device_port.h"
#include "support/fakes.h"
#include "support/scripted_devices.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace quandel;

namespace {

std::vector<std::string> SplitLines(const std::string &text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '\n')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    fields.resize(std::max<std::size_t>(fields.size(), 6));
    return fields;
}

void CheckSelections(const PortSettingsForm &form) {
    for (PortList list : {PortList::Port, PortList::Speed, PortList::DataBits, PortList::Parity,
                          PortList::StopBits}) {
        const int s = form.Selected(list);
        FUZZ_CHECK(s >= -1 && s < int(PortListEntries(list).size()));
    }
    FUZZ_CHECK(form.FlowChoice() >= 0 && form.FlowChoice() < kFlowOptionCount);
}

int IndexOf(PortList list, const std::string &text) {
    const auto &entries = PortListEntries(list);
    const auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : int(it - entries.begin());
}

void CheckParse(const std::string &text) {
    const LineSettingsParse parsed = ParseLineSettings(text);
    if (!parsed.settings) {
        FUZZ_CHECK(!parsed.error.empty());
        return;
    }
    const std::string canonical = LineSettingsText(*parsed.settings);
    const LineSettingsParse again = ParseLineSettings(canonical);
    FUZZ_CHECK(again.settings);
    FUZZ_CHECK(LineSettingsText(*again.settings) == canonical);
}

// The lists over a canonical settings text show its fields.
void CheckCanonicalSelections(const PortSettingsForm &form, const std::string &canonical) {
    const LineSettings s = *ParseLineSettings(canonical).settings;
    FUZZ_CHECK(form.Selected(PortList::Speed) == IndexOf(PortList::Speed, DecimalText(s.baud)));
    FUZZ_CHECK(form.Selected(PortList::Parity) == int(s.parity == Parity::Even   ? 0
                                                      : s.parity == Parity::Odd  ? 1
                                                      : s.parity == Parity::None ? 2
                                                      : s.parity == Parity::Mark ? 3
                                                                                 : 4));
    FUZZ_CHECK(form.Selected(PortList::DataBits) ==
               IndexOf(PortList::DataBits, DecimalText(s.dataBits)));
    FUZZ_CHECK(form.Selected(PortList::StopBits) == int(s.stopBits));
}

// Any port text, number and mode, as a port of another kind might report them.
void CheckReported(const std::vector<std::string> &f) {
    test::FakeSerialPort port;
    port.settings = f[4];
    port.number = ParseStoredNumber(f[1]).value_or(int(f[1].size()) - 3);
    port.handshaking = ParseStoredNumber(f[2]).value_or(int(f[2].size()) - 2);
    test::MemorySettingsStore store;
    fuzz::RecordingDialogs dialogs;
    test::CountingEventPump events;
    test::ScriptedDeviceList devices;
    PortSettingsForm form(port, store, dialogs, events, devices);
    form.ListsBuild(f[3]);
    CheckSelections(form);
    FUZZ_CHECK(form.ListsBuilt());
    FUZZ_CHECK(form.Selected(PortList::Port) ==
               (port.number >= 1 && port.number <= kScanPortCount ? port.number - 1 : -1));
    FUZZ_CHECK(
        form.FlowChoice() ==
        (port.handshaking >= 0 && port.handshaking < kFlowOptionCount ? port.handshaking : 0));
    FUZZ_CHECK(form.EchoChoice() == (f[3] == "True"));
    FUZZ_CHECK(!ComStatus(port).empty());
    FUZZ_CHECK(dialogs.boxes.empty());
}

void CheckOkStores(bool ok, std::size_t boxesBefore, const fuzz::RecordingDialogs &dialogs,
                   const test::MemorySettingsStore &store, const SerialPort &port) {
    if (!ok) {
        FUZZ_CHECK(dialogs.boxes.size() == boxesBefore + 1);
        FUZZ_CHECK(!dialogs.boxes.back().text.empty());
        return;
    }
    FUZZ_CHECK(dialogs.boxes.size() == boxesBefore);
    const std::string stored = store.Get(kAppTitle, "Einstellungen", "Einstellungen", "?");
    FUZZ_CHECK(stored == port.Settings());
    FUZZ_CHECK(ParseLineSettings(stored).settings);
    FUZZ_CHECK(store.Get(kAppTitle, "Einstellungen", "Handshaking", "?") ==
               DecimalText(port.Handshaking()));
}

void CheckStored(const std::vector<std::string> &f) {
    test::MemorySettingsStore store;
    const char *keys[] = {"Einstellungen", "COM-Anschlu\xDF", "Handshaking", "Echo"};
    for (int i = 0; i < 4; ++i)
        store.Save(kAppTitle, "Einstellungen", keys[i], f[std::size_t(i)]);
    // Refuses what the settings parser refuses and keeps the canonical text,
    // like the real port; it stays closed.
    test::DevicePort port{store};
    fuzz::RecordingDialogs dialogs;
    test::CountingEventPump events;
    test::ScriptedDeviceList devices;
    PortSettingsForm form(port, store, dialogs, events, devices);
    const bool loaded = form.Load();
    CheckSelections(form);
    if (!loaded) {
        FUZZ_CHECK(!form.ListsBuilt());
        FUZZ_CHECK(dialogs.boxes.size() == 1 && !dialogs.boxes[0].text.empty());
        return;
    }
    FUZZ_CHECK(form.ListsBuilt());
    FUZZ_CHECK(dialogs.boxes.empty());
    FUZZ_CHECK(form.EchoChoice() == (f[3] == "True"));
    CheckCanonicalSelections(form, port.Settings());

    const std::string before = port.Settings();
    const bool ok = form.Ok();
    FUZZ_CHECK(ok);
    FUZZ_CHECK(port.Settings() == before);
    CheckOkStores(ok, 0, dialogs, store, port);

    // The user's choices: pairs of (what, which).
    const std::string &choices = f[5];
    for (std::size_t i = 0; i + 1 < choices.size(); i += 2) {
        const int which = static_cast<signed char>(choices[i + 1]);
        switch (static_cast<unsigned char>(choices[i]) % 8) {
        case 5:
            form.SelectFlow(which);
            break;
        case 6:
            form.SelectEcho(which & 1);
            break;
        case 7:
            form.EditDevice(which, choices.substr(i + 2, 4));
            break;
        default:
            form.Select(PortList(static_cast<unsigned char>(choices[i]) % 8), which);
            break;
        }
        CheckSelections(form);
    }
    const std::size_t boxes = dialogs.boxes.size();
    CheckOkStores(form.Ok(), boxes, dialogs, store, port);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::vector<std::string> f =
        SplitLines(std::string(reinterpret_cast<const char *>(data), size));
    CheckParse(f[0]);
    CheckParse(f[4]);
    CheckReported(f);
    CheckStored(f);
    return 0;
}
