#pragma once

#include "terminal/lcd_emulation.h"
#include "terminal/receive_path.h"
#include "terminal/terminal_text.h"

#include <QObject>
#include <QTimer>
#include <string>

namespace quandel {

class Clock;
class EventPump;
class SerialPort;
class TerminalPage;

// Received bytes as the terminal tab shows them: the receive timer, the
// terminal pane's text rules and the LCD emulation, mirrored into the widgets
// of the "Terminal" tab.
class TerminalController : public QObject, private TerminalPaneView, private LcdPane {
    Q_OBJECT
public:
    TerminalController(TerminalPage &page, SerialPort &port, EventPump &events, Clock &clock,
                       QObject *parent = nullptr);

    // Start-up: the display banner and the terminal pane's first text.
    void ShowBanners();
    ReceivePath &Receive() { return receive_; }
    LcdEmulation &Lcd() { return lcd_; }
    QTimer &ReceiveTimer() { return timRec_; }
    // The terminal pane's text := text (transfers empty it).
    void SetTerminalText(const std::string &text);
    void AppendUntrimmed(const std::string &chunk);

signals:
    // A read-out is running, but the port went away and what it had
    // received has been captured.
    void readoutPortLost();

private:
    static constexpr int kPollMs = 100;
    // Both panes show what arrived at most this often while bytes stream in
    // (25 pictures a second): laying text out is what costs, not receiving.
    static constexpr int kPaneRefreshMs = 40;

    void ReceivePoll();
    void ApplyChange(const TerminalText &text, const TerminalText::Change &change) override;
    void SetText(const std::string &text) override; // the LCD pane
    void ScheduleRefresh();
    void RefreshPanes();
    void ShowWholeTerminalText();
    void ShowLcdText();

    TerminalPage &page_;
    SerialPort &port_;
    TerminalText text_;
    LcdEmulation lcd_;
    ReceivePath receive_;
    QTimer timRec_;
    QTimer paneRefresh_;
    // Received bytes the terminal pane does not show yet; or the whole text
    // is to be shown again, after the front was trimmed.
    std::string unshownBytes_;
    bool wholeTextPending_ = false;
    bool lastShownWasCr_ = false;
    std::string lcdText_;
    bool lcdUpdatePending_ = false;
};

// Received bytes for display: Windows-1252 decoded; CR, LF and CR LF are one
// line break each (a CR LF split over two chunks too, via `afterCr`); other
// control codes show as their Unicode control pictures (ESC as U+241B).
QString RenderReceivedText(const std::string &bytes, bool &afterCr);

} // namespace quandel
