#pragma once

#include "core/clock.h"
#include "port/serial_port.h"

#include <string>

namespace quandel {

class UserDialogs;

// What the connection shows: the "Status", "Meldung" and "ConnectTime" panels
// of the status bar and the connect-time timer. The main window implements it.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    virtual void ShowPortStatus(const std::string &text, bool connectedIcon) = 0;
    virtual void ShowConnectTime(const std::string &text) = 0;
    virtual void ShowMessage(const std::string &text) = 0;
    virtual void SetConnectTimerRunning(bool running) = 0;
    // While the device is lost, the window calls ReconnectTick periodically.
    virtual void SetReconnectWatch(bool watching) = 0;
};

// Opening and closing the port, the status line and the connect time, and
// getting the port back after its device went away.
class PortConnection {
public:
    PortConnection(SerialPort &port, UserDialogs &dialogs, const Clock &clock,
                   ConnectionView &view);

    // Who asks for the port: at start-up a failure is silent; the user gets
    // a box when the system refused the device for a reason they can mend.
    enum class OpenBy { Startup, User };
    // "Com öffnen": the status line tells how it went; the "Meldung" panel
    // says why a refused device did not open.
    void Open(OpenBy by = OpenBy::User);
    // "Com Schließen": a failure is reported with the port's own text.
    void Close();
    // A click on the "Status" panel: closes when it shows the connected icon.
    void TogglePanel();
    void StatusRefresh();

    // Start-up: the connect time counts from now.
    void ResetConnectStart() { connectStart_ = clock_.Now(); }
    // The transfers start the connect-time display again when they end.
    void ResumeConnectTimer();
    // Connect-time timer tick: "hh:nn:ss " since the last open.
    void ConnectTimeTick();

    // The device vanished while open; the port has been closed already.
    void OnPortLost();
    // Periodic attempt to reopen a lost port; no message when it fails.
    void ReconnectTick();
    bool WatchingForDevice() const { return watching_; }
    // The watch ends: the port is open again, the user closed it, or the
    // configuration now means another device. The waiting text goes.
    void StopWatching();
    // The settings dialog closed, the watch paused while it was shown (it
    // opens, closes and scans ports itself). `samePort`: the port number and
    // its device are what they were before.
    void AfterSettingsDialog(bool samePort);
    // The watch timer stands still (the dialog), the watch itself goes on.
    void PauseWatch();

    bool PanelShowsConnected() const { return panelConnected_; }

private:
    void ConnectTimerStart();
    void ConnectTimerStop();
    void ShowStatus(const std::string &text, bool connected);
    void ShowRefusal(const PortResult &result, OpenBy by);
    std::string WaitingText() const;

    SerialPort &port_;
    UserDialogs &dialogs_;
    const Clock &clock_;
    ConnectionView &view_;
    Clock::TimePoint connectStart_;
    bool panelConnected_ = false;
    bool watching_ = false;
    bool refusalShown_ = false; // the "Meldung" panel explains a refused open
};

// (now - start) as a time of day "hh:nn:ss"; wraps after 24 hours.
std::string ElapsedText(Clock::Duration elapsed);

} // namespace quandel
