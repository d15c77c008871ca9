#include "transfer/line_transmission.h"

#include "basictools/remkill_zeile.h"
#include "basictools/tool_files.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/text_lines.h"
#include "core/user_dialogs.h"
#include "port/serial_port.h"
#include "transfer/prompt_wait.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace quandel {

PromptWait LineTransmission::WaitForPrompt(PromptScanner &scanner) {
    using std::chrono::duration;
    using std::chrono::duration_cast;
    const auto timeout = duration_cast<Clock::Duration>(duration<double>(kTimeoutSeconds));
    const PromptWait w =
        AwaitPrompt(ctx_.port, ctx_.clock, scanner, timeout, Clock::Duration::max(),
                    [this](const std::string &chunk) { ctx_.view.AppendRaw(chunk); });
    lineCut_ = lineCut_ || scanner.SawBell();
    return w;
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
    PromptScanner scanner;
    for (;;) {
        const PromptWait w = WaitForPrompt(scanner);
        if (w == PromptWait::PortLost) {
            portLost_ = true;
            return false;
        }
        if (w == PromptWait::TimedOut) {
            ctx_.dialogs.MessageBox("Timeout Error\rIst die Schnittstelle bereit? ", kAppTitle,
                                    BoxIcon::Exclamation, BoxButtons::Ok);
            return result;
        }
        ctx_.clock.SleepFor(std::chrono::milliseconds(kSettleMs));
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

bool LineTransmission::SendLineOrReport(const std::string &line, Ending &ending) {
    if (SendProgZeileOk(line) && !lineCut_)
        return true;
    ending = lineCut_ ? Ending::LineCut : FailureEnding();
    ReportEnding(ending, line);
    return false;
}

LineTransmission::Ending LineTransmission::Finish(Ending ending) {
    if (ending == Ending::Completed && ctx_.flags.StopRequested)
        ending = Ending::Stopped;
    ctx_.view.ShowProgress(0, 0);
    ctx_.view.StatusRefresh();
    ctx_.view.StartConnectTimer();
    return ending;
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
        if (!SendLineOrReport(line, ending))
            break;
        ctx_.events.ProcessEvents();
    }
    return Finish(ending);
}

LineTransmission::Ending LineTransmission::SendLines(const std::vector<std::string> &lines) {
    Ending ending = Ending::Completed;
    ctx_.flags.StopRequested = false;
    int done = 0;
    for (const std::string &line : lines) {
        if (ctx_.flags.StopRequested)
            break;
        ctx_.view.ShowProgress(++done, int(lines.size()));
        if (!SendLineOrReport(line, ending))
            break;
        ctx_.events.ProcessEvents();
    }
    return Finish(ending);
}

LineTransmission::Ending LineTransmission::SendClipboardLines(const std::string &clipboard) {
    if (const std::string reason = SourceLines::FromText(clipboard).NoProgramReason(
            Cp1252("Der Text in der Zwischenablage"));
        !reason.empty()) {
        ctx_.dialogs.MessageBox(reason, kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return Ending::Refused;
    }
    // One piece per line, each sent with a CR alone whatever line end it had
    // (Qt hands the clipboard over with LF); what follows the last line end
    // goes out as a line of its own with one CR more (an empty one when the
    // text ends with a line end).
    TextLines split = SplitLines(clipboard);
    std::vector<std::string> pieces = std::move(split.lines);
    pieces.push_back(std::move(split.rest));
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
