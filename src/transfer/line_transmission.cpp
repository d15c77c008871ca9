#include "transfer/line_transmission.h"

#include "basictools/remkill_zeile.h"
#include "basictools/tool_files.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "port/serial_port.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace quandel {

namespace {

using std::chrono::duration;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

constexpr char kPrompt = '>';
constexpr char kBell = 7;

} // namespace

LineTransmission::Wait LineTransmission::WaitForPrompt(char &previous) {
    SerialPort &port = ctx_.port;
    const auto timeout = duration_cast<Clock::Duration>(duration<double>(kTimeoutSeconds));
    Clock::TimePoint t = ctx_.clock.Now();
    for (;;) {
        const std::string chunk = port.Input();
        if (chunk.empty()) {
            if (!port.PortOpen())
                return Wait::PortLost;
            const Clock::Duration idle = ctx_.clock.Now() - t;
            if (idle > timeout)
                return Wait::TimedOut;
            // Block until a byte arrives or the time-out can have passed.
            const auto left = duration_cast<milliseconds>(timeout - idle).count() + 1;
            port.WaitForData(int(std::clamp<long long>(left, 1, 5001)));
            continue;
        }
        t = ctx_.clock.Now();
        ctx_.view.AppendRaw(chunk);
        bool prompt = false;
        for (char c : chunk) {
            if (c == kBell)
                lineCut_ = true;
            // The prompt begins a line of the answer; a ">" inside the echo
            // of the line (IF A>B) comes before the controller has stored it.
            if (c == kPrompt && (previous == '\r' || previous == '\n'))
                prompt = true;
            previous = c;
        }
        if (prompt)
            return Wait::Prompt;
    }
}

bool LineTransmission::SendProgZeileOk(const std::string &line) {
    lineCut_ = false;
    portLost_ = false;
    SerialPort &port = ctx_.port;
    if (!port.PortOpen())
        return false;
    if (!port.Output(line + "\r")) {
        portLost_ = !port.PortOpen();
        return false;
    }
    bool result = false;
    // The first byte of the answer counts as the start of a line.
    char previous = '\n';
    for (;;) {
        const Wait w = WaitForPrompt(previous);
        if (w == Wait::PortLost) {
            portLost_ = true;
            return false;
        }
        if (w == Wait::TimedOut) {
            ctx_.dialogs.MessageBox("Timeout Error\rIst die Schnittstelle bereit? ", kAppTitle,
                                    BoxIcon::Exclamation, BoxButtons::Ok);
            return result;
        }
        ctx_.clock.SleepFor(milliseconds(kSettleMs));
        ctx_.events.ProcessEvents();
        result = true;
        if (!port.PortOpen() || port.InBufferCount() == 0 || ctx_.flags.StopRequested)
            return result;
    }
}

bool LineTransmission::SendNormalZeile(const std::string &text) {
    SerialPort &port = ctx_.port;
    if (!port.PortOpen() || !port.Output(text))
        return false;
    const std::string answer = port.Input();
    if (!answer.empty())
        ctx_.view.AppendTerminalText(answer);
    return true;
}

LineTransmission::Ending LineTransmission::FailureEnding() const {
    // A port that was lost before the line could go out counts as lost too:
    // the next line finds it closed.
    return portLost_ || !ctx_.port.PortOpen() ? Ending::PortLost : Ending::TimedOut;
}

void LineTransmission::ReportEnding(Ending ending, const std::string &line) {
    if (ending == Ending::LineCut) {
        ctx_.dialogs.MessageBox(
            Cp1252("Der Controller hat diese Zeile abgeschnitten (zu lang?):\r") + line +
                Cp1252("\rDie Übertragung wurde an dieser Zeile beendet."),
            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
    } else if (ending == Ending::PortLost) {
        ctx_.dialogs.MessageBox(Cp1252("Die Verbindung zum Controller ist unterbrochen.\r"
                                       "Die Übertragung wurde abgebrochen."),
                                kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
    }
}

LineTransmission::Ending LineTransmission::Termload(SourceLines &source) {
    Ending ending = Ending::Completed;
    ctx_.flags.StopRequested = false;
    const int total = int(source.LineCount());
    int done = 0;
    while (!source.AtEnd() && !ctx_.flags.StopRequested) {
        std::string line = source.Next();
        ctx_.view.ShowProgress(++done, total);
        RemKillZeile(line, ctx_.dialogs, ctx_.flags);
        if (line.empty())
            continue;
        const bool ok = SendProgZeileOk(line);
        if (!ok || lineCut_) {
            ending = lineCut_ ? Ending::LineCut : FailureEnding();
            ReportEnding(ending, line);
            break;
        }
        ctx_.events.ProcessEvents();
    }
    if (ending == Ending::Completed && ctx_.flags.StopRequested)
        ending = Ending::Stopped;
    ctx_.view.ShowProgress(0, 0);
    ctx_.view.StatusRefresh();
    ctx_.view.StartConnectTimer();
    return ending;
}

LineTransmission::Ending LineTransmission::SendClipboardLines(const std::string &clipboard) {
    if (const std::string reason = SourceLines::FromText(clipboard).NoProgramReason(
            Cp1252("Der Text in der Zwischenablage"));
        !reason.empty()) {
        ctx_.dialogs.MessageBox(reason, kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return Ending::Refused;
    }
    // Pieces up to each CR; the rest after the last CR goes out as a line of
    // its own (with its CR added after the comment stripping).
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (std::size_t cr; (cr = clipboard.find('\r', from)) != std::string::npos; from = cr + 1)
        pieces.push_back(clipboard.substr(from, cr + 1 - from));
    pieces.push_back(clipboard.substr(from));
    ctx_.flags.StopRequested = false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        // Escape ends a long paste between two lines.
        if (ctx_.flags.StopRequested)
            return Ending::Stopped;
        std::string piece = std::move(pieces[i]);
        RemKillZeile(piece, ctx_.dialogs, ctx_.flags);
        const std::string shown = piece;
        if (i + 1 == pieces.size())
            piece += '\r';
        // A line the controller cut (BEL) ends the paste as it ends a
        // download: the lines after it would build on a line that is missing.
        if (!SendProgZeileOk(piece) || lineCut_) {
            const Ending e = lineCut_ ? Ending::LineCut : FailureEnding();
            ReportEnding(e, shown);
            return e;
        }
    }
    return Ending::Completed;
}

} // namespace quandel
