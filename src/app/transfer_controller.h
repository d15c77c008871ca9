#pragma once

#include "core/user_dialogs.h"
#include "transfer/download.h"
#include "transfer/program_comparison.h"
#include "transfer/readout.h"

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QProgressBar;

namespace quandel {

class FrmMain;
class StatusPanel;
class TerminalController;
struct AppServices;
struct SharedFlags;

// The transfers of the main window: download, read-out, clipboard lines. It
// shows their state in the window and refuses to start one inside another.
class TransferController : public QObject, private TransferView, private ReadoutView {
    Q_OBJECT
public:
    TransferController(FrmMain &window, AppServices &services, SharedFlags &flags,
                       TerminalController &terminal, FileDialogState &fileDialog,
                       QObject *parent = nullptr);
    ~TransferController() override;

    void LoadCommand();                         // "Programm laden"
    void DownloadProg(const std::string &file); // the navigator's double-click
    void ReadoutCommand();                      // "Daten auslesen und speichern"
    void CompareCommand();                      // "Programm vergleichen"
    void LoadChangesCommand();                  // "Änderungen laden"
    void EndReadout();                          // the window closes
    void SendClipboardLines();                  // Ctrl+V, "btnClip"
    bool Busy() const { return busy_; }

    // The path of the program last chosen in the navigator.
    std::string programFileName;
    // The file last downloaded, empty before the first download.
    const std::string &LastProgram() const { return download_.LastProgram(); }

private:
    bool Enter();
    // TransferView
    void AppendRaw(const std::string &chunk) override;
    void AppendTerminalText(const std::string &chunk) override;
    void SetTerminalText(const std::string &text) override;
    void SetLcdFeedEnabled(bool on) override;
    void SetMessage(const std::string &text) override;
    void SetBusyCursor(bool busy) override;
    void StatusRefresh() override;
    void StartConnectTimer() override;
    void FocusLcd() override;
    void ShowProgress(int done, int total) override;
    void SetReceivePaused(bool paused) override;
    // ReadoutView
    void SetClocksRunning(bool running) override;
    void SetReadoutChecked(bool checked) override;
    void ShowReadoutMessage(const std::string &text, bool withPicture) override;

    FrmMain &window_;
    TerminalController &terminal_;
    FileDialogState &fileDialog_;
    TransferContext ctx_;
    Download download_;
    Readout readout_;
    ProgramComparison comparison_;
    QProgressBar *progress_ = nullptr;
    bool busy_ = false;
    bool cursorBusy_ = false;
};

} // namespace quandel
