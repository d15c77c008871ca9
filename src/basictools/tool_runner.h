#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quandel {

class LineModel;
struct ToolContext;

enum class ToolMode { RemKill, DeNumber, VarList };

// The mode word the tools dialog carries as its caption.
std::string ModeWord(ToolMode mode); // "REMKILL", "DENUMBER", "VARLIST"
std::optional<ToolMode> ModeFromWord(std::string_view word);
// The letter of the proposed target name: "Z", "D", "V".
std::string TargetLetter(ToolMode mode);

// One Start of a source tool.
struct ToolRequest {
    ToolMode mode = ToolMode::RemKill;
    std::string source, target;
    // DENUMBER's range, read with ZahlWert.
    std::string von = "0", bis = "99999";
    // REMKILL: the line-number and jump-target checks; VARLIST: the
    // Intel-BASIC test. DENUMBER ignores it.
    bool check = true;
};

enum class RunOutcome {
    Completed,  // the tool ran to its end (or was stopped by a key)
    Failed,     // it ended through a failure box or a table overflow
    NotStarted, // missing or unreadable source, refused or impossible target
};

// What the tools dialog's Start does once the fields are filled in: clears
// StopRequested, checks the source exists ("Datei nicht gefunden"), refuses a
// target that is the source itself before anything is opened for writing,
// refuses a source that is no BASIC program (binary data, overlong lines)
// before the target is touched, opens both files, runs the tool and reports
// a failure the tool leaves unhandled ("Fehler bei Remkill/Varlist/Denum
// aufgetreten"). The files are closed and StopRequested is cleared at the
// end, whatever happened. VARLIST empties the display first. `model` keeps
// the line tables between runs.
RunOutcome RunTool(ToolContext &ctx, LineModel &model, const ToolRequest &request);

} // namespace quandel
