#pragma once

#include "core/clock.h"

#include <functional>
#include <string>
#include <string_view>

namespace quandel {

class SerialPort;

// Watches the controller's answer for its prompt: a ">" that begins a line
// of the answer. A ">" inside the echo of a line (IF A>B) comes before the
// controller has taken the line and is no prompt.
class PromptScanner {
public:
    // True when the chunk holds a prompt.
    bool Feed(std::string_view chunk);
    // A BEL came: the controller cut the line it was sent.
    bool SawBell() const { return bell_; }
    // A new answer: its first byte counts as the start of a line.
    void Reset() { *this = PromptScanner(); }

private:
    char previous_ = '\n';
    bool bell_ = false;
};

enum class PromptWait { Prompt, TimedOut, PortLost };

// Reads the port until `scanner` sees a prompt, handing every chunk to
// `received` first. Blocks in the port's wait for data, so it wakes the
// moment a byte arrives. It gives up after `idle` without a byte, or after
// `limit` in all, whichever comes first.
PromptWait AwaitPrompt(SerialPort &port, const Clock &clock, PromptScanner &scanner,
                       Clock::Duration idle, Clock::Duration limit,
                       const std::function<void(const std::string &)> &received);

} // namespace quandel
