#include "port/qt_serial_device_list.h"

#include "app/cp1252_codec.h"

#include <QSerialPortInfo>

namespace quandel {

std::vector<SerialDeviceInfo> QtSerialDeviceList::Present() const {
    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo device;
#ifdef Q_OS_WIN
        device.path = ToCp1252(port.portName()); // "COM3", as the port numbers mean
#else
        device.path = ToCp1252(port.systemLocation());
#endif
        if (device.path.empty())
            continue;
        device.stablePath = StableNameFor(device.path, byIdFolder_);
        device.description = ToCp1252(port.description().trimmed());
        device.manufacturer = ToCp1252(port.manufacturer().trimmed());
        device.serialNumber = ToCp1252(port.serialNumber().trimmed());
        devices.push_back(std::move(device));
    }
    return devices;
}

} // namespace quandel
