#include "port/port_connection.h"

#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/user_dialogs.h"
#include "port/port_status.h"
#include "port/serial_port.h"

#include <cstdio>

namespace quandel {

std::string ElapsedText(Clock::Duration elapsed) {
    using namespace std::chrono;
    long long secs = duration_cast<seconds>(elapsed).count();
    if (secs < 0)
        secs = 0;
    secs %= 24 * 3600;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", secs / 3600, secs / 60 % 60, secs % 60);
    return buf;
}

PortConnection::PortConnection(SerialPort &port, UserDialogs &dialogs, const Clock &clock,
                               ConnectionView &view)
    : port_(port), dialogs_(dialogs), clock_(clock), view_(view), connectStart_(clock.Now()) {}

void PortConnection::ShowStatus(const std::string &text, bool connected) {
    panelConnected_ = connected;
    view_.ShowPortStatus(text, connected);
}

void PortConnection::StatusRefresh() {
    ShowStatus(ComStatus(port_), port_.PortOpen());
    // A transfer that ends empties the message panel; while the device is
    // missing, the panel keeps saying so.
    if (watching_)
        view_.ShowMessage(WaitingText());
}

std::string PortConnection::WaitingText() const {
    return Cp1252("Verbindung zu COM") + NumberText(port_.CommPort()) +
           Cp1252(" unterbrochen, warte auf das Gerät ...");
}

void PortConnection::ConnectTimerStart() {
    connectStart_ = clock_.Now();
    view_.SetConnectTimerRunning(true);
}

void PortConnection::ResumeConnectTimer() {
    view_.SetConnectTimerRunning(true);
}

void PortConnection::ConnectTimerStop() {
    view_.SetConnectTimerRunning(false);
    view_.ShowConnectTime("");
}

void PortConnection::Open(OpenBy by) {
    const PortResult r = port_.SetPortOpen(true);
    // A failed attempt while the device is away keeps waiting for it.
    if (port_.PortOpen())
        StopWatching();
    StatusRefresh();
    ShowRefusal(r, by);
    ConnectTimerStart();
}

void PortConnection::ShowRefusal(const PortResult &result, OpenBy by) {
    if (result.refusal == OpenRefusal::None) {
        // An explanation from an earlier attempt is no longer true.
        if (refusalShown_ && !watching_)
            view_.ShowMessage("");
        refusalShown_ = false;
        return;
    }
    refusalShown_ = true;
    view_.ShowMessage(result.error.substr(0, result.error.find('\r')));
    if (by == OpenBy::User)
        dialogs_.MessageBox(result.error, kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
}

void PortConnection::Close() {
    StopWatching();
    const PortResult r = port_.SetPortOpen(false);
    if (!r) {
        dialogs_.MessageBox(r.error, kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return;
    }
    ShowStatus("Einstellungen: ", false);
    StatusRefresh();
    ConnectTimerStop();
}

void PortConnection::TogglePanel() {
    if (panelConnected_)
        Close();
    else
        Open();
}

void PortConnection::ConnectTimeTick() {
    view_.ShowConnectTime(ElapsedText(clock_.Now() - connectStart_) + " ");
}

void PortConnection::OnPortLost() {
    StatusRefresh();
    ConnectTimerStop();
    watching_ = true;
    view_.SetReconnectWatch(true);
    view_.ShowMessage(WaitingText());
}

void PortConnection::ReconnectTick() {
    if (!watching_)
        return;
    if (port_.PortOpen() || port_.SetPortOpen(true)) {
        StopWatching();
        StatusRefresh();
        ConnectTimerStart();
        view_.ShowMessage(Cp1252("Verbindung zu COM") + NumberText(port_.CommPort()) +
                          " wiederhergestellt");
    }
}

void PortConnection::StopWatching() {
    if (!watching_)
        return;
    watching_ = false;
    view_.SetReconnectWatch(false);
    view_.ShowMessage("");
}

void PortConnection::PauseWatch() {
    if (watching_)
        view_.SetReconnectWatch(false);
}

void PortConnection::AfterSettingsDialog(bool samePort) {
    if (!watching_)
        return;
    if (port_.PortOpen() || !samePort) {
        StopWatching();
        return;
    }
    view_.SetReconnectWatch(true);
    view_.ShowMessage(WaitingText());
}

} // namespace quandel
