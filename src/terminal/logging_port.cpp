#include "terminal/logging_port.h"

#include "core/number_text.h"

#include <utility>

namespace quandel {

LoggingPort::LoggingPort(SerialPort &inner, std::function<LogTime()> now)
    : inner_(inner), now_(std::move(now)) {}

LoggingPort::~LoggingPort() {
    inner_.SetLostHandler({});
}

void LoggingPort::StartLog(CaptureSink &sink) {
    lossPending_ = false;
    log_.Start(sink);
}

bool LoggingPort::StopLog() {
    NoteLossIfDue();
    lossPending_ = false;
    return log_.Stop();
}

void LoggingPort::NoteInLog(const std::string &text) {
    log_.Note(text, now_());
}

void LoggingPort::TickLog() {
    if (!log_.Active())
        return;
    NoteLossIfDue();
    log_.Tick(now_());
}

PortResult LoggingPort::SetPortOpen(bool open) {
    if (!log_.Active())
        return inner_.SetPortOpen(open);
    const bool wasOpen = inner_.PortOpen();
    if (lossPending_) {
        // Closing or reopening drops what the lost port still held: log it first.
        if (std::string rest = inner_.Input(); !rest.empty())
            log_.Feed(LogDirection::Received, rest, now_());
        NoteLossIfDue();
    }
    PortResult result = inner_.SetPortOpen(open);
    const std::string port = "COM" + NumberText(inner_.CommPort());
    if (open && result && !wasOpen)
        log_.Note(port + "," + inner_.Settings() +
                      " ge\xF6"
                      "ffnet",
                  now_());
    else if (!open && wasOpen)
        log_.Note(port + " geschlossen", now_());
    return result;
}

PortResult LoggingPort::Output(const std::string &bytes) {
    PortResult result = inner_.Output(bytes);
    if (result && log_.Active())
        log_.Feed(LogDirection::Sent, bytes, now_());
    return result;
}

std::string LoggingPort::Input() {
    std::string bytes = inner_.Input();
    if (log_.Active()) {
        if (!bytes.empty())
            log_.Feed(LogDirection::Received, bytes, now_());
        NoteLossIfDue();
    }
    return bytes;
}

void LoggingPort::ClearInBuffer() {
    // What is thrown away was received all the same.
    if (log_.Active())
        if (std::string bytes = inner_.Input(); !bytes.empty())
            log_.Feed(LogDirection::Received, bytes, now_());
    inner_.ClearInBuffer();
    if (log_.Active())
        NoteLossIfDue();
}

void LoggingPort::SetLostHandler(std::function<void()> handler) {
    lostHandler_ = std::move(handler);
    if (lostHandler_)
        inner_.SetLostHandler([this] { OnLost(); });
    else
        inner_.SetLostHandler({});
}

void LoggingPort::OnLost() {
    // Called from inside the real port's reads: the bytes it kept from
    // before the loss are handed out later, so the note waits for them.
    if (log_.Active())
        lossPending_ = true;
    if (lostHandler_)
        lostHandler_();
}

void LoggingPort::NoteLossIfDue() {
    if (!lossPending_ || inner_.PortOpen() || inner_.InBufferCount() > 0)
        return;
    lossPending_ = false;
    log_.Note("Verbindung unterbrochen", now_());
}

} // namespace quandel
