#include "transfer/download.h"

#include "basictools/tool_files.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "port/serial_port.h"

#include <filesystem>
#include <optional>

namespace quandel {

void Download::LoadCommand(const std::string &programFileName) {
    fileDialog_.title = Cp1252("BASIC-Datei öffnen");
    fileDialog_.filter = "BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*";
    fileDialog_.fileName = programFileName;
    if (ctx_.dialogs.OpenFileDialog(fileDialog_)) {
        const std::string name = fileDialog_.fileName;
        std::error_code ec;
        if (name.empty() || !std::filesystem::is_regular_file(NativePath(name), ec)) {
            ctx_.dialogs.MessageBox("Datei nicht gefunden", kAppTitle, BoxIcon::None,
                                    BoxButtons::Ok);
        } else {
            ctx_.flags.StopRequested = false;
            ctx_.view.SetMessage(name + " laden");
            DownloadProg(name);
        }
    }
    ctx_.view.StatusRefresh();
    ctx_.view.StartConnectTimer();
}

LineTransmission::Ending Download::DownloadProg(const std::string &datei) {
    if (!ctx_.port.PortOpen()) {
        ctx_.dialogs.MessageBox("Keine Verbindung", kAppTitle, BoxIcon::None, BoxButtons::Ok);
        return LineTransmission::Ending::PortLost;
    }
    // The file is read and checked before the opening: its NEW would erase
    // the controller's program for a file that cannot be sent after all.
    std::string error;
    std::optional<SourceLines> source = SourceLines::Open(datei, error);
    if (source)
        error = source->NoProgramReason(Cp1252("Die Datei ") + datei);
    if (!error.empty()) {
        ctx_.dialogs.MessageBox(error, kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return source ? LineTransmission::Ending::Refused : LineTransmission::Ending::Unreadable;
    }
    lastProgram_ = datei;
    ctx_.view.SetLcdFeedEnabled(false);
    ctx_.view.SetTerminalText("");
    ctx_.flags.StopRequested = false;

    for (const char *command : {"", "", "MTOP=7FFFH", "RAM", "New"}) {
        if (!lines_.SendProgZeileOk(command)) {
            // The controller did not take the opening: the terminal mode comes
            // back all the same, so the display follows the controller again.
            if (lines_.LastPortLost() || !ctx_.port.PortOpen())
                ctx_.dialogs.MessageBox(Cp1252("Die Verbindung zum Controller ist unterbrochen.\r"
                                               "Die Übertragung wurde abgebrochen."),
                                        kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
            ctx_.view.SetLcdFeedEnabled(true);
            ClosingSteps();
            return LineTransmission::Ending::TimedOut;
        }
        // Escape during the opening keeps the controller's program: "New"
        // must not go out once the user has asked to stop.
        if (ctx_.flags.StopRequested)
            break;
    }

    const LineTransmission::Ending ending =
        ctx_.flags.StopRequested ? LineTransmission::Ending::Stopped : lines_.Termload(*source);
    ctx_.view.SetLcdFeedEnabled(true);

    if (ctx_.flags.StopRequested) {
        ctx_.port.ClearInBuffer();
        ctx_.port.ClearOutBuffer();
        ctx_.flags.StopRequested = false;
    } else if (ending == LineTransmission::Ending::Completed ||
               ending == LineTransmission::Ending::TimedOut) {
        // A cut line, a lost port or an unreadable file leave no program
        // worth burning in: no EEPROM question then.
        EepromStep();
    }
    ClosingSteps();
    return ending;
}

void Download::EepromStep() {
    if (ctx_.dialogs.MessageBox(" Ins EEPROM Programmieren?", kAppTitle, BoxIcon::Exclamation,
                                BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    ctx_.view.SetBusyCursor(true);
    ctx_.view.SetMessage(" Einen Moment bitte ...");
    if (!lines_.SendNormalZeile("PROG\r"))
        ctx_.dialogs.MessageBox("Nicht fehlerfrei programmiert", kAppTitle, BoxIcon::Critical,
                                BoxButtons::Ok);
}

void Download::FinishTransfer() {
    ClosingSteps();
}

void Download::ClosingSteps() {
    ctx_.view.SetBusyCursor(false);
    ctx_.view.SetMessage("");
    ctx_.view.ShowProgress(0, 0);
    ctx_.view.StatusRefresh();
    ctx_.view.StartConnectTimer();
    ctx_.view.FocusLcd();
}

} // namespace quandel
