#include "basictools/line_model.h"
#include "basictools/tool_files.h"
#include "basictools/tool_runner.h"
#include "support/tool_test_support.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const std::string kProgram = "10 A=1 ' Kommentar\r\n20 GOTO 10\r\n";
const std::string kStripped = "10 A=1\r\n20 GOTO 10\r\n";
const std::string kStrippedSummary =
    " fertig ...\r Insgesamt gibt es  2 Zeilennummern\r und  1 Sprungziele";

// Everything a Start needs; the line model lives across runs.
struct Tools : test::ToolRig {
    LineModel model;
    RunOutcome Run(const ToolRequest &r) {
        flags.StopRequested = true; // a key pressed before Start must not stop the run
        const RunOutcome outcome = RunTool(ctx, model, r);
        EXPECT_FALSE(flags.StopRequested);
        return outcome;
    }
};

TEST(RunTool, RefusesToStartWithoutASourceOrAUsableTarget) {
    TempDir dir; // the files and folders the rows name
    dir.Write("P.BAS", kProgram);
    dir.Write("PROG", kProgram);
    dir.Write("ALT.Z", "alt\r\n");
    dir.Write("BIN.BAS", std::string("10 A=1\r\n20 \0\xff\r\n", 13));
    dir.Write("LANG.BAS", "10 A=1\r\n20 PRINT \"" + std::string(5000, 'A') + "\"\r\n");
    for (const char *folder : {"ORDNER.BAS", "sub", "ZIEL"})
        fs::create_directory(dir.File(folder));
    fs::create_symlink(dir.File("P.BAS"), dir.File("LINK.BAS"));
    fs::create_hard_link(dir.File("P.BAS"), dir.File("HART.Z"));
    const std::string notFound = "Datei nicht gefunden", invalid = Cp1252("Ungültiger Dateiname: "),
                      same = "Quell- und Zieldatei sind dieselbe Datei:",
                      noProgram = Cp1252("Die Datei ") + dir.File("");
    struct Row {
        const char *name;
        ToolMode mode;
        std::string source, target, textStart;
        BoxIcon icon = BoxIcon::None;
    } rows[] = {
        {"missing source; the existing target stays", ToolMode::RemKill, "NIX.BAS", "ALT.Z",
         notFound},
        {"source is a folder", ToolMode::DeNumber, "ORDNER.BAS", "ORDNER.D", notFound},
        {"target is the source spelled differently", ToolMode::VarList, "P.BAS", "sub/../P.BAS",
         same, BoxIcon::Exclamation},
        {"target is a link to the source", ToolMode::DeNumber, "P.BAS", "LINK.BAS", same,
         BoxIcon::Exclamation},
        {"target is a hard link to the source", ToolMode::RemKill, "P.BAS", "HART.Z", same,
         BoxIcon::Exclamation},
        {"DENUMBER proposal for a name without dot", ToolMode::DeNumber, "PROG",
         ProposedTargetName("PROG", ""), same, BoxIcon::Exclamation},
        {"target in a missing folder", ToolMode::VarList, "P.BAS", "FEHLT/P.V", invalid},
        {"target is a folder", ToolMode::DeNumber, "P.BAS", "ZIEL", invalid},
        {"binary source; the existing target stays", ToolMode::RemKill, "BIN.BAS", "ALT.Z",
         noProgram + Cp1252("BIN.BAS enthält Binärdaten (Nullbytes)"), BoxIcon::Exclamation},
        {"a line of 5000 characters", ToolMode::VarList, "LANG.BAS", "LANG.V",
         noProgram + Cp1252("LANG.BAS ist kein BASIC-Programm: Zeile 2 ist länger als 4096"),
         BoxIcon::Exclamation},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        Tools tools;
        const std::string source = dir.File(r.source), target = dir.File(r.target);
        const bool targetExisted = fs::exists(target);
        const std::string targetBytes = test::ReadBytes(target),
                          sourceBytes = test::ReadBytes(source);
        EXPECT_EQ(tools.Run({r.mode, source, target}), RunOutcome::NotStarted);
        ASSERT_EQ(tools.dialogs.boxes.size(), 1u);
        const auto &box = tools.dialogs.boxes[0];
        EXPECT_TRUE(box.text.starts_with(r.textStart)) << box.text;
        EXPECT_EQ(box.title, "Quandel");
        EXPECT_EQ(box.icon, r.icon);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        if (r.textStart == invalid) {
            EXPECT_NE(box.text.find(target), std::string::npos) << "the box names the target";
        }
        EXPECT_EQ(fs::exists(target), targetExisted);
        EXPECT_EQ(test::ReadBytes(target), targetBytes);
        EXPECT_EQ(test::ReadBytes(source), sourceBytes); // every source stays byte for byte
        EXPECT_EQ(tools.events.calls, 0) << "no tool ran";
    }
}

