#pragma once

#include "port/serial_devices.h"

#include <string>
#include <vector>

namespace quandel {

// One entry of the device list in the port settings dialog.
struct DeviceChoice {
    std::string text; // as the list shows it
    std::string name; // what choosing it stores; empty for a mere remark
};

struct DeviceChoices {
    std::vector<DeviceChoice> entries;
    int selected = -1; // the entry that means the current device, -1 for none
};

// The list of the dialog for a port number whose device is `current`:
// the present devices in the natural order of their paths
// ("ttyUSB2" before "ttyUSB10"), each under its stable name when it has
// one. A current device that no entry means comes first, marked
// "nicht vorhanden" when it is absent. With no device present, a remark
// says so.
DeviceChoices BuildDeviceChoices(std::vector<SerialDeviceInfo> present, const std::string &current);

// "/dev/serial/by-id/usb-FTDI_…  (ttyUSB0, FT232R USB UART, FTDI)". With
// `withSerial` (another device has the same description) the serial number
// follows, so the two can be told apart by more than their paths.
std::string DeviceEntryText(const SerialDeviceInfo &device, bool withSerial);

// Compares runs of digits by their value: "ttyUSB2" < "ttyUSB10".
bool NaturalLess(const std::string &a, const std::string &b);

} // namespace quandel
