#pragma once

#include "terminal/readout_capture.h"
#include "terminal/terminal_text.h"

#include <chrono>
#include <string>

namespace quandel {

class Clock;
class LcdEmulation;
class SerialPort;

// Shows what changed in the terminal pane's text.
class TerminalPaneView {
public:
    virtual ~TerminalPaneView() = default;
    virtual void ApplyChange(const TerminalText &text, const TerminalText::Change &change) = 0;
};

// The road of a received byte: the port, then the terminal pane (plain text or
// codes), the read-out file while a read-out runs, and the LCD emulation
// while its feed is on.
class ReceivePath {
public:
    enum class DisplayMode { Ascii = 0, NormalText = 1 };

    ReceivePath(SerialPort &port, TerminalText &text, TerminalPaneView &pane, LcdEmulation &lcd,
                Clock &clock);

    // One run of the receive poll: drains the port until nothing is waiting
    // or the run has taken kRunBudget. True when data are still waiting then:
    // the caller lets the window's events run and polls again at once. The
    // caller keeps its poll timer stopped meanwhile.
    bool ReceivePoll();
    // A controller that never stops sending must not keep the window from
    // its events (not even from the command that ends a read-out).
    static constexpr std::chrono::milliseconds kRunBudget{50};
    // One received chunk on its road, as the poll hands it on: for those who
    // read the port themselves while the poll does not run.
    void Deliver(const std::string &chunk);

    DisplayMode Mode() const { return mode_; }
    void SetMode(DisplayMode mode) { mode_ = mode; }
    bool LcdFeedEnabled() const { return lcdFeed_; }
    void SetLcdFeedEnabled(bool on) { lcdFeed_ = on; }

    // The read-out capture: completed lines go to `sink` until EndCapture,
    // which also writes a last line that has no CR yet.
    void StartCapture(CaptureSink &sink);
    // False when the file could not be written at some point.
    bool EndCapture();
    bool ReadoutActive() const { return sink_ != nullptr; }
    bool CaptureFailed() const { return captureFailed_; }

    // Plain text for the terminal pane from elsewhere (transfers, banners).
    void AppendTerminalText(const std::string &chunk);

private:
    SerialPort &port_;
    TerminalText &text_;
    TerminalPaneView &pane_;
    LcdEmulation &lcd_;
    Clock &clock_;
    DisplayMode mode_ = DisplayMode::NormalText;
    bool lcdFeed_ = true;
    CaptureSink *sink_ = nullptr;
    ReadoutCapture capture_;
    bool captureFailed_ = false;
};

} // namespace quandel
