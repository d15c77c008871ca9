#include "basictools/tool_runner.h"

#include "basictools/denumber.h"
#include "basictools/line_model.h"
#include "basictools/remkill.h"
#include "basictools/tool_context.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "basictools/varlist.h"
#include "basictools/zahl_wert.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"

#include <exception>
#include <filesystem>

namespace quandel {

namespace {

// Passes every box on and notes whether one of them ended the run: REMKILL
// reports its own failures, and a table overflow shows its box before the
// run ends.
class FailureWatch final : public UserDialogs {
public:
    explicit FailureWatch(UserDialogs &inner) : inner_(inner) {}
    bool sawFailure = false;

    BoxAnswer MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                         BoxButtons buttons) override {
        if (title == "REMKILL-FEHLER" || title == "F E H L E R")
            sawFailure = true;
        return inner_.MessageBox(text, title, icon, buttons);
    }
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                        const std::string &proposal) override {
        return inner_.InputBox(prompt, title, proposal);
    }
    bool OpenFileDialog(FileDialogState &state) override { return inner_.OpenFileDialog(state); }
    bool SaveFileDialog(FileDialogState &state) override { return inner_.SaveFileDialog(state); }

private:
    UserDialogs &inner_;
};

bool SourceExists(const std::string &path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(NativePath(path), ec) &&
           !std::filesystem::is_directory(NativePath(path), ec);
}

std::string FailureText(ToolMode mode) {
    switch (mode) {
    case ToolMode::RemKill:
        return "Fehler bei Remkill aufgetreten";
    case ToolMode::DeNumber:
        return "Fehler bei Denum aufgetreten";
    case ToolMode::VarList:
        return "Fehler bei Varlist aufgetreten";
    }
    return {};
}

} // namespace

std::string ModeWord(ToolMode mode) {
    switch (mode) {
    case ToolMode::RemKill:
        return "REMKILL";
    case ToolMode::DeNumber:
        return "DENUMBER";
    case ToolMode::VarList:
        return "VARLIST";
    }
    return {};
}

std::optional<ToolMode> ModeFromWord(std::string_view word) {
    for (ToolMode m : {ToolMode::RemKill, ToolMode::DeNumber, ToolMode::VarList})
        if (word == ModeWord(m))
            return m;
    return std::nullopt;
}

std::string TargetLetter(ToolMode mode) {
    switch (mode) {
    case ToolMode::RemKill:
        return "Z";
    case ToolMode::DeNumber:
        return "D";
    case ToolMode::VarList:
        return "V";
    }
    return {};
}

RunOutcome RunTool(ToolContext &ctx, LineModel &model, const ToolRequest &request) {
    ctx.flags.StopRequested = false;
    FailureWatch watch(ctx.dialogs);
    ToolContext run{watch, ctx.events, ctx.flags, ctx.view};
    const auto box = [&](const std::string &text, BoxIcon icon = BoxIcon::None) {
        watch.MessageBox(text, kAppTitle, icon, BoxButtons::Ok);
    };
    const auto notStarted = [&](const std::string &text, BoxIcon icon = BoxIcon::None) {
        box(text, icon);
        ctx.flags.StopRequested = false;
        return RunOutcome::NotStarted;
    };

    if (!SourceExists(request.source))
        return notStarted("Datei nicht gefunden");
    // Opening the target empties it: never when it is the source itself.
    if (SameFile(request.source, request.target))
        return notStarted(Cp1252("Quell- und Zieldatei sind dieselbe Datei:") + "\r" +
                              request.target + "\r" +
                              Cp1252("Die Quelldatei wird nicht überschrieben. Bitte einen "
                                     "anderen Namen für die Zieldatei wählen."),
                          BoxIcon::Exclamation);
    std::string error;
    auto source = SourceLines::Open(request.source, error);
    if (!source)
        return notStarted(Cp1252("Ungültiger Dateiname: ") + request.source + "\r" + error);
    if (const std::string reason = source->NoProgramReason(Cp1252("Die Datei ") + request.source);
        !reason.empty())
        return notStarted(reason, BoxIcon::Exclamation);
    TargetFile target;
    if (!target.Open(request.target, error))
        return notStarted(Cp1252("Ungültiger Dateiname: ") + request.target + "\r" + error);

    const std::string failureText = FailureText(request.mode);
    RunOutcome outcome = RunOutcome::Completed;
    try {
        switch (request.mode) {
        case ToolMode::RemKill:
            RemKill(run, model, *source, target, request.target, request.check);
            break;
        case ToolMode::VarList:
            run.view.SetDisplayText("");
            VarList(run, *source, target, request.check);
            break;
        case ToolMode::DeNumber: {
            const std::int32_t von = ZahlWert(request.von);
            const std::int32_t bis = ZahlWert(request.bis);
            DeNumber(run, model, *source, target, von, bis);
            break;
        }
        }
        if (watch.sawFailure)
            outcome = RunOutcome::Failed;
    } catch (const ToolOverflow &) {
        outcome = RunOutcome::Failed; // its box has been shown
    } catch (const std::exception &) {
        box(failureText);
        outcome = RunOutcome::Failed;
    }
    try {
        target.Close();
    } catch (const std::exception &) {
        if (outcome != RunOutcome::Failed)
            box(failureText);
        outcome = RunOutcome::Failed;
    }
    ctx.flags.StopRequested = false;
    return outcome;
}

} // namespace quandel
