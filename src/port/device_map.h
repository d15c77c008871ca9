#pragma once

#include <string>

namespace quandel {

class SettingsStore;

// The device that port number n means on this system: a path stored by the
// user (section "Schnittstellen", key "COM" + n) wins over the default table.
std::string DefaultDeviceFor(int number);
std::string DeviceFor(int number, const SettingsStore &store);
std::string DeviceKey(int number);
inline constexpr const char *kDeviceSection = "Schnittstellen";

} // namespace quandel
