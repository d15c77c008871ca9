#include "port/device_map.h"

#include "core/number_text.h"
#include "core/settings_store.h"

namespace quandel {

std::string DefaultDeviceFor(int number) {
#ifdef _WIN32
    return "COM" + DecimalText(number);
#else
    if (number >= 1 && number <= 16)
        return "/dev/ttyUSB" + DecimalText(number - 1);
    if (number >= 17 && number <= 32)
        return "/dev/ttyACM" + DecimalText(number - 17);
    if (number >= 33 && number <= 64)
        return "/dev/ttyS" + DecimalText(number - 33);
    return {};
#endif
}

std::string DeviceKey(int number) {
    return "COM" + DecimalText(number);
}

std::string DeviceFor(int number, const SettingsStore &store) {
    const std::string stored = store.Get(kAppTitle, kDeviceSection, DeviceKey(number), "");
    return stored.empty() ? DefaultDeviceFor(number) : stored;
}

} // namespace quandel
