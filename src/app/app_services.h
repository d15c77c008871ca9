#pragma once

namespace quandel {

class Clock;
class EventPump;
class SerialDeviceList;
class SerialPort;
class SettingsStore;
class UserDialogs;

// The outside world as the main window sees it. main() hands in the real
// implementations; tests hand in temporary settings and scripted dialogs.
struct AppServices {
    SettingsStore &settings;
    UserDialogs &dialogs;
    SerialPort &port;
    EventPump &events;
    Clock &clock;
    const SerialDeviceList &devices; // the port dialog lists them
};

} // namespace quandel
