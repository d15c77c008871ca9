#pragma once

#include "port/device_choices.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quandel {

class EventPump;
class SerialDeviceList;
class SerialPort;
class SettingsStore;
class UserDialogs;

// The lists of the port settings dialog, in the order they are filled.
enum class PortList { Port, Speed, DataBits, Parity, StopBits };
inline constexpr int kPortListCount = 5;
inline constexpr int kScanPortCount = 64;

// Entries of one list, in order ("Com1" … "Com64", "110" … "256000", …).
const std::vector<std::string> &PortListEntries(PortList list);

// Handshaking options "Kein", "Xon/Xoff", "RTS", "Xon/RTS": index = mode.
inline constexpr int kFlowOptionCount = 4;

// The logic of the port settings dialog over the live port: the load that
// applies the stored configuration, the lists and options the dialog shows,
// OK with its steps and the port scan. The widget only shows this state
// and forwards the user's choices.
class PortSettingsForm {
public:
    PortSettingsForm(SerialPort &port, SettingsStore &store, UserDialogs &dialogs,
                     EventPump &events, const SerialDeviceList &devices);

    // Applies the stored section "Einstellungen" to the port and builds the
    // lists from the port. A value the port refuses is reported; the rest
    // of the load is skipped and the lists stay empty (false).
    bool Load();
    // Fills the lists and selects what the port's settings text and the
    // stored echo text say. Fields that fit no entry stay unselected.
    void ListsBuild(const std::string &storedEcho);
    bool ListsBuilt() const { return listsBuilt_; }

    // Selected entry of a list, -1 when none. Selecting -1 clears it.
    int Selected(PortList list) const { return selected_[static_cast<int>(list)]; }
    void Select(PortList list, int index);

    bool EchoChoice() const { return echoChoice_; }
    void SelectEcho(bool ein) { echoChoice_ = ein; }
    int FlowChoice() const { return flowChoice_; }
    // An index outside the four options changes nothing.
    void SelectFlow(int index) {
        if (index >= 0 && index < kFlowOptionCount)
            flowChoice_ = index;
    }

    // The port number the port list shows (its entry number), 0 when none.
    int ChosenPortNumber() const;
    // The device that port number n means, with the user's unsaved edit.
    std::string DeviceText(int number) const;
    // Another device path for port number n; stored by OK. Empty means the
    // default device of the number.
    void EditDevice(int number, const std::string &path);
    bool HasDeviceEdits() const { return !deviceEdits_.empty(); }

    // Asks the system again which serial devices are present.
    void RefreshDevices();
    // The device list for port number n: the present devices, the one its
    // device (with the unsaved edit) means selected.
    DeviceChoices DeviceChoicesFor(int number) const;
    // The user picked entry `index` of that list: its device, under its
    // stable name, becomes the edit of number n. A remark changes nothing.
    void ChooseDevice(int number, int index);

    // "&OK": applies the choices to the port and stores them. True when the
    // dialog may hide; false after a refusal was reported (it stays open).
    bool Ok();

    // "&Test": tries every port number and reports which can be opened.
    // `counter` shows the scan counter: (true, " 1") … during the scan,
    // (false, "") when it ends.
    void Scan(const std::function<void(bool visible, const std::string &text)> &counter);
    bool Scanning() const { return scanning_; }

    // The port status text of the status line.
    std::string ComStatus() const;

private:
    void ApplyListSelections(const std::string &settings);
    std::string ChosenField(PortList list, const std::string &current) const;
    bool StoreDeviceEdits(std::map<int, std::string> &previous);
    void RestoreDevices(const std::map<int, std::string> &previous);
    void Report(const std::string &failure);

    SerialPort &port_;
    SettingsStore &store_;
    UserDialogs &dialogs_;
    EventPump &events_;
    const SerialDeviceList &devices_;
    std::vector<SerialDeviceInfo> present_;
    std::array<int, kPortListCount> selected_;
    bool listsBuilt_ = false;
    bool echoChoice_ = false;
    int flowChoice_ = 0;
    bool scanning_ = false;
    std::map<int, std::string> deviceEdits_;
};

} // namespace quandel
