#include "app/terminal_controller.h"

#include "app/cp1252_codec.h"
#include "app/terminal_page.h"
#include "port/serial_port.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>

namespace quandel {

QString RenderReceivedText(const std::string &bytes, bool &afterCr) {
    const QString decoded = FromCp1252(bytes);
    QString out;
    out.reserve(decoded.size());
    for (QChar c : decoded) {
        const char16_t u = c.unicode();
        if (u == '\n' && afterCr) {
            afterCr = false;
            continue;
        }
        afterCr = u == '\r';
        if (u == '\r' || u == '\n')
            out += QLatin1Char('\n');
        else if (u == '\t')
            out += c;
        else if (u < 32)
            out += QChar(char16_t(0x2400 + u));
        else if (u == 127)
            out += QChar(char16_t(0x2421));
        else
            out += c;
    }
    return out;
}

TerminalController::TerminalController(TerminalPage &page, SerialPort &port, EventPump &events,
                                       Clock &clock, QObject *parent)
    : QObject(parent), page_(page), port_(port), lcd_(*this, events),
      receive_(port, text_, *this, lcd_, clock) {
    timRec_.setObjectName(QStringLiteral("timRec"));
    timRec_.setInterval(kPollMs);
    connect(&timRec_, &QTimer::timeout, this, &TerminalController::ReceivePoll);
    timRec_.start();
    paneRefresh_.setSingleShot(true);
    paneRefresh_.setInterval(kPaneRefreshMs);
    connect(&paneRefresh_, &QTimer::timeout, this, &TerminalController::RefreshPanes);

    connect(page_.asciiOption(), &QRadioButton::toggled, this, [this](bool ascii) {
        receive_.SetMode(ascii ? ReceivePath::DisplayMode::Ascii
                               : ReceivePath::DisplayMode::NormalText);
    });
    connect(&page_, &TerminalPage::clearRequested, this, [this] { SetTerminalText({}); });
}

void TerminalController::ShowBanners() {
    lcd_.ShowBanner();
    RefreshPanes(); // at once: start-up shows the window right after this
    SetTerminalText("Terminal Window");
}

void TerminalController::ReceivePoll() {
    // Stopped while the run lasts: the display emulation lets events run
    // between bytes, and a second tick must not start another run inside it.
    timRec_.stop();
    const bool moreWaiting = receive_.ReceivePoll();
    // Whatever a poll brought shows at its end, without waiting for the
    // refresh timer: a typed key's echo appears at once.
    RefreshPanes();
    // A read-out whose port has gone gets nothing more: it ends, with all
    // that arrived before in its file.
    if (receive_.ReadoutActive() && !moreWaiting && !port_.PortOpen())
        emit readoutPortLost();
    timRec_.start(moreWaiting ? 0 : kPollMs);
}

void TerminalController::SetTerminalText(const std::string &text) {
    text_.SetText(text);
    unshownBytes_.clear();
    wholeTextPending_ = false;
    ShowWholeTerminalText();
}

void TerminalController::AppendUntrimmed(const std::string &chunk) {
    ApplyChange(text_, text_.AppendUntrimmed(chunk));
}

void TerminalController::ShowWholeTerminalText() {
    lastShownWasCr_ = false;
    QPlainTextEdit *pane = page_.terminalPane();
    pane->setPlainText(RenderReceivedText(text_.Text(), lastShownWasCr_));
    pane->moveCursor(QTextCursor::End);
}

void TerminalController::ApplyChange(const TerminalText &, const TerminalText::Change &change) {
    if (change.removedFront > 0) {
        wholeTextPending_ = true;
        unshownBytes_.clear();
    } else if (!wholeTextPending_) {
        unshownBytes_ += change.appended;
    }
    ScheduleRefresh();
}

void TerminalController::SetText(const std::string &text) {
    // A burst renders the display once per line; the pane shows the latest
    // state at the next refresh.
    lcdText_ = text;
    lcdUpdatePending_ = true;
    ScheduleRefresh();
}

void TerminalController::ScheduleRefresh() {
    if (!paneRefresh_.isActive())
        paneRefresh_.start();
}

void TerminalController::RefreshPanes() {
    paneRefresh_.stop();
    if (wholeTextPending_) {
        wholeTextPending_ = false;
        ShowWholeTerminalText();
    } else if (!unshownBytes_.empty()) {
        page_.appendTerminalText(RenderReceivedText(unshownBytes_, lastShownWasCr_));
        unshownBytes_.clear();
    }
    if (lcdUpdatePending_)
        ShowLcdText();
}

void TerminalController::ShowLcdText() {
    lcdUpdatePending_ = false;
    // The emulation hands over lines ended by CR LF; the pane wants lines.
    QString shown = FromCp1252(lcdText_);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    if (page_.lcdPane()->toPlainText() != shown)
        page_.lcdPane()->setPlainText(shown);
}

} // namespace quandel
