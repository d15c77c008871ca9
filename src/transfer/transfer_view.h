#pragma once

#include <string>

namespace quandel {

class Clock;
class EventPump;
class SerialPort;
class UserDialogs;
struct SharedFlags;

// What the transfers show and switch in the main window.
class TransferView {
public:
    virtual ~TransferView() = default;
    // The terminal pane's text += chunk, without the pane's trimming rule.
    virtual void AppendRaw(const std::string &chunk) = 0;
    // The terminal pane's text += chunk, with the trimming rule.
    virtual void AppendTerminalText(const std::string &chunk) = 0;
    virtual void SetTerminalText(const std::string &text) = 0;
    virtual void SetLcdFeedEnabled(bool on) = 0;
    virtual void SetMessage(const std::string &text) = 0; // the "Meldung" panel
    virtual void SetBusyCursor(bool busy) = 0;
    virtual void StatusRefresh() = 0;
    virtual void StartConnectTimer() = 0;
    virtual void FocusLcd() = 0;
    // Line `done` of `total` of a download; total 0 hides the progress.
    virtual void ShowProgress(int done, int total) = 0;
    // While a transfer reads the port itself and lets events run, the
    // terminal's own reading stands still.
    virtual void SetReceivePaused(bool paused) { (void)paused; }
};

struct TransferContext {
    SerialPort &port;
    UserDialogs &dialogs;
    EventPump &events;
    Clock &clock;
    SharedFlags &flags;
    TransferView &view;
};

} // namespace quandel
