#include "transfer/prompt_wait.h"

#include "port/serial_port.h"

#include <algorithm>

namespace quandel {

namespace {

constexpr char kPrompt = '>';
constexpr char kBell = 7;

} // namespace

bool PromptScanner::Feed(std::string_view chunk) {
    bool prompt = false;
    for (const char c : chunk) {
        if (c == kBell)
            bell_ = true;
        if (c == kPrompt && (previous_ == '\r' || previous_ == '\n'))
            prompt = true;
        previous_ = c;
    }
    return prompt;
}

PromptWait AwaitPrompt(SerialPort &port, const Clock &clock, PromptScanner &scanner,
                       Clock::Duration idle, Clock::Duration limit,
                       const std::function<void(const std::string &)> &received) {
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const Clock::TimePoint start = clock.Now();
    Clock::TimePoint last = start;
    for (;;) {
        const std::string chunk = port.Input();
        if (!chunk.empty()) {
            last = clock.Now();
            received(chunk);
            if (scanner.Feed(chunk))
                return PromptWait::Prompt;
            if (last - start > limit)
                return PromptWait::TimedOut;
            continue;
        }
        if (!port.PortOpen())
            return PromptWait::PortLost;
        const Clock::TimePoint now = clock.Now();
        if (now - last > idle || now - start > limit)
            return PromptWait::TimedOut;
        // Block until a byte arrives or one of the time-outs can have passed.
        const Clock::Duration left = std::min(idle - (now - last), limit - (now - start));
        const long long ms = duration_cast<milliseconds>(left).count() + 1;
        port.WaitForData(int(std::clamp<long long>(ms, 1, 5001)));
    }
}

} // namespace quandel
