#include "transfer/program_comparison.h"

#include "core/event_pump.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "port/serial_port.h"
#include "transfer/download.h"
#include "transfer/prompt_wait.h"

#include <fstream>
#include <iterator>

namespace quandel {

namespace {

constexpr std::chrono::seconds kListingIdle{5};

void Box(UserDialogs &dialogs, const std::string &text, BoxIcon icon = BoxIcon::Exclamation) {
    dialogs.MessageBox(text, kAppTitle, icon, BoxButtons::Ok);
}

} // namespace

bool ProgramComparison::AskForFile(const std::string &title, const std::string &proposal) {
    if (!ctx_.port.PortOpen()) {
        ctx_.dialogs.MessageBox("Keine Verbindung", kAppTitle, BoxIcon::None, BoxButtons::Ok);
        return false;
    }
    fileDialog_.title = title;
    fileDialog_.filter = "BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*";
    fileDialog_.fileName = proposal;
    return ctx_.dialogs.OpenFileDialog(fileDialog_);
}

void ProgramComparison::CompareCommand(const std::string &programFileName) {
    if (AskForFile(Cp1252("Programm vergleichen"), programFileName))
        Compare(fileDialog_.fileName);
}

void ProgramComparison::LoadChangesCommand(const std::string &programFileName, Download &download) {
    if (AskForFile(Cp1252("Änderungen laden"), programFileName))
        LoadChanges(fileDialog_.fileName, download);
}

std::optional<std::string> ProgramComparison::ListController() {
    if (!ctx_.port.PortOpen()) {
        ctx_.dialogs.MessageBox("Keine Verbindung", kAppTitle, BoxIcon::None, BoxButtons::Ok);
        return std::nullopt;
    }
    std::string listing;
    // A long listing takes seconds: the window stays alive meanwhile, and
    // Escape ends the wait.
    const auto keep = [&](const std::string &chunk) {
        listing += chunk;
        ctx_.view.AppendRaw(chunk);
        ctx_.events.ProcessEvents();
    };
    ctx_.flags.StopRequested = false;
    ctx_.port.ClearInBuffer();
    PromptScanner scanner;
    // A CR first: a half-typed line would spoil the LIST.
    ctx_.port.Output("\r");
    PromptWait w = AwaitPrompt(ctx_.port, ctx_.clock, scanner, std::chrono::seconds(1),
                               std::chrono::seconds(1), [&](const std::string &) {});
    if (w != PromptWait::PortLost) {
        listing.clear();
        scanner.Reset();
        ctx_.port.Output("LIST\r");
        w = AwaitPrompt(ctx_.port, ctx_.clock, scanner, kListingIdle, Clock::Duration::max(), keep);
    }
    if (ctx_.flags.StopRequested) {
        ctx_.flags.StopRequested = false;
        return std::nullopt; // the user's Escape needs no box
    }
    if (w == PromptWait::PortLost || !ctx_.port.PortOpen()) {
        Box(ctx_.dialogs, Cp1252("Die Verbindung zum Controller ist unterbrochen.\r"
                                 "Der Vergleich wurde abgebrochen."));
        return std::nullopt;
    }
    if (w == PromptWait::TimedOut || listing.find("READY") == std::string::npos) {
        Box(ctx_.dialogs, Cp1252("Der Controller hat sein Programm nicht vollständig gelistet "
                                 "(keine Antwort auf LIST).\rIst die Schnittstelle bereit?"));
        return std::nullopt;
    }
    return listing;
}

std::optional<std::string> ProgramComparison::ReadProgram(const std::string &path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) {
        Box(ctx_.dialogs, Cp1252("Die Datei ") + path + Cp1252(" kann nicht gelesen werden."));
        return std::nullopt;
    }
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (source.find('\0') != std::string::npos) {
        Box(ctx_.dialogs, Cp1252("Die Datei ") + path +
                              Cp1252(" enthält Binärdaten (Nullbytes) und ist kein "
                                     "BASIC-Programm."));
        return std::nullopt;
    }
    return source;
}

bool ProgramComparison::Differ(const std::vector<NumberedLine> &file) {
    ctx_.view.SetBusyCursor(true);
    ctx_.view.SetReceivePaused(true);
    const std::optional<std::string> listing = ListController();
    ctx_.view.SetReceivePaused(false);
    ctx_.view.SetBusyCursor(false);
    if (!listing)
        return false;
    differences_ = CompareProgram(file, ListedLines(*listing));
    return true;
}

std::optional<std::vector<NumberedLine>>
ProgramComparison::FileAgainstController(const std::string &path) {
    differences_.clear();
    const std::optional<std::string> source = ReadProgram(path);
    if (!source)
        return std::nullopt;
    std::vector<NumberedLine> file = DownloadedLines(*source);
    if (!Differ(file))
        return std::nullopt;
    return file;
}

