#pragma once

#include "port/port_settings.h"
#include "port/serial_port.h"

#include <QObject>
#include <QSerialPort>
#include <functional>

namespace quandel {

// The serial-port service over QSerialPort, usable without an event loop:
// Input and WaitForData pull from the device themselves, Output pushes.
class QtSerialPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    // `deviceFor` maps a port number to the device path (or name) to open.
    explicit QtSerialPort(std::function<std::string(int)> deviceFor, QObject *parent = nullptr);
    ~QtSerialPort() override;

    int CommPort() const override { return number_; }
    PortResult SetCommPort(int number) override;
    std::string Settings() const override { return settingsText_; }
    PortResult SetSettings(const std::string &text) override;
    int Handshaking() const override { return handshaking_; }
    PortResult SetHandshaking(int mode) override;
    bool PortOpen() const override { return port_.isOpen(); }
    PortResult SetPortOpen(bool open) override;
    PortResult Output(const std::string &bytes) override;
    std::string Input() override;
    int InBufferCount() override;
    void ClearInBuffer() override;
    void ClearOutBuffer() override;
    bool WaitForData(int ms) override;
    void SetLostHandler(std::function<void()> handler) override {
        lostHandler_ = std::move(handler);
    }

    // The device that the current port number means.
    std::string DevicePath() const { return deviceFor_(number_); }

private:
    void OnError(QSerialPort::SerialPortError error);
    bool ApplyLine(const LineSettings &line);
    bool ApplyHandshaking(int mode);
    PortResult FailWithPortError(const char *fallback);

    // Declared before port_: the port's destructor emits signals that reach
    // handlers reading these.
    std::function<std::string(int)> deviceFor_;
    std::function<void()> lostHandler_;
    int number_ = 1;
    std::string settingsText_ = "9600,N,8,1";
    LineSettings line_;
    int handshaking_ = 0;
    // Received bytes not yet taken by Input: those the port held when its
    // device went away.
    std::string leftover_;
    QSerialPort port_;
};

} // namespace quandel
