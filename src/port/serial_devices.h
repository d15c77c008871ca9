#pragma once

#include <string>
#include <vector>

namespace quandel {

// One serial device the system offers. Texts are Windows-1252 like every
// other text; an unknown field is empty.
struct SerialDeviceInfo {
    std::string path;         // "/dev/ttyUSB0" ("COM3" under Windows)
    std::string stablePath;   // "/dev/serial/by-id/usb-…", empty when there is none
    std::string description;  // "FT232R USB UART"
    std::string manufacturer; // "FTDI"
    std::string serialNumber; // "A10KZ3PQ"
};

// The serial devices present right now. The desktop program asks the
// system; tests hand in a scripted list.
class SerialDeviceList {
public:
    virtual ~SerialDeviceList() = default;
    virtual std::vector<SerialDeviceInfo> Present() const = 0;
};

// Where udev puts the names that stay the same when an adapter is plugged
// in again: they carry its maker, model and serial number.
inline constexpr const char *kByIdFolder = "/dev/serial/by-id";

// The name in `folder` whose link leads to `devicePath` (both resolved to
// their real files), empty when none does or the folder is missing. When
// several do, the first by name.
std::string StableNameFor(const std::string &devicePath, const std::string &folder = kByIdFolder);

// The name a device is best stored under: its stable name when it has one.
inline const std::string &StoredName(const SerialDeviceInfo &device) {
    return device.stablePath.empty() ? device.path : device.stablePath;
}

// True when the path leads to an existing file (following links).
bool DeviceExists(const std::string &path);

// True when both paths mean the same device: the same text, or both lead to
// the same existing file.
bool SameDevice(const std::string &a, const std::string &b);

} // namespace quandel
