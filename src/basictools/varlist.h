#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace quandel {

struct ToolContext;
class SourceLines;
class TargetFile;

// The dialog's count field ("Anzahl der Variablen: "). A ToolView that also
// derives from this interface is shown the running count of variables while
// VarList collects them; other views simply do not see it.
class VariableCountView {
public:
    virtual ~VariableCountView() = default;
    // The count as number text (" 12").
    virtual void SetVariableCount(const std::string &numberText) = 0;
};

// The variable table holds at most this many names.
inline constexpr std::size_t kMaxVariablen = 10001;

// VARLIST: collects the variables a BASIC program assigns ("=") or names in
// POP statements, writes them sorted into `target` as BASIC comment lines and,
// with `intelCheck`, warns about names that Intel-BASIC cannot tell apart.
// Lets window events run after every line and stops when StopRequested is
// set (then nothing is written and nothing is shown). The source is read from
// where it stands; the target is closed at the end of a completed run.
// Failures of the name search inside one statement are shown and skipped;
// any other failure (a write error) propagates as ToolFailure.
void VarList(ToolContext &ctx, SourceLines &source, TargetFile &target, bool intelCheck);

// Removes string literals: each quoted part including both quotation marks;
// an unclosed mark alone. `A$="JA":B=1` -> `A$=:B=1`.
// The names the controller's BASIC cannot tell apart, among `names` sorted
// as the variable list is: three characters or more, the same length, and
// the same first and last letter (the last three for an array "NAME()").
std::vector<std::pair<std::string, std::string>> SimilarNamePairs(std::vector<std::string> names);

// The variables VARLIST finds in `lines`, each with the 1-based line it
// first appears in; the tool's warnings are not shown.
struct FoundVariable {
    std::string name;
    int line = 0;
};
std::vector<FoundVariable> VariablesOf(const std::vector<std::string> &lines);
// Sorts names as the variable list shows them.
void SortVariableNames(std::vector<std::string> &names);

std::string StringsEntfernen(std::string text);

// The statement separator (":", "THEN", "ELSE", case-sensitive) that occurs
// first in `text`, counting positions below 999 only; ";" when none does.
std::string TrennerSuchen(const std::string &text);

} // namespace quandel