bool ProgramComparison::Compare(const std::string &path) {
    const auto file = FileAgainstController(path);
    if (file)
        ShowResult(path, file->size());
    return file.has_value();
}

bool ProgramComparison::LoadChanges(const std::string &path, Download &download) {
    sent_ = deleted_ = 0;
    const auto compared = FileAgainstController(path);
    if (!compared)
        return false;
    const std::vector<NumberedLine> &file = *compared;
    if (differences_.empty()) {
        Box(ctx_.dialogs,
            Cp1252("Der Controller enthält schon genau das Programm aus ") + path +
                Cp1252(": nichts zu laden."),
            BoxIcon::Information);
        return true;
    }
    // In ascending order of line number: each changed or missing line as
    // the file has it, a bare number for a line only the controller has.
    std::vector<std::string> lines;
    for (const LineDifference &d : differences_) {
        if (d.kind == LineDifference::Kind::OnlyInController) {
            lines.push_back(DecimalText(d.number));
            ++deleted_;
        } else {
            lines.push_back(d.fileLine);
            ++sent_;
        }
    }
    ctx_.view.SetMessage(Cp1252("Änderungen aus ") + path + " laden");
    const LineTransmission::Ending ending = download.Lines().SendLines(lines);
    if (ending != LineTransmission::Ending::Completed) {
        if (ending == LineTransmission::Ending::Stopped) {
            ctx_.port.ClearInBuffer();
            ctx_.port.ClearOutBuffer();
            ctx_.flags.StopRequested = false;
        }
        download.FinishTransfer();
        return false;
    }
    // The controller must now hold the file's program.
    const std::size_t fileLines = file.size();
    if (!Differ(file)) {
        download.FinishTransfer();
        return false;
    }
    if (!differences_.empty()) {
        ctx_.dialogs.TableBox(
            DifferenceTable(Cp1252("Änderungen laden"),
                            Cp1252("Nach dem Laden der Änderungen bleiben Unterschiede.\r") +
                                ComparisonSummary(path, fileLines, differences_),
                            differences_));
        download.FinishTransfer();
        return false;
    }
    Box(ctx_.dialogs,
        DecimalText(sent_) +
            (sent_ == 1 ? Cp1252(" Zeile geladen, ") : Cp1252(" Zeilen geladen, ")) +
            DecimalText(deleted_) +
            (deleted_ == 1 ? Cp1252(" Zeile gelöscht.") : Cp1252(" Zeilen gelöscht.")) +
            Cp1252("\rDer Controller enthält jetzt das Programm aus ") + path + ".",
        BoxIcon::Information);
    download.EepromStep();
    download.FinishTransfer();
    return true;
}

void ProgramComparison::ShowResult(const std::string &path, std::size_t fileLines) {
    const std::string summary = ComparisonSummary(path, fileLines, differences_);
    if (differences_.empty())
        Box(ctx_.dialogs, summary, BoxIcon::Information);
    else
        ctx_.dialogs.TableBox(
            DifferenceTable(Cp1252("Programm vergleichen"), summary, differences_));
}

std::string ComparisonSummary(const std::string &path, std::size_t fileLines,
                              const std::vector<LineDifference> &differences) {
    if (differences.empty())
        return Cp1252("Der Controller enthält genau das Programm aus ") + path + " (" +
               DecimalText(std::int64_t(fileLines)) + " Zeilen).";
    return Cp1252("Der Controller enthält nicht das Programm aus ") + path + ": " +
           DecimalText(std::int64_t(differences.size())) +
           Cp1252(differences.size() == 1 ? " Unterschied." : " Unterschiede.");
}

TableBoxContent DifferenceTable(const std::string &title, const std::string &text,
                                const std::vector<LineDifference> &differences) {
    TableBoxContent table;
    table.title = title;
    table.text = text;
    table.icon = BoxIcon::Exclamation;
    table.columns = {"Zeile", "Befund", "Datei", "Controller"};
    table.rows.reserve(differences.size());
    for (const LineDifference &d : differences) {
        std::string finding;
        switch (d.kind) {
        case LineDifference::Kind::MissingInController:
            finding = "fehlt im Controller";
            break;
        case LineDifference::Kind::OnlyInController:
            finding = "nur im Controller";
            break;
        case LineDifference::Kind::Different:
            finding = "verschieden";
            break;
        }
        table.rows.push_back({DecimalText(d.number), finding, d.fileText, d.controllerText});
    }
    return table;
}

} // namespace quandel
