#pragma once

#include "core/clock.h"

#include <string>

namespace quandel {

class SerialPort;
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

    // "Com öffnen": failures are not reported; the status line tells.
    void Open();
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
    // The configuration changed (settings dialog): whatever was lost is no
    // longer the port to wait for.
    void StopWatching();

    bool PanelShowsConnected() const { return panelConnected_; }

private:
    void ConnectTimerStart();
    void ConnectTimerStop();
    void ShowStatus(const std::string &text, bool connected);
    std::string WaitingText() const;

    SerialPort &port_;
    UserDialogs &dialogs_;
    const Clock &clock_;
    ConnectionView &view_;
    Clock::TimePoint connectStart_;
    bool panelConnected_ = false;
    bool watching_ = false;
};

// (now - start) as a time of day "hh:nn:ss"; wraps after 24 hours.
std::string ElapsedText(Clock::Duration elapsed);

} // namespace quandel
