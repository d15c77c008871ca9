#pragma once

#include "port/open_failure.h"

#include <functional>
#include <string>

namespace quandel {

// Outcome of a port operation that may fail; `error` is a German text.
struct PortResult {
    bool ok = true;
    std::string error;
    // An open the system refused for a reason the user can mend; `error`
    // then explains it.
    OpenRefusal refusal = OpenRefusal::None;

    static PortResult Ok() { return {}; }
    static PortResult Fail(std::string text) { return {false, std::move(text)}; }
    static PortResult Refused(OpenRefusal why, std::string text) {
        return {false, std::move(text), why};
    }
    explicit operator bool() const { return ok; }
};

// The serial-port service: the operations the program uses, one byte per
// character in both directions. Received data are polled, never notified.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual int CommPort() const = 0;
    virtual PortResult SetCommPort(int number) = 0;

    // "9600,N,8,1": speed, parity letter, data bits, stop bits.
    virtual std::string Settings() const = 0;
    virtual PortResult SetSettings(const std::string &text) = 0;

    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both.
    virtual int Handshaking() const = 0;
    virtual PortResult SetHandshaking(int mode) = 0;

    virtual bool PortOpen() const = 0;
    virtual PortResult SetPortOpen(bool open) = 0;

    // Queues the bytes for sending and returns at once.
    virtual PortResult Output(const std::string &bytes) = 0;
    // Every received byte waiting, removed from the buffer (possibly none).
    // After the device went away, the bytes that had arrived before it did
    // are still handed out (and counted by InBufferCount) until taken.
    virtual std::string Input() = 0;
    virtual int InBufferCount() = 0;
    // InBufferCount := 0 and OutBufferCount := 0: discard the queues.
    virtual void ClearInBuffer() = 0;
    virtual void ClearOutBuffer() = 0;

    // Blocks up to `ms` milliseconds until received data are waiting; wakes
    // the moment a byte arrives. True when data are waiting.
    virtual bool WaitForData(int ms) = 0;

    // Called once when the device went away while open (adapter unplugged,
    // peer hung up). The port is closed by then.
    virtual void SetLostHandler(std::function<void()> handler) = 0;
};

} // namespace quandel
