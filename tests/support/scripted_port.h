#pragma once

#include "port/serial_port.h"
#include "support/fakes.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quandel::test {

// A controller in memory on a fake clock: for every Output, `answer` returns
// the chunks it sends back and after how many milliseconds each arrives.
// Waiting for data moves the clock on to the next chunk (or by the whole
// wait when nothing is due), so time-outs cost no real time.
class ScriptedPort final : public SerialPort {
public:
    struct Chunk {
        int afterMs;
        std::string bytes;
    };
    explicit ScriptedPort(FakeClock &clock) : clock_(clock) {}

    std::function<std::vector<Chunk>(const std::string &sent)> answer;
    std::string sent;
    bool open = true;
    int clearedIn = 0, clearedOut = 0;
    // Closes the port (device gone) once this many bytes have been sent.
    std::size_t vanishAfterSent = std::string::npos;

    int CommPort() const override { return 1; }
    PortResult SetCommPort(int) override { return {}; }
    std::string Settings() const override { return "9600,N,8,1"; }
    PortResult SetSettings(const std::string &) override { return {}; }
    int Handshaking() const override { return 0; }
    PortResult SetHandshaking(int) override { return {}; }
    bool PortOpen() const override { return open; }
    PortResult SetPortOpen(bool o) override { return open = o, PortResult::Ok(); }
    PortResult Output(const std::string &bytes) override;
    std::string Input() override;
    int InBufferCount() override;
    void ClearInBuffer() override;
    void ClearOutBuffer() override { ++clearedOut; }
    bool WaitForData(int ms) override;
    void SetLostHandler(std::function<void()>) override {}

private:
    struct Due {
        Clock::TimePoint at;
        std::string bytes;
    };
    FakeClock &clock_;
    std::deque<Due> pending_;
};

} // namespace quandel::test
