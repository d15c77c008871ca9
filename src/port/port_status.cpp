#include "port/port_status.h"

#include "core/number_text.h"
#include "port/serial_port.h"

namespace quandel {

std::string HandshakingWord(int mode) {
    switch (mode) {
    case 1:
        return " , XON/XOFF";
    case 2:
        return " , RTS/CTS";
    case 3:
        return " , XON-RTS";
    default:
        return "";
    }
}

std::string ComStatus(const SerialPort &port) {
    return "COM" + NumberText(port.CommPort()) + "," + port.Settings() +
           HandshakingWord(port.Handshaking()) + (port.PortOpen() ? " active" : " not active");
}

} // namespace quandel
