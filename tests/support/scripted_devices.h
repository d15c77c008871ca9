#pragma once

#include "port/serial_devices.h"

#include <vector>

namespace quandel::test {

// A device list that reports what the test put in it.
struct ScriptedDeviceList final : SerialDeviceList {
    std::vector<SerialDeviceInfo> devices;
    mutable int asked = 0; // how often the list was read
    std::vector<SerialDeviceInfo> Present() const override {
        ++asked;
        return devices;
    }
};

} // namespace quandel::test
