#include "transfer/readout.h"

#include "core/clock.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "port/serial_port.h"
#include "terminal/receive_path.h"
#include "transfer/prompt_wait.h"

#include <cerrno>
#include <cstring>

namespace quandel {

FileCaptureSink::~FileCaptureSink() {
    if (file_)
        std::fclose(file_);
}

bool FileCaptureSink::Open(const std::string &path, std::string &error) {
    file_ = std::fopen(NativePath(path).c_str(), "wb");
    if (!file_)
        error = std::strerror(errno);
    return file_ != nullptr;
}

bool FileCaptureSink::Write(const std::string &bytes) {
    // Flushed at once: what the controller listed is on disk even if the
    // program is ended before the read-out is.
    return file_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() &&
           std::fflush(file_) == 0;
}

bool FileCaptureSink::Close() {
    if (!file_)
        return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

bool Readout::Active() const {
    return receive_.ReadoutActive();
}

void Readout::Toggle() {
    if (Active())
        Stop();
    else
        Start();
}

void Readout::Pause() {
    ctx_.clock.SleepFor(std::chrono::milliseconds(10));
}

void Readout::Start() {
    // As the download: with the port closed there is nothing to read, and
    // no file is asked for or created.
    if (!ctx_.port.PortOpen()) {
        ctx_.dialogs.MessageBox("Keine Verbindung", kAppTitle, BoxIcon::None, BoxButtons::Ok);
        return;
    }
    view_.SetClocksRunning(false);
    ctx_.view.SetLcdFeedEnabled(false);
    fileDialog_.title = Cp1252("Datei zum Speichern öffnen");
    fileDialog_.filter = "Alle Dateien (*.*)|*.*";
    fileDialog_.fileName.clear();
    std::string error;
    const bool chosen = ctx_.dialogs.SaveFileDialog(fileDialog_);
    if (chosen && !file_.Open(fileDialog_.fileName, error))
        ctx_.dialogs.MessageBox(Cp1252("Die Datei ") + fileDialog_.fileName +
                                    Cp1252(" kann nicht angelegt werden:\r") + error +
                                    Cp1252("\rDas Auslesen wird nicht gestartet."),
                                kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
    if (!file_.IsOpen()) {
        // Nothing recorded: the clocks and the display go on as before.
        view_.SetClocksRunning(true);
        ctx_.view.SetLcdFeedEnabled(true);
        return;
    }
    path_ = fileDialog_.fileName;
    receive_.StartCapture(file_);
    view_.SetReadoutChecked(true);
    ctx_.view.SetBusyCursor(true);
    view_.ShowReadoutMessage("In Log-Datei " + path_ + " schreiben ...", true);
    ctx_.flags.StopRequested = false;
    // The controller answers a bare CR with a few bytes and garbles what
    // arrives before it has sent them: each send waits for its prompt. A
    // controller that does not answer still gets all three, a moment apart.
    ctx_.port.Output("\r");
    AwaitAnswer();
    Pause();
    ctx_.port.Output("\r");
    AwaitAnswer();
    Pause();
    ctx_.port.Output("LIST\r");
}

void Readout::AwaitAnswer() {
    PromptScanner scanner;
    AwaitPrompt(ctx_.port, ctx_.clock, scanner, kAnswerLimit, kAnswerLimit,
                [this](const std::string &chunk) { receive_.Deliver(chunk); });
}

void Readout::Stop() {
    bool ok = receive_.EndCapture();
    ok = file_.Close() && ok;
    view_.SetReadoutChecked(false);
    ctx_.view.SetBusyCursor(false);
    // The message goes first: the status refresh may put the connection's
    // own message there.
    view_.ShowReadoutMessage("", false);
    ctx_.view.StatusRefresh();
    view_.SetClocksRunning(true);
    ctx_.view.SetLcdFeedEnabled(true);
    if (!ok)
        ctx_.dialogs.MessageBox(Cp1252("Die Datei ") + path_ +
                                    Cp1252(" konnte nicht vollständig geschrieben werden."),
                                kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
}

void Readout::EndAfterPortLoss() {
    if (!Active())
        return;
    Stop();
    ctx_.dialogs.MessageBox(Cp1252("Die Verbindung zum Controller ist unterbrochen.\r"
                                   "Das Auslesen wurde beendet; die Datei ") +
                                path_ + Cp1252(" enthält alles bis dahin Empfangene."),
                            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
}

} // namespace quandel
