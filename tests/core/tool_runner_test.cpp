#include "basictools/line_model.h"
#include "basictools/tool_context.h"
#include "basictools/tool_files.h"
#include "basictools/tool_runner.h"
#include "core/number_text.h"
#include "core/shared_flags.h"
#include "support/fakes.h"
#include "support/scripted_dialogs.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace quandel {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("quandel-runner-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string &name) const { return (path_ / name).string(); }

private:
    fs::path path_;
    static inline int counter_ = 0;
};

void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string NumberedLines(int count) {
    std::string out;
    for (int i = 1; i <= count; ++i)
        out += DecimalText(i) + " PRINT\r\n";
    return out;
}

// Everything a Start needs; the line model lives across runs.
struct Tools {
    TempDir dir;
    test::ScriptedDialogs dialogs;
    test::CountingEventPump events;
    SharedFlags flags;
    PlainToolView view;
    ToolContext ctx{dialogs, events, flags, view};
    LineModel model;

    RunOutcome Run(const ToolRequest &r) {
        flags.StopRequested = true; // a key pressed before Start must not stop the run
        const RunOutcome outcome = RunTool(ctx, model, r);
        EXPECT_FALSE(flags.StopRequested);
        return outcome;
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> out;
        for (const auto &b : dialogs.boxes)
            out.push_back(b.title);
        return out;
    }
};

const std::string kProgram = "10 A=1 ' Kommentar\r\n20 GOTO 10\r\n";
const std::string kStripped = "10 A=1\r\n20 GOTO 10\r\n";

TEST(RunTool, RefusesToStartWithoutASourceOrAUsableTarget) {
    struct Row {
        const char *name;
        ToolMode mode;
        // Prepares the folder; returns the source and target paths.
        std::function<std::pair<std::string, std::string>(const TempDir &)> setUp;
        std::string textStart;
        BoxIcon icon;
    } rows[] = {
        {"missing source", ToolMode::RemKill,
         [](const TempDir &d) {
             return std::pair{d.File("NIX.BAS"), d.File("NIX.Z")};
         },
         "Datei nicht gefunden", BoxIcon::None},
        {"empty source name", ToolMode::VarList,
         [](const TempDir &d) {
             return std::pair{std::string(), d.File("X.V")};
         },
         "Datei nicht gefunden", BoxIcon::None},
        {"source is a folder", ToolMode::DeNumber,
         [](const TempDir &d) {
             fs::create_directory(d.File("ORDNER.BAS"));
             return std::pair{d.File("ORDNER.BAS"), d.File("ORDNER.D")};
         },
         "Datei nicht gefunden", BoxIcon::None},
        {"target is the source", ToolMode::RemKill,
         [](const TempDir &d) {
             return std::pair{d.File("P.BAS"), d.File("P.BAS")};
         },
         "Quell- und Zieldatei sind dieselbe Datei:", BoxIcon::Exclamation},
        {"target is the source spelled differently", ToolMode::VarList,
         [](const TempDir &d) {
             fs::create_directory(d.File("sub"));
             return std::pair{d.File("P.BAS"), d.File("sub/../P.BAS")};
         },
         "Quell- und Zieldatei sind dieselbe Datei:", BoxIcon::Exclamation},
        {"target is a link to the source", ToolMode::DeNumber,
         [](const TempDir &d) {
             fs::create_symlink(d.File("P.BAS"), d.File("LINK.BAS"));
             return std::pair{d.File("P.BAS"), d.File("LINK.BAS")};
         },
         "Quell- und Zieldatei sind dieselbe Datei:", BoxIcon::Exclamation},
        {"target is a hard link to the source", ToolMode::RemKill,
         [](const TempDir &d) {
             fs::create_hard_link(d.File("P.BAS"), d.File("HART.Z"));
             return std::pair{d.File("P.BAS"), d.File("HART.Z")};
         },
         "Quell- und Zieldatei sind dieselbe Datei:", BoxIcon::Exclamation},
        {"DENUMBER proposal for a name without dot", ToolMode::DeNumber,
         [](const TempDir &d) {
             WriteBytes(d.File("PROG"), kProgram);
             return std::pair{d.File("PROG"), ProposedTargetName(d.File("PROG"), "")};
         },
         "Quell- und Zieldatei sind dieselbe Datei:", BoxIcon::Exclamation},
        {"target in a missing folder", ToolMode::VarList,
         [](const TempDir &d) {
             return std::pair{d.File("P.BAS"), d.File("FEHLT/P.V")};
         },
         Cp1252("Ungültiger Dateiname: "), BoxIcon::None},
        {"target is a folder", ToolMode::DeNumber,
         [](const TempDir &d) {
             fs::create_directory(d.File("ZIEL"));
             return std::pair{d.File("P.BAS"), d.File("ZIEL")};
         },
         Cp1252("Ungültiger Dateiname: "), BoxIcon::None},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        Tools tools;
        WriteBytes(tools.dir.File("P.BAS"), kProgram);
        const auto [source, target] = r.setUp(tools.dir);
        const bool targetExisted = fs::exists(target);
        EXPECT_EQ(tools.Run({r.mode, source, target}), RunOutcome::NotStarted);
        ASSERT_EQ(tools.dialogs.boxes.size(), 1u);
        const auto &box = tools.dialogs.boxes[0];
        EXPECT_EQ(box.text.substr(0, r.textStart.size()), r.textStart) << box.text;
        EXPECT_EQ(box.title, "Quandel");
        EXPECT_EQ(box.icon, r.icon);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        if (r.textStart.starts_with(Cp1252("Ungültiger"))) {
            EXPECT_NE(box.text.find(target), std::string::npos) << "the box names the target";
        }
        EXPECT_EQ(fs::exists(target), targetExisted);
        if (fs::is_regular_file(source)) { // every source stays byte for byte
            EXPECT_EQ(ReadBytes(source), kProgram);
        }
        EXPECT_EQ(tools.events.calls, 0) << "no tool ran";
    }
}

