// Whole REMKILL, DENUMBER and VARLIST runs through RunTool, as the tools
// dialog's Start does them, on random source files in a temporary folder;
// two runs per input share one line model, as they do in the program.
//
// The input chooses the tool of each run, the check switch, DENUMBER's range
// texts, the answers to the tools' questions, after how many window-event
// calls a key press stops the run, the source's name (plain or with an
// umlaut), a target that is the source itself (same path, another spelling,
// a symbolic link) or cannot be created, and now and then appends more
// numbered lines than the line-number table holds. The rest of the input is
// the source file. (Full jump-target and variable tables are left to the
// unit tests: their linear searches over 10,000 entries take seconds per
// input with the fuzzer's comparison tracing.)
//
// Invariants:
//  - no crash, no undefined behaviour, and every run ends (the dialogs
//    answer every question at once; libFuzzer's -timeout catches a hang);
//  - the source file is never changed, whatever the target is;
//  - every box the tool shows has a non-empty text;
//  - StopRequested is cleared at the end of every run;
//  - a missing source, a source that is no program (NUL bytes, a line over
//    4096 characters), or a target that is the source or cannot be created
//    ends as NotStarted after exactly one box, and a new target is not
//    created; a usable pair never ends so;
//  - a failed run has shown at least one box;
//  - a completed REMKILL that no key stopped wrote exactly the source's lines
//    stripped by RemKillZeile, the empty ones left out, each ended by CR LF;
//  - a completed DENUMBER wrote one line per source line, each the source line
//    without its leading blanks, at most with a blanked prefix (same length);
//  - a completed VARLIST wrote its heading and one comment line per
//    variable, every name once.

#include "basictools/line_model.h"
#include "basictools/remkill_zeile.h"
#include "basictools/tool_files.h"
#include "basictools/tool_runner.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/shared_flags.h"
#include "fuzz_support.h"
#include "support/tool_test_support.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fuzzer/FuzzedDataProvider.h>
#include <set>
#include <string>
#include <vector>

using namespace quandel;
namespace fs = std::filesystem;

namespace {

const char *const kRangeTexts[] = {"0",  "99999",      "100",   "&H10", "1E3", "-5",
                                   "20", "2147483648", "1E999", "",     "X",   " 15 "};

// The target file's lines (CR LF ended).
std::vector<std::string> CrLfLines(const std::string &bytes) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(bytes.substr(from, end - from));
    FUZZ_CHECK(from == bytes.size());
    return lines;
}

std::vector<std::string> SourceLinesOf(const std::string &bytes) {
    SourceLines source = SourceLines::FromText(bytes);
    std::vector<std::string> lines;
    while (!source.AtEnd())
        lines.push_back(source.Next());
    return lines;
}

// More numbered lines than the line-number table holds.
std::string TooManyLines() {
    std::string out;
    for (int n = 1; n <= LineModel::kMaxEintraege + 1; ++n)
        out += DecimalText(n) + " X\r\n";
    return out;
}

void CheckTarget(ToolMode mode, const std::string &source, const std::string &target) {
    const std::vector<std::string> in = SourceLinesOf(source), out = CrLfLines(target);
    switch (mode) {
    case ToolMode::RemKill: {
        fuzz::RecordingDialogs quiet;
        SharedFlags flags;
        std::vector<std::string> expected;
        for (std::string line : in)
            if (!RemKillZeile(line, quiet, flags).empty())
                expected.push_back(line);
        FUZZ_CHECK(out == expected);
        break;
    }
    case ToolMode::DeNumber:
        FUZZ_CHECK(out.size() == in.size());
        for (std::size_t i = 0; i < in.size(); ++i) {
            const std::string trimmed =
                in[i].substr(std::min(in[i].find_first_not_of(' '), in[i].size()));
            FUZZ_CHECK(out[i].size() == trimmed.size());
            // Past the blanks it starts with, the line is the source's.
            const std::size_t blanks = std::min(out[i].find_first_not_of(' '), out[i].size());
            FUZZ_CHECK(out[i].compare(blanks, std::string::npos, trimmed, blanks) == 0);
        }
        break;
    case ToolMode::VarList: {
        FUZZ_CHECK(!out.empty() && out[0] == "Liste der Variablen: ");
        std::set<std::string> names;
        for (std::size_t i = 1; i < out.size(); ++i) {
            FUZZ_CHECK(out[i].rfind("'      ", 0) == 0);
            FUZZ_CHECK(names.insert(out[i].substr(7)).second);
        }
        break;
    }
    }
}

