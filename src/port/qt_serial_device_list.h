#pragma once

#include "port/serial_devices.h"

#include <string>
#include <utility>

namespace quandel {

// The serial devices Qt finds on this system, each with its stable name
// from `byIdFolder` when one leads to it.
class QtSerialDeviceList final : public SerialDeviceList {
public:
    explicit QtSerialDeviceList(std::string byIdFolder = kByIdFolder)
        : byIdFolder_(std::move(byIdFolder)) {}
    std::vector<SerialDeviceInfo> Present() const override;

private:
    std::string byIdFolder_;
};

} // namespace quandel
