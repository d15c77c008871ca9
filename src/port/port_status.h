#pragma once

#include <string>

namespace quandel {

class SerialPort;

// The status line text of the port, e.g. "COM 1,9600,N,8,1 , RTS/CTS active".
std::string ComStatus(const SerialPort &port);

// The handshaking word of the status text; empty for 0 and unknown modes.
std::string HandshakingWord(int mode);

} // namespace quandel
