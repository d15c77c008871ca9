#pragma once

#include "core/settings_store.h"
#include "port/device_map.h"
#include "port/port_settings.h"
#include "port/serial_port.h"

#include <set>
#include <string>

namespace quandel::test {

// A port that behaves like the real one where the dialog relies on it: it
// refuses what the settings parser refuses, takes no new number while open,
// and opens only when the device of its number is present.
struct DevicePort final : SerialPort {
    const SettingsStore &store;
    std::set<std::string> present;
    int number = 1, handshaking = 0, opens = 0, closes = 0;
    std::string settings = "9600,N,8,1";
    bool open = false;
    explicit DevicePort(const SettingsStore &s) : store(s) {}

    int CommPort() const override { return number; }
    PortResult SetCommPort(int n) override {
        if (open)
            return PortResult::Fail("offen");
        return number = n, PortResult::Ok();
    }
    std::string Settings() const override { return settings; }
    PortResult SetSettings(const std::string &t) override {
        const auto parsed = ParseLineSettings(t);
        if (!parsed.settings)
            return PortResult::Fail(parsed.error);
        return settings = LineSettingsText(*parsed.settings), PortResult::Ok();
    }
    int Handshaking() const override { return handshaking; }
    PortResult SetHandshaking(int m) override {
        if (m < 0 || m > 3)
            return PortResult::Fail("Handshaking");
        return handshaking = m, PortResult::Ok();
    }
    bool PortOpen() const override { return open; }
    PortResult SetPortOpen(bool o) override {
        if (o && !open && !present.count(DeviceFor(number, store)))
            return PortResult::Fail("fehlt: " + DeviceFor(number, store));
        if (o && !open)
            ++opens;
        if (!o && open)
            ++closes;
        return open = o, PortResult::Ok();
    }
    PortResult Output(const std::string &) override { return {}; }
    std::string Input() override { return {}; }
    int InBufferCount() override { return 0; }
    void ClearInBuffer() override {}
    void ClearOutBuffer() override {}
    bool WaitForData(int) override { return false; }
    void SetLostHandler(std::function<void()>) override {}
};

} // namespace quandel::test
