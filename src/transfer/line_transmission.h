#pragma once

#include "transfer/prompt_wait.h"
#include "transfer/transfer_view.h"

#include <string>
#include <vector>

namespace quandel {

class SourceLines;

// Sends lines to the controller and watches its answer for the prompt ">".
class LineTransmission {
public:
    // How a transfer of several lines ended.
    enum class Ending { Completed, Stopped, TimedOut, LineCut, PortLost, Unreadable, Refused };

    explicit LineTransmission(TransferContext &ctx) : ctx_(ctx) {}

    // Sends line + CR and waits until the controller shows its prompt again
    // (5 s of silence end the wait with the "Timeout Error" box). True when a
    // prompt was seen.
    bool SendProgZeileOk(const std::string &line);
    // Sends text exactly as given and shows what has arrived at that moment.
    bool SendNormalZeile(const std::string &text);
    // Sends a program line by line, comments removed, empty lines skipped.
    Ending Termload(SourceLines &source);
    // Lines ready to go (comments stripped), with the same handshake, the
    // same stop on Escape and the same reports as Termload.
    Ending SendLines(const std::vector<std::string> &lines);
    // The clipboard's text, line by line (empty lines too; a line ends at
    // CR LF, CR or LF).
    // A text that is no program is refused before anything is sent. The
    // stop request (Escape) ends it between two pieces; a piece the
    // controller cut ends it with the message a download shows.
    Ending SendClipboardLines(const std::string &clipboard);

    // Facts about the last SendProgZeileOk.
    bool LastLineCut() const { return lineCut_; }
    bool LastPortLost() const { return portLost_; }
    // The line whose handshake noticed the BEL, for the message.
    const std::string &CutLine() const { return cutLine_; }

    static constexpr double kTimeoutSeconds = 5.0;
    static constexpr int kSettleMs = 50;

private:
    PromptWait WaitForPrompt(PromptScanner &scanner);
    // How a failed SendProgZeileOk ended: the port lost, or no prompt in time.
    Ending FailureEnding() const;
    void ReportEnding(Ending ending, const std::string &line);
    // Sends one line; false after reporting how it failed.
    bool SendLineOrReport(const std::string &line, Ending &ending);
    Ending Finish(Ending ending);

    TransferContext &ctx_;
    bool lineCut_ = false;
    bool portLost_ = false;
    std::string cutLine_;
};

} // namespace quandel