struct Run {
    fuzz::RecordingDialogs dialogs;
    SharedFlags flags;
    test::StoppingPump events{flags};
    test::RecordingView view;
    ToolContext ctx{dialogs, events, flags, view};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const test::TempDir dir;
    static const bool prepared = [] {
        fs::create_directories(dir.File("sub"));
        return true;
    }();
    (void)prepared;

    FuzzedDataProvider fdp(data, size);
    const bool umlaut = fdp.ConsumeIntegralInRange(0, 3) == 0;
    const int sourceKind = std::max(0, fdp.ConsumeIntegralInRange(-8, 2)); // 1 missing, 2 folder
    const int targetKind = std::max(0, fdp.ConsumeIntegralInRange(-10, 5));
    const bool tooManyLines = fdp.ConsumeIntegralInRange(0, 63) == 0;
    const int stopAt =
        fdp.ConsumeIntegralInRange(0, 3) == 0 ? fdp.ConsumeIntegralInRange(1, 40) : 0;
    std::vector<ToolRequest> requests(fdp.ConsumeBool() ? 2 : 1);
    for (ToolRequest &r : requests) {
        r.mode = ToolMode(fdp.ConsumeIntegralInRange(0, 2));
        r.check = fdp.ConsumeBool();
        r.von = kRangeTexts[fdp.ConsumeIntegralInRange<std::size_t>(0, std::size(kRangeTexts) - 1)];
        r.bis = kRangeTexts[fdp.ConsumeIntegralInRange<std::size_t>(0, std::size(kRangeTexts) - 1)];
    }
    const std::deque<bool> answers = {fdp.ConsumeBool(), fdp.ConsumeBool(), fdp.ConsumeBool()};
    const std::string bytes =
        fdp.ConsumeRemainingBytesAsString() + (tooManyLines ? TooManyLines() : "");

    // Windows-1252 names, as the program keeps them.
    const std::string umlautName = Cp1252("PRÜFUNG.BAS");
    const std::string name = umlaut ? umlautName : "SRC.BAS";
    const std::string source = dir.File(name);
    for (const std::string &old :
         {std::string("SRC.BAS"), umlautName, std::string("LINK.BAS"), std::string("OUT.Z")})
        fs::remove(NativePath(dir.File(old)));
    if (sourceKind == 0)
        test::WriteBytes(NativePath(source).string(), bytes);
    else if (sourceKind == 2)
        fs::create_directories(NativePath(source));
    fs::create_symlink(NativePath(name), NativePath(dir.File("LINK.BAS")));

    const std::string targets[] = {dir.File("OUT.Z"),          source,
                                   dir.File("sub/../" + name), dir.File("LINK.BAS"),
                                   dir.File("FEHLT/OUT.Z"),    dir.File("sub")};
    const std::string target = targets[targetKind];
    // A file with NUL bytes or an over-long line is no program: refused
    // before the target is touched.
    const bool program = SourceLines::FromText(bytes).NoProgramReason("x").empty();
    const bool startable = sourceKind == 0 && targetKind == 0 && program;

    LineModel model;
    for (ToolRequest &request : requests) {
        request.source = source;
        request.target = target;
        Run run;
        run.dialogs.yes = answers;
        run.events.stopAt = stopAt;
        run.flags.StopRequested = true; // a key before Start must not stop the run
        const RunOutcome outcome = RunTool(run.ctx, model, request);

        FUZZ_CHECK(!run.flags.StopRequested);
        if (sourceKind == 0)
            FUZZ_CHECK(test::ReadBytes(NativePath(source).string()) == bytes);
        for (const auto &box : run.dialogs.boxes)
            FUZZ_CHECK(!box.text.empty());
        FUZZ_CHECK(run.dialogs.inputs == 0 && run.dialogs.fileDialogs == 0);
        if (!startable) {
            FUZZ_CHECK(outcome == RunOutcome::NotStarted);
            FUZZ_CHECK(run.dialogs.boxes.size() == 1);
            if (targetKind == 0)
                FUZZ_CHECK(!fs::exists(NativePath(target)));
            continue;
        }
        FUZZ_CHECK(outcome != RunOutcome::NotStarted);
        if (outcome == RunOutcome::Failed)
            FUZZ_CHECK(!run.dialogs.boxes.empty());
        const bool stopped = stopAt != 0 && run.events.calls >= stopAt;
        if (outcome == RunOutcome::Completed && !stopped)
            CheckTarget(request.mode, bytes, test::ReadBytes(NativePath(target).string()));
    }
    if (sourceKind == 2)
        fs::remove(NativePath(source));
    return 0;
}
