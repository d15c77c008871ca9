#pragma once

// A serial port that counts the bytes going through it in both directions and
// otherwise passes everything to the real port.

#include "port/serial_port.h"

#include <string>

namespace bench {

class CountingPort final : public quandel::SerialPort {
public:
    explicit CountingPort(quandel::SerialPort &inner) : inner_(inner) {}

    std::string sent;     // every byte handed to Output
    std::string received; // every byte returned by Input

    int CommPort() const override { return inner_.CommPort(); }
    quandel::PortResult SetCommPort(int number) override { return inner_.SetCommPort(number); }
    std::string Settings() const override { return inner_.Settings(); }
    quandel::PortResult SetSettings(const std::string &text) override {
        return inner_.SetSettings(text);
    }
    int Handshaking() const override { return inner_.Handshaking(); }
    quandel::PortResult SetHandshaking(int mode) override { return inner_.SetHandshaking(mode); }
    bool PortOpen() const override { return inner_.PortOpen(); }
    quandel::PortResult SetPortOpen(bool open) override { return inner_.SetPortOpen(open); }
    quandel::PortResult Output(const std::string &bytes) override {
        quandel::PortResult r = inner_.Output(bytes);
        if (r)
            sent += bytes;
        return r;
    }
    std::string Input() override {
        std::string bytes = inner_.Input();
        received += bytes;
        return bytes;
    }
    int InBufferCount() override { return inner_.InBufferCount(); }
    void ClearInBuffer() override { inner_.ClearInBuffer(); }
    void ClearOutBuffer() override { inner_.ClearOutBuffer(); }
    bool WaitForData(int ms) override { return inner_.WaitForData(ms); }
    void SetLostHandler(std::function<void()> handler) override {
        inner_.SetLostHandler(std::move(handler));
    }

private:
    quandel::SerialPort &inner_;
};

} // namespace bench
