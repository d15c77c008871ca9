#include "dialogs/port_settings_form.h"

#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/user_dialogs.h"
#include "port/device_map.h"
#include "port/port_status.h"
#include "port/serial_devices.h"
#include "port/serial_port.h"

#include <algorithm>
#include <cctype>

namespace quandel {

namespace {

constexpr const char *kSection = "Einstellungen";
constexpr const char *kSettingsKey = "Einstellungen";
constexpr const char *kHandshakingKey = "Handshaking";
constexpr const char *kEchoKey = "Echo";
const std::string &PortKey() {
    static const std::string key = Cp1252("COM-Anschluß");
    return key;
}

std::vector<std::string> PortEntries() {
    std::vector<std::string> entries;
    for (int k = 1; k <= kScanPortCount; ++k)
        entries.push_back("Com" + DecimalText(k));
    return entries;
}

int IndexOf(PortList list, const std::string &text) {
    const auto &entries = PortListEntries(list);
    const auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : int(it - entries.begin());
}

std::string Trimmed(const std::string &text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The comma-separated fields of a settings text, at most four.
std::vector<std::string> Fields(const std::string &text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    return fields;
}

PortResult StoredNumberTo(const std::string &text, PortResult (SerialPort::*set)(int),
                          SerialPort &port, const char *what) {
    const auto value = ParseStoredNumber(text);
    if (!value)
        return PortResult::Fail(Cp1252("Ungültiger gespeicherter Wert für ") + what + ": \"" +
                                text + "\"");
    return (port.*set)(*value);
}

} // namespace

const std::vector<std::string> &PortListEntries(PortList list) {
    static const std::vector<std::string> lists[kPortListCount] = {
        PortEntries(),
        {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "28800", "38400",
         "56000", "57600", "115200", "128000", "256000"},
        {"4", "5", "6", "7", "8"},
        {"Even", "Odd", "None", "Mark", "Space"},
        {"1", "1.5", "2"},
    };
    return lists[static_cast<int>(list)];
}

PortSettingsForm::PortSettingsForm(SerialPort &port, SettingsStore &store, UserDialogs &dialogs,
                                   EventPump &events, const SerialDeviceList &devices)
    : port_(port), store_(store), dialogs_(dialogs), events_(events), devices_(devices) {
    // Echo off and no handshaking until the load's own selections: a load
    // cut short by a refused stored value leaves these, and OK then applies
    // them, so it never switches the port to a handshaking nobody chose.
    selected_.fill(-1);
}

void PortSettingsForm::Select(PortList list, int index) {
    const int count = int(PortListEntries(list).size());
    selected_[static_cast<int>(list)] = index >= 0 && index < count ? index : -1;
}

void PortSettingsForm::Report(const std::string &failure) {
    dialogs_.MessageBox(failure, kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
}

bool PortSettingsForm::Load() {
    listsBuilt_ = false;
    const std::string settings = store_.Get(kAppTitle, kSection, kSettingsKey, "");
    const std::string number = store_.Get(kAppTitle, kSection, PortKey(), "");
    const std::string handshaking = store_.Get(kAppTitle, kSection, kHandshakingKey, "");
    const std::string echo = store_.Get(kAppTitle, kSection, kEchoKey, "");

    if (!settings.empty()) {
        if (const PortResult r = port_.SetSettings(settings); !r) {
            Report(r.error);
            return false;
        }
    }
    PortResult outcome; // the last refusal counts
    if (!number.empty()) {
        const auto value = ParseStoredNumber(number);
        // The same number again needs nothing; the port may be open (a
        // showing after Abbrechen), and an open port takes no new number.
        if (!value || *value != port_.CommPort()) {
            const bool wasOpen = value && port_.PortOpen();
            if (wasOpen)
                (void)port_.SetPortOpen(false);
            if (PortResult r = StoredNumberTo(number, &SerialPort::SetCommPort, port_,
                                              "die Schnittstellennummer");
                !r)
                outcome = r;
            if (wasOpen)
                (void)port_.SetPortOpen(true); // as at start-up: the status line tells
        }
    }
    if (!handshaking.empty()) {
        if (PortResult r =
                StoredNumberTo(handshaking, &SerialPort::SetHandshaking, port_, "das Handshaking");
            !r)
            outcome = r;
    }
    if (!outcome) {
        Report(outcome.error);
        return false;
    }
    ListsBuild(echo);
    return true;
}

void PortSettingsForm::ListsBuild(const std::string &storedEcho) {
    listsBuilt_ = true;
    selected_.fill(-1);
    ApplyListSelections(port_.Settings());
    const int number = port_.CommPort();
    Select(PortList::Port, number >= 1 && number <= kScanPortCount ? number - 1 : -1);
    SelectFlow(port_.Handshaking()); // a mode outside 0..3 leaves the option as it is
    SelectEcho(storedEcho == "True");
}

void PortSettingsForm::ApplyListSelections(const std::string &s) {
    // Fixed offsets from the end: a one-letter parity and a one-digit data
    // bit field; a "." means the three-character stop bits "1.5". A text of
    // another shape selects whatever its offsets happen to match.
    const long length = long(s.size());
    const long x = s.find('.') != std::string::npos ? 2 : 0;
    const auto charAt = [&](long position) { // counted from 1
        return position >= 1 && position <= length ? std::string(1, s[position - 1])
                                                   : std::string();
    };
    const long speedLength = length - 6 - x;
    Select(PortList::Speed,
           speedLength > 0 ? IndexOf(PortList::Speed, s.substr(0, speedLength)) : -1);

    const std::string parity = charAt(length - 4 - x);
    const auto &parities = PortListEntries(PortList::Parity);
    for (std::size_t i = 0; i < parities.size() && !parity.empty(); ++i)
        if (std::tolower(static_cast<unsigned char>(parity[0])) ==
            std::tolower(static_cast<unsigned char>(parities[i][0])))
            Select(PortList::Parity, int(i));

    Select(PortList::DataBits, IndexOf(PortList::DataBits, charAt(length - 2 - x)));
    Select(PortList::StopBits,
           length >= x + 1 ? IndexOf(PortList::StopBits, s.substr(length - x - 1)) : -1);
}

int PortSettingsForm::ChosenPortNumber() const {
    return Selected(PortList::Port) + 1;
}

std::string PortSettingsForm::DeviceText(int number) const {
    const auto it = deviceEdits_.find(number);
    return it != deviceEdits_.end() ? it->second : DeviceFor(number, store_);
}

void PortSettingsForm::EditDevice(int number, const std::string &path) {
    const std::string stored = store_.Get(kAppTitle, kDeviceSection, DeviceKey(number), "");
    // Back to what is in effect: nothing to store.
    if (path == DeviceFor(number, store_) || (path.empty() && stored.empty()))
        deviceEdits_.erase(number);
    else
        deviceEdits_[number] = path;
}

void PortSettingsForm::RefreshDevices() {
    present_ = devices_.Present();
}

DeviceChoices PortSettingsForm::DeviceChoicesFor(int number) const {
    const std::string device = DeviceText(number);
    // An emptied field means the number's default device.
    return BuildDeviceChoices(present_, device.empty() ? DefaultDeviceFor(number) : device);
}

void PortSettingsForm::ChooseDevice(int number, int index) {
    if (number < 1)
        return;
    const DeviceChoices choices = DeviceChoicesFor(number);
    if (index < 0 || index >= int(choices.entries.size()))
        return;
    if (const std::string &name = choices.entries[std::size_t(index)].name; !name.empty())
        EditDevice(number, name);
}

// Stores the edited device paths; `previous` receives the stored values
// they replaced. True when the device of the chosen number changed.
bool PortSettingsForm::StoreDeviceEdits(std::map<int, std::string> &previous) {
    const int chosen = ChosenPortNumber();
    const std::string before = DeviceFor(chosen, store_);
    for (const auto &[number, path] : deviceEdits_) {
        previous[number] = store_.Get(kAppTitle, kDeviceSection, DeviceKey(number), "");
        store_.Save(kAppTitle, kDeviceSection, DeviceKey(number), path);
    }
    return DeviceFor(chosen, store_) != before;
}

void PortSettingsForm::RestoreDevices(const std::map<int, std::string> &previous) {
    for (const auto &[number, path] : previous)
        store_.Save(kAppTitle, kDeviceSection, DeviceKey(number), path);
}

// The text of one field of the settings text that OK sets. A list without
// a selection (the port reported something the list does not offer) keeps
// the port's own field, so OK never turns a working setting into a refused one.
std::string PortSettingsForm::ChosenField(PortList list, const std::string &current) const {
    const int index = Selected(list);
    if (index >= 0) {
        const std::string &entry = PortListEntries(list)[std::size_t(index)];
        return list == PortList::Parity ? entry.substr(0, 1) : Trimmed(entry);
    }
    const auto fields = Fields(current);
    const std::size_t position = list == PortList::Speed      ? 0
                                 : list == PortList::Parity   ? 1
                                 : list == PortList::DataBits ? 2
                                                              : 3;
    return fields.size() == 4 ? Trimmed(fields[position]) : std::string();
}

bool PortSettingsForm::Ok() {
    const int oldPort = port_.CommPort();
    const int newPort = Selected(PortList::Port) >= 0 ? ChosenPortNumber() : oldPort;

    std::map<int, std::string> previousDevices;
    const bool deviceChanged = StoreDeviceEdits(previousDevices);
    if (newPort != oldPort || deviceChanged) {
        PortResult outcome; // the last failure counts
        bool wasOpen = false;
        if (port_.PortOpen()) {
            if (PortResult r = port_.SetPortOpen(false); !r)
                outcome = r;
            wasOpen = true;
        }
        if (PortResult r = port_.SetCommPort(newPort); !r)
            outcome = r;
        if (outcome && wasOpen) {
            if (PortResult r = port_.SetPortOpen(true); !r)
                outcome = r;
        }
        if (!outcome) {
            Report(outcome.error);
            (void)port_.SetCommPort(oldPort);
            RestoreDevices(previousDevices);
            return false;
        }
    }
    deviceEdits_.clear();

    const std::string current = port_.Settings();
    const std::string settings =
        ChosenField(PortList::Speed, current) + "," + ChosenField(PortList::Parity, current) + "," +
        ChosenField(PortList::DataBits, current) + "," + ChosenField(PortList::StopBits, current);
    if (PortResult r = port_.SetSettings(settings); !r) {
        Report(r.error);
        return false;
    }
    if (PortResult r = port_.SetHandshaking(flowChoice_); !r) {
        Report(r.error);
        return false;
    }
    store_.Save(kAppTitle, kSection, kSettingsKey, port_.Settings());
    store_.Save(kAppTitle, kSection, PortKey(), DecimalText(port_.CommPort()));
    store_.Save(kAppTitle, kSection, kHandshakingKey, DecimalText(port_.Handshaking()));
    store_.Save(kAppTitle, kSection, kEchoKey, echoChoice_ ? "True" : "False");
    return true;
}

void PortSettingsForm::Scan(
    const std::function<void(bool visible, const std::string &text)> &counter) {
    scanning_ = true;
    if (port_.PortOpen())
        (void)port_.SetPortOpen(false);
    std::array<bool, kScanPortCount + 1> free{};
    for (int n = 1; n <= kScanPortCount; ++n) {
        free[std::size_t(n)] = true;
        counter(true, NumberText(n));
        events_.ProcessEvents();
        // Each step runs even when the one before failed.
        if (!port_.SetCommPort(n))
            free[std::size_t(n)] = false;
        if (!port_.SetPortOpen(true))
            free[std::size_t(n)] = false;
        if (!port_.SetPortOpen(false))
            free[std::size_t(n)] = false;
    }
    counter(false, "");
    scanning_ = false;

    std::string report;
    for (int n = 1; n <= kScanPortCount; ++n)
        if (free[std::size_t(n)])
            report += " COM " + DecimalText(n) + Cp1252(" verfügbar!") + "\r";
    if (report.empty())
        report = Cp1252("Keine freie COM verfügbar ");
    dialogs_.MessageBox(report, "Einstellungen", BoxIcon::Information, BoxButtons::Ok);
}

std::string PortSettingsForm::ComStatus() const {
    return quandel::ComStatus(port_);
}

} // namespace quandel