TEST(RunTool, AMissingSourceLeavesAnExistingTargetAlone) {
    Tools tools;
    WriteBytes(tools.dir.File("ALT.Z"), "alter Inhalt\r\n");
    EXPECT_EQ(tools.Run({ToolMode::RemKill, tools.dir.File("NIX.BAS"), tools.dir.File("ALT.Z")}),
              RunOutcome::NotStarted);
    EXPECT_EQ(ReadBytes(tools.dir.File("ALT.Z")), "alter Inhalt\r\n");
}

TEST(RunTool, RunsEachToolAndReportsFailuresItLeavesUnhandled) {
    const std::string huge = "99999999999 PRINT\r\n"; // beyond 32 bits
    struct Row {
        const char *name;
        ToolRequest request; // file names relative to the temporary folder
        std::string source;
        RunOutcome outcome;
        std::vector<std::string> titles;
        std::string lastText;
        std::string targetBytes; // "*" when not checked
    } rows[] = {
        {"REMKILL completes",
         {ToolMode::RemKill, "P.BAS", "P.Z"},
         kProgram,
         RunOutcome::Completed,
         {"Quandel", "Quandel"},
         "Keinen Fehler gefunden.",
         kStripped},
        {"REMKILL without checks",
         {ToolMode::RemKill, "P.BAS", "P.Z", "0", "99999", false},
         kProgram,
         RunOutcome::Completed,
         {"Quandel"},
         " fertig ...\r Insgesamt gibt es  0 Zeilennummern\r und  0 Sprungziele",
         kStripped},
        {"REMKILL reports its own failure",
         {ToolMode::RemKill, "P.BAS", "P.Z"},
         huge,
         RunOutcome::Failed,
         {"REMKILL-FEHLER"},
         "*",
         "*"},
        {"REMKILL overflow ends the run",
         {ToolMode::RemKill, "P.BAS", "P.Z"},
         NumberedLines(10001),
         RunOutcome::Failed,
         {"F E H L E R"},
         Cp1252("Zeilenüberlauf\rDas Programm wird abgebrochen!"),
         "*"},
        {"VARLIST completes",
         {ToolMode::VarList, "P.BAS", "P.V"},
         kProgram,
         RunOutcome::Completed,
         {"Quandel"},
         " fertig ...\r Insgesamt gibt es  1 Variable\r",
         "Liste der Variablen: \r\n'      A\r\n"},
        {"VARLIST write failure",
         {ToolMode::VarList, "P.BAS", "/dev/full"},
         kProgram,
         RunOutcome::Failed,
         {"Quandel"},
         "Fehler bei Varlist aufgetreten",
         "*"},
        {"DENUMBER reads the range as numbers",
         {ToolMode::DeNumber, "P.BAS", "P.D", "&H64", "2E2"},
         "100 A=1\r\n150 B=2\r\n160 GOTO 100\r\n200 C=3\r\n",
         RunOutcome::Completed,
         {"Quandel"},
         " fertig ...\r Insgesamt gibt es  4 Zeilennummern.\r und  1 Sprungziele",
         "100 A=1\r\n    B=2\r\n    GOTO 100\r\n200 C=3\r\n"},
        {"DENUMBER von beyond 32 bits",
         {ToolMode::DeNumber, "P.BAS", "P.D", "1E20", "99999"},
         kProgram,
         RunOutcome::Failed,
         {"Quandel"},
         "Fehler bei Denum aufgetreten",
         ""},
        {"DENUMBER bis beyond 32 bits",
         {ToolMode::DeNumber, "P.BAS", "P.D", "0", "-3E9"},
         kProgram,
         RunOutcome::Failed,
         {"Quandel"},
         "Fehler bei Denum aufgetreten",
         ""},
        {"DENUMBER line number beyond 32 bits",
         {ToolMode::DeNumber, "P.BAS", "P.D"},
         huge,
         RunOutcome::Failed,
         {"Quandel"},
         "Fehler bei Denum aufgetreten",
         "*"},
        {"DENUMBER overflow ends the run quietly",
         {ToolMode::DeNumber, "P.BAS", "P.D"},
         NumberedLines(10001),
         RunOutcome::Failed,
         {"F E H L E R"},
         Cp1252("Zeilenüberlauf\rDas Programm wird abgebrochen!"),
         "*"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        if (r.request.target.starts_with("/dev/") && !fs::exists(r.request.target))
            continue;
        Tools tools;
        tools.view.display = "vom letzten Lauf";
        ToolRequest request = r.request;
        request.source = tools.dir.File(request.source);
        if (!request.target.starts_with("/"))
            request.target = tools.dir.File(request.target);
        WriteBytes(request.source, r.source);
        EXPECT_EQ(tools.Run(request), r.outcome);
        EXPECT_EQ(tools.Titles(), r.titles);
        if (r.lastText != "*" && !tools.dialogs.boxes.empty()) {
            EXPECT_EQ(tools.dialogs.boxes.back().text, r.lastText);
        }
        if (r.targetBytes != "*") {
            EXPECT_EQ(ReadBytes(request.target), r.targetBytes);
        }
        EXPECT_EQ(ReadBytes(request.source), r.source);
        if (request.mode == ToolMode::VarList && r.outcome == RunOutcome::Completed) {
            EXPECT_EQ(tools.view.display, "A\r\n") << "the display is emptied first";
        }
    }
}

TEST(RunTool, AnOverflowEndsOnlyThatRun) {
    Tools tools;
    const std::string big = tools.dir.File("GROSS.BAS"), small = tools.dir.File("P.BAS");
    WriteBytes(big, NumberedLines(10001));
    WriteBytes(small, kProgram);
    EXPECT_EQ(tools.Run({ToolMode::RemKill, big, tools.dir.File("GROSS.Z")}), RunOutcome::Failed);
    tools.dialogs.boxes.clear();
    EXPECT_EQ(tools.Run({ToolMode::RemKill, small, tools.dir.File("P.Z")}), RunOutcome::Completed);
    EXPECT_EQ(ReadBytes(tools.dir.File("P.Z")), kStripped);
    ASSERT_EQ(tools.dialogs.boxes.size(), 2u);
    EXPECT_EQ(tools.dialogs.boxes[0].text,
              " fertig ...\r Insgesamt gibt es  2 Zeilennummern\r und  1 Sprungziele");
}

TEST(ProposedTargetName, CutsAfterTheFirstDotOfTheName) {
    struct Row {
        const char *source, *letter, *target;
    } rows[] = {
        {R"(C:\PROG\TEST.BAS)", "Z", R"(C:\PROG\TEST.Z)"},
        {R"(C:\PROG\TEST.BAS)", "D", R"(C:\PROG\TEST.D)"},
        {R"(C:\PROG\TEST.BAS)", "V", R"(C:\PROG\TEST.V)"},
        {R"(C:\PROG\TEST)", "Z", R"(C:\PROG\TESTZ)"},
        {R"(C:\PROG\TEST.BAS)", "", R"(C:\PROG\TEST.)"},
        {R"(C:\PROG\TEST.ALT.BAS)", "V", R"(C:\PROG\TEST.V)"},
        {R"(C:\MEIN.DIR\TEST)", "Z", R"(C:\MEIN.DIR\TESTZ)"},
        {R"(C:\MEIN.DIR\TEST.BAS)", "Z", R"(C:\MEIN.DIR\TEST.Z)"},
        {"/home/anna/prog.bas", "D", "/home/anna/prog.D"},
        {"/home/anna.v2/prog", "V", "/home/anna.v2/progV"},
        {"/home/anna.v2/prog.bas", "V", "/home/anna.v2/prog.V"},
        {"prog.bas", "Z", "prog.Z"},
        {"prog", "Z", "progZ"},
        {R"(C:\PROG\)", "Z", R"(C:\PROG\Z)"},
        {"", "Z", "Z"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ProposedTargetName(r.source, r.letter), r.target) << r.source << " " << r.letter;
}

} // namespace
} // namespace quandel
