#pragma once

#include "core/clock.h"
#include "core/event_pump.h"
#include "core/settings_store.h"
#include "port/serial_port.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace quandel::test {

// Time stands still until the test (or a sleeper) moves it.
class FakeClock final : public Clock {
public:
    TimePoint now{};
    TimePoint Now() const override { return now; }
    void SleepFor(Duration d) override { now += d; }
    void Advance(Duration d) { now += d; }
};

class CountingEventPump final : public EventPump {
public:
    int calls = 0;
    void ProcessEvents() override { ++calls; }
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::string Get(const std::string &app, const std::string &section, const std::string &key,
                    const std::string &fallback) const override {
        const auto it = values.find({app, section, key});
        return it == values.end() ? fallback : it->second;
    }
    void Save(const std::string &app, const std::string &section, const std::string &key,
              const std::string &value) override {
        values[{app, section, key}] = value;
    }
};

// A port in memory: what is sent collects in `sent`, what the test puts into
// `incoming` is received. Opening and closing can be made to fail.
class FakeSerialPort final : public SerialPort {
public:
    int number = 1;
    std::string settings = "9600,N,8,1";
    int handshaking = 0;
    bool open = false;
    bool openFails = false;
    PortResult refusal = PortResult::Ok(); // when failing: a refusal to explain
    std::string closeError;                // non-empty: closing fails with this text
    std::string sent, incoming;
    std::function<void()> lost;

    int CommPort() const override { return number; }
    PortResult SetCommPort(int n) override { return number = n, PortResult::Ok(); }
    std::string Settings() const override { return settings; }
    PortResult SetSettings(const std::string &t) override { return settings = t, PortResult::Ok(); }
    int Handshaking() const override { return handshaking; }
    PortResult SetHandshaking(int m) override { return handshaking = m, PortResult::Ok(); }
    bool PortOpen() const override { return open; }
    PortResult SetPortOpen(bool o) override {
        if (o && openFails)
            return refusal ? PortResult::Fail("kann nicht geöffnet werden") : refusal;
        if (!o && !closeError.empty())
            return PortResult::Fail(closeError);
        open = o;
        return PortResult::Ok();
    }
    PortResult Output(const std::string &b) override {
        if (!open)
            return PortResult::Fail("nicht offen");
        sent += b;
        return PortResult::Ok();
    }
    std::string Input() override { return std::exchange(incoming, {}); }
    int InBufferCount() override { return int(incoming.size()); }
    void ClearInBuffer() override { incoming.clear(); }
    void ClearOutBuffer() override {}
    bool WaitForData(int) override { return !incoming.empty(); }
    void SetLostHandler(std::function<void()> h) override { lost = std::move(h); }

    // The device goes away: closed, and the owner told.
    void Vanish() {
        open = false;
        if (lost)
            lost();
    }
};

} // namespace quandel::test
