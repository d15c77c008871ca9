#pragma once

#include "port/serial_port.h"
#include "terminal/session_log.h"

#include <functional>
#include <string>

namespace quandel {

// The port as the whole program uses it: every call goes to the real port,
// and while the session log runs, what Output sends and Input hands out is
// written to it. The main window puts it in front of the port once, so the
// terminal keys, the downloads and the read-out all pass through here.
//
// Opening and closing the port and its loss are noted in the log. The loss
// note waits until the bytes that arrived before the loss have been taken.
class LoggingPort final : public SerialPort {
public:
    LoggingPort(SerialPort &inner, std::function<LogTime()> now);
    ~LoggingPort() override;

    void StartLog(CaptureSink &sink);
    // Writes what is pending; false when a write failed in the session.
    bool StopLog();
    bool LogActive() const { return log_.Active(); }
    bool LogFailed() const { return log_.Failed(); }
    void NoteInLog(const std::string &text);
    // Writes a partial line after the pause, and a loss note that is due.
    void TickLog();

    int CommPort() const override { return inner_.CommPort(); }
    PortResult SetCommPort(int number) override { return inner_.SetCommPort(number); }
    std::string Settings() const override { return inner_.Settings(); }
    PortResult SetSettings(const std::string &text) override { return inner_.SetSettings(text); }
    int Handshaking() const override { return inner_.Handshaking(); }
    PortResult SetHandshaking(int mode) override { return inner_.SetHandshaking(mode); }
    bool PortOpen() const override { return inner_.PortOpen(); }
    PortResult SetPortOpen(bool open) override;
    PortResult Output(const std::string &bytes) override;
    std::string Input() override;
    int InBufferCount() override { return inner_.InBufferCount(); }
    void ClearInBuffer() override;
    void ClearOutBuffer() override { inner_.ClearOutBuffer(); }
    bool WaitForData(int ms) override { return inner_.WaitForData(ms); }
    void SetLostHandler(std::function<void()> handler) override;

private:
    void OnLost();
    // Notes the loss once the bytes that came before it are logged.
    void NoteLossIfDue();

    SerialPort &inner_;
    std::function<LogTime()> now_;
    std::function<void()> lostHandler_;
    SessionLog log_;
    bool lossPending_ = false;
};

} // namespace quandel