TEST(RunTool, RunsEachToolAndReportsFailuresItLeavesUnhandled) {
    const std::string huge = "99999999999 PRINT\r\n", overflow = test::NumberedLines(10001);
    const std::string any = "*"; // not checked
    struct Row {
        const char *name;
        ToolMode mode;
        std::string target, source; // the source is P.BAS
        RunOutcome outcome;
        std::string titles, lastText, targetBytes;
        std::string von = "0", bis = "99999";
        bool check = true;
    } rows[] = {
        {"REMKILL completes", ToolMode::RemKill, "P.Z", kProgram, RunOutcome::Completed,
         "Quandel, Quandel", "Keinen Fehler gefunden.", kStripped},
        {"REMKILL without checks", ToolMode::RemKill, "P.Z", kProgram, RunOutcome::Completed,
         "Quandel", " fertig ...\r Insgesamt gibt es  0 Zeilennummern\r und  0 Sprungziele",
         kStripped, "0", "99999", false},
        {"REMKILL reports its own failure", ToolMode::RemKill, "P.Z", huge, RunOutcome::Failed,
         "REMKILL-FEHLER", any, any},
        {"REMKILL overflow ends the run", ToolMode::RemKill, "P.Z", overflow, RunOutcome::Failed,
         "F E H L E R", test::kZeilenueberlauf, any},
        {"VARLIST completes, display emptied first", ToolMode::VarList, "P.V", kProgram,
         RunOutcome::Completed, "Quandel", " fertig ...\r Insgesamt gibt es  1 Variable\r",
         "Liste der Variablen: \r\n'      A\r\n"},
        {"VARLIST write failure", ToolMode::VarList, "/dev/full", kProgram, RunOutcome::Failed,
         "Quandel", "Fehler bei Varlist aufgetreten", any},
        {"DENUMBER reads the range as numbers", ToolMode::DeNumber, "P.D",
         "100 A=1\r\n150 B=2\r\n160 GOTO 100\r\n200 C=3\r\n", RunOutcome::Completed, "Quandel",
         " fertig ...\r Insgesamt gibt es  4 Zeilennummern.\r und  1 Sprungziele",
         "100 A=1\r\n    B=2\r\n    GOTO 100\r\n200 C=3\r\n", "&H64", "2E2"},
        {"DENUMBER range beyond 32 bits", ToolMode::DeNumber, "P.D", kProgram, RunOutcome::Failed,
         "Quandel", "Fehler bei Denum aufgetreten", "", "1E20"},
        {"DENUMBER line number beyond 32 bits", ToolMode::DeNumber, "P.D", huge, RunOutcome::Failed,
         "Quandel", "Fehler bei Denum aufgetreten", any},
        {"DENUMBER overflow ends the run", ToolMode::DeNumber, "P.D", overflow, RunOutcome::Failed,
         "F E H L E R", test::kZeilenueberlauf, any},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        if (r.target.starts_with("/dev/") && !fs::exists(r.target))
            continue;
        Tools tools;
        tools.view.shown = {"vom letzten Lauf"};
        const std::string source = tools.dir.Write("P.BAS", r.source);
        const std::string target = r.target.starts_with("/") ? r.target : tools.dir.File(r.target);
        EXPECT_EQ(tools.Run({r.mode, source, target, r.von, r.bis, r.check}), r.outcome);
        std::string titles;
        for (const auto &b : tools.dialogs.boxes)
            titles += (titles.empty() ? "" : ", ") + b.title;
        EXPECT_EQ(titles, r.titles);
        if (r.lastText != any && !tools.dialogs.boxes.empty()) {
            EXPECT_EQ(tools.dialogs.boxes.back().text, r.lastText);
        }
        if (r.targetBytes != any) {
            EXPECT_EQ(test::ReadBytes(target), r.targetBytes);
        }
        EXPECT_EQ(test::ReadBytes(source), r.source);
        if (r.mode == ToolMode::VarList && r.outcome == RunOutcome::Completed) {
            EXPECT_EQ(tools.view.DisplayText(), "A\r\n");
        }
        // Whatever happened, it ended only that run: the next Start works.
        tools.dialogs.boxes.clear();
        const std::string next = tools.dir.Write("N.BAS", kProgram);
        EXPECT_EQ(tools.Run({ToolMode::RemKill, next, tools.dir.File("N.Z")}),
                  RunOutcome::Completed);
        EXPECT_EQ(test::ReadBytes(tools.dir.File("N.Z")), kStripped);
        EXPECT_EQ(test::Boxes(tools.dialogs),
                  test::Shows(test::Info(kStrippedSummary), test::kNoError));
    }
}

TEST(ProposedTargetName, CutsAfterTheFirstDotOfTheName) {
    struct Row {
        const char *source, *letter, *target;
    } rows[] = {
        {R"(C:\PROG\TEST.BAS)", "Z", R"(C:\PROG\TEST.Z)"},
        {R"(C:\PROG\TEST)", "Z", R"(C:\PROG\TESTZ)"},
        {R"(C:\PROG\TEST.BAS)", "", R"(C:\PROG\TEST.)"},
        {R"(C:\PROG\TEST.ALT.BAS)", "V", R"(C:\PROG\TEST.V)"},
        {R"(C:\MEIN.DIR\TEST)", "Z", R"(C:\MEIN.DIR\TESTZ)"},
        {"/home/anna.v2/prog", "V", "/home/anna.v2/progV"},
        {"/home/anna.v2/prog.bas", "D", "/home/anna.v2/prog.D"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ProposedTargetName(r.source, r.letter), r.target) << r.source << " " << r.letter;
}

} // namespace
} // namespace quandel
