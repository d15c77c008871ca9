#include "port/qt_serial_port.h"

#include "app/cp1252_codec.h"
#include "core/number_text.h"

#include <utility>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace quandel {

QtSerialPort::QtSerialPort(std::function<std::string(int)> deviceFor, QObject *parent)
    : QObject(parent), deviceFor_(std::move(deviceFor)) {
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::OnError);
}

QtSerialPort::~QtSerialPort() {
    port_.disconnect(this);
    port_.close();
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
    // A time-out of waitForReadyRead is no error here. A read or resource
    // error on an open port means the device went away: QSerialPort would
    // keep reporting it at full CPU, so close at once.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError &&
        error != QSerialPort::WriteError)
        return;
    if (!port_.isOpen())
        return;
    // What the port had read before the line went is still the device's
    // last word (a listing's end, the final prompt): closing would drop it.
    const QByteArray rest = port_.readAll();
    leftover_.append(rest.constData(), std::size_t(rest.size()));
    port_.close();
    if (lostHandler_)
        lostHandler_();
}

PortResult QtSerialPort::FailWithPortError(const char *fallback) {
    const QString text = port_.errorString();
    return PortResult::Fail(text.isEmpty() ? Cp1252(fallback) : ToCp1252(text));
}

PortResult QtSerialPort::SetCommPort(int number) {
    if (port_.isOpen())
        return PortResult::Fail(Cp1252("Die Schnittstelle ist bereits geöffnet."));
    if (number < 1 || number > 255)
        return PortResult::Fail(Cp1252("Ungültige Schnittstellennummer") + NumberText(number));
    number_ = number;
    return PortResult::Ok();
}

bool QtSerialPort::ApplyLine(const LineSettings &line) {
    static constexpr QSerialPort::Parity kParity[] = {
        QSerialPort::NoParity, QSerialPort::EvenParity, QSerialPort::OddParity,
        QSerialPort::MarkParity, QSerialPort::SpaceParity};
    static constexpr QSerialPort::StopBits kStop[] = {
        QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    return port_.setBaudRate(line.baud) &&
           port_.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) &&
           port_.setParity(kParity[static_cast<int>(line.parity)]) &&
           port_.setStopBits(kStop[static_cast<int>(line.stopBits)]);
}

bool QtSerialPort::ApplyHandshaking(int mode) {
    switch (mode) {
    case 1:
        return port_.setFlowControl(QSerialPort::SoftwareControl);
    case 2:
        return port_.setFlowControl(QSerialPort::HardwareControl);
    case 3: {
        if (!port_.setFlowControl(QSerialPort::HardwareControl))
            return false;
#ifdef Q_OS_UNIX
        // Qt has no mode for both at once: add XON/XOFF to RTS/CTS by hand.
        if (port_.isOpen()) {
            termios tio{};
            if (::tcgetattr(port_.handle(), &tio) != 0)
                return false;
            tio.c_iflag |= IXON | IXOFF;
            return ::tcsetattr(port_.handle(), TCSANOW, &tio) == 0;
        }
#endif
        return true;
    }
    default:
        return port_.setFlowControl(QSerialPort::NoFlowControl);
    }
}

PortResult QtSerialPort::SetSettings(const std::string &text) {
    const LineSettingsParse parsed = ParseLineSettings(text);
    if (!parsed.settings)
        return PortResult::Fail(parsed.error);
    if (port_.isOpen() && !ApplyLine(*parsed.settings)) {
        PortResult failure = FailWithPortError("Die Einstellung wird nicht unterstützt.");
        ApplyLine(line_); // keep the configuration the port had
        return PortResult::Fail(Cp1252("Einstellung \"") + text + Cp1252("\" abgelehnt: ") +
                                failure.error);
    }
    line_ = *parsed.settings;
    settingsText_ = LineSettingsText(line_);
    return PortResult::Ok();
}

PortResult QtSerialPort::SetHandshaking(int mode) {
    if (mode < 0 || mode > 3)
        return PortResult::Fail(Cp1252("Ungültiger Handshaking-Wert") + NumberText(mode));
    if (port_.isOpen() && !ApplyHandshaking(mode)) {
        PortResult failure = FailWithPortError("Das Handshaking wird nicht unterstützt.");
        ApplyHandshaking(handshaking_);
        return failure;
    }
    handshaking_ = mode;
    return PortResult::Ok();
}

PortResult QtSerialPort::SetPortOpen(bool open) {
    if (!open) {
        leftover_.clear();
        if (port_.isOpen()) {
            port_.clear();
            port_.close();
        }
        return PortResult::Ok();
    }
    if (port_.isOpen())
        return PortResult::Ok();
    const std::string device = deviceFor_(number_);
    if (device.empty())
        return PortResult::Fail(Cp1252("Für COM") + NumberText(number_) +
                                Cp1252(" ist keine Schnittstelle zugeordnet."));
    port_.setPortName(FromCp1252(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        // Qt says "permission" both for a device the user may not open and
        // for one that another program holds (busy, or locked).
        if (port_.error() == QSerialPort::PermissionError)
            if (const OpenRefusal why = ClassifyRefusedOpen(device); why != OpenRefusal::None)
                return PortResult::Refused(why, OpenRefusalText(why, device));
        return FailWithPortError("Die Schnittstelle konnte nicht geöffnet werden.");
    }
    if (!ApplyLine(line_) || !ApplyHandshaking(handshaking_)) {
        PortResult failure = FailWithPortError("Die Einstellung wird nicht unterstützt.");
        port_.close();
        return failure;
    }
    return PortResult::Ok();
}

PortResult QtSerialPort::Output(const std::string &bytes) {
    if (!port_.isOpen())
        return PortResult::Fail(Cp1252("Die Schnittstelle ist nicht geöffnet."));
    if (bytes.empty())
        return PortResult::Ok();
    if (port_.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        return FailWithPortError("Senden fehlgeschlagen.");
    // Push to the device now: callers may block in waits without an event loop.
    port_.flush();
    return PortResult::Ok();
}

std::string QtSerialPort::Input() {
    if (port_.isOpen()) {
        port_.waitForReadyRead(0); // may find the device gone: its last bytes are kept then
        if (port_.isOpen()) {
            const QByteArray data = port_.readAll();
            leftover_.append(data.constData(), std::size_t(data.size()));
        }
    }
    return std::exchange(leftover_, {});
}

int QtSerialPort::InBufferCount() {
    if (port_.isOpen())
        port_.waitForReadyRead(0);
    const qint64 waiting = qint64(leftover_.size()) + (port_.isOpen() ? port_.bytesAvailable() : 0);
    return int(std::min<qint64>(waiting, 32767));
}

void QtSerialPort::ClearInBuffer() {
    leftover_.clear();
    if (!port_.isOpen())
        return;
    port_.waitForReadyRead(0);
    if (!port_.isOpen())
        return;
    port_.readAll();
    port_.clear(QSerialPort::Input);
}

void QtSerialPort::ClearOutBuffer() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Output);
}

bool QtSerialPort::WaitForData(int ms) {
    if (!leftover_.empty())
        return true;
    if (!port_.isOpen())
        return false;
    if (port_.bytesAvailable() > 0)
        return true;
    port_.waitForReadyRead(ms < 0 ? 0 : ms);
    return !leftover_.empty() || (port_.isOpen() && port_.bytesAvailable() > 0);
}

} // namespace quandel
