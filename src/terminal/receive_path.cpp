#include "terminal/receive_path.h"

#include "core/clock.h"
#include "port/serial_port.h"
#include "terminal/lcd_emulation.h"

namespace quandel {

ReceivePath::ReceivePath(SerialPort &port, TerminalText &text, TerminalPaneView &pane,
                         LcdEmulation &lcd, Clock &clock)
    : port_(port), text_(text), pane_(pane), lcd_(lcd), clock_(clock) {}

void ReceivePath::AppendTerminalText(const std::string &chunk) {
    pane_.ApplyChange(text_, text_.AppendTerminalText(chunk));
}

void ReceivePath::Deliver(const std::string &chunk) {
    if (mode_ == DisplayMode::NormalText)
        AppendTerminalText(chunk);
    else
        pane_.ApplyChange(text_, text_.AppendCodes(chunk));
    if (sink_ && !capture_.Feed(chunk, *sink_))
        captureFailed_ = true;
    if (lcdFeed_)
        lcd_.LcdParse(chunk);
}

bool ReceivePath::ReceivePoll() {
    // A port whose device went away may still hold what arrived before.
    if (!port_.PortOpen() && port_.InBufferCount() < 1)
        return false;
    const Clock::TimePoint start = clock_.Now();
    for (;;) {
        const std::string chunk = port_.Input();
        if (!chunk.empty()) {
            Deliver(chunk);
            // A short breath for the controller after each captured chunk.
            if (sink_)
                clock_.SleepFor(std::chrono::milliseconds(1));
        }
        if (port_.InBufferCount() < 1)
            return false;
        if (clock_.Now() - start >= kRunBudget)
            return true;
    }
}

void ReceivePath::StartCapture(CaptureSink &sink) {
    capture_.Discard();
    captureFailed_ = false;
    sink_ = &sink;
}

bool ReceivePath::EndCapture() {
    if (sink_ && !capture_.Finish(*sink_))
        captureFailed_ = true;
    sink_ = nullptr;
    return !captureFailed_;
}

} // namespace quandel
