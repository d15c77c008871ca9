#include "basictools/line_model.h"
#include "basictools/remkill.h"
#include "basictools/tool_context.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "basictools/zahl_wert.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "support/fakes.h"
#include "support/scripted_dialogs.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace quandel {
namespace {

struct Box {
    std::string text, title;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
};

void ExpectBoxes(const test::ScriptedDialogs &dialogs, const std::vector<Box> &expected,
                 const std::string &name) {
    ASSERT_EQ(dialogs.boxes.size(), expected.size()) << name;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs.boxes[i].text, expected[i].text) << name << " box " << i;
        EXPECT_EQ(dialogs.boxes[i].title, expected[i].title) << name << " box " << i;
        EXPECT_EQ(dialogs.boxes[i].icon, expected[i].icon) << name << " box " << i;
        EXPECT_EQ(dialogs.boxes[i].buttons, expected[i].buttons) << name << " box " << i;
    }
}

Box Summary(int lines, int targets) {
    return {" fertig ...\r Insgesamt gibt es " + NumberText(lines) + " Zeilennummern\r und " +
                NumberText(targets) + " Sprungziele",
            kAppTitle};
}
const Box kNoError{"Keinen Fehler gefunden.", kAppTitle};
const Box kQuestion{"Sollen die falschen Befehlszeilen gesucht werden ?", "", BoxIcon::None,
                    BoxButtons::YesNo};
Box Warnung(const std::string &text) {
    return {text, "WARNUNG"};
}
Box Falsch(const std::string &line) {
    return {line, "Falsche Zeile", BoxIcon::Exclamation};
}
Box Fehler(const std::string &text) {
    return {text, "REMKILL-FEHLER", BoxIcon::Critical, BoxButtons::Ok};
}
std::string FailureText(const char *number) {
    try {
        ZahlWert(number);
    } catch (const ToolFailure &f) {
        return f.what();
    }
    return "no failure";
}

// Keeps every text the display box was given.
class RecordingView final : public ToolView {
public:
    std::vector<std::string> shown;
    std::string DisplayText() const override { return shown.empty() ? "" : shown.back(); }
    void SetDisplayText(const std::string &text) override { shown.push_back(text); }
    void SetLineLabel(const std::string &) override {}
};

// Sets StopRequested when the given call lets the events run (a key press).
class StoppingPump final : public EventPump {
public:
    StoppingPump(SharedFlags &flags, int stopAt) : flags_(flags), stopAt_(stopAt) {}
    int calls = 0;
    void ProcessEvents() override {
        if (++calls == stopAt_)
            flags_.StopRequested = true;
    }

private:
    SharedFlags &flags_;
    int stopAt_;
};

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("quandel_remkill_" + std::to_string(rd()) + "_" + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Write(const std::string &name, const std::string &bytes) const {
        const auto path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Path(const std::string &name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One REMKILL run from a source file in a fresh folder to its target.
struct RemKillRun {
    TempDir dir;
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    RecordingView view;
    std::string targetPath = dir.Path("PROG.Z");
    std::string target;

    void Go(LineModel &model, const std::string &source, EventPump &events, bool lineChecks = true,
            bool openTarget = true) {
        std::string error;
        auto lines = SourceLines::Open(dir.Write("PROG.BAS", source), error);
        ASSERT_TRUE(lines) << error;
        TargetFile file;
        if (openTarget) {
            ASSERT_TRUE(file.Open(targetPath, error)) << error;
        }
        ToolContext ctx{dialogs, events, flags, view};
        RemKill(ctx, model, *lines, file, targetPath, lineChecks);
        EXPECT_FALSE(file.IsOpen()); // closed on every way out
        target = ReadBytes(targetPath);
    }
};

TEST(RemKill, CopiesWithoutCommentsAndChecks) {
    struct Row {
        const char *name;
        std::string source;
        std::vector<BoxAnswer> answers;
        bool lineChecks;
        std::string target;
        std::vector<Box> boxes;
    } rows[] = {
        {"comments and blank lines only",
         "' Kopf\r\n\r\n   \r\n; nur Kommentar\r\n",
         {},
         true,
         "",
         {Summary(0, 0), kNoError}},
        {"REM kept, comment cut",
         "10 REM Kopf\r\n20 PRINT A ' x\r\n",
         {},
         true,
         "10 REM Kopf\r\n20 PRINT A\r\n",
         {Summary(2, 0), kNoError}},
        {"indented, CR-only and LF inside",
         "   10 X=1 :REM eins\r20 PRINT A\nB\r\n",
         {},
         true,
         "10 X=1\r\n20 PRINT A\nB\r\n",
         {Summary(2, 0), kNoError}},
        {"targets present",
         "10 GOSUB 30\r\n20 GOTO 10\r\n30 RETURN\r\n",
         {},
         true,
         "10 GOSUB 30\r\n20 GOTO 10\r\n30 RETURN\r\n",
         {Summary(3, 2), kNoError}},
        {"missing target, search the lines",
         "10 GOTO 500\r\n20 GOSUB 10 ' sub\r\n30 ON A GOTO 10, 500\r\n40 PRINT 500\r\n",
         {BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::Yes},
         true,
         "10 GOTO 500\r\n20 GOSUB 10\r\n30 ON A GOTO 10, 500\r\n40 PRINT 500\r\n",
         {Summary(4, 2),
          {"Sprungziel  500 nicht vorhanden.\r", kAppTitle},
          kQuestion,
          Falsch("10 GOTO 500"),
          Falsch("30 ON A GOTO 10, 500")}},
        {"missing target, no search",
         "10 GOTO 500\r\n",
         {BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::No},
         true,
         "10 GOTO 500\r\n",
         {Summary(1, 1), {"Sprungziel  500 nicht vorhanden.\r", kAppTitle}, kQuestion}},
        {"warnings in the order of the lines",
         "10 A=1+\r\n20 B=2-\r\n20 C=3\r\nPRINT X\r\n30 GOTO\r\n40 GOTO X\r\n",
         {},
         true,
         "10 A=1\r\n20 B=2\r\n20 C=3\r\nPRINT X\r\n30 GOTO\r\n40 GOTO X\r\n",
         {{"20 B=2-\n\r\n\rSonderzeichen am Ende!\n\r" + Cp1252("Bitte überprüfen!"), kAppTitle,
           BoxIcon::Exclamation},
          Warnung("falsche Zeilennummer:  20   20\r20 C=3"),
          Warnung("Zeile ohne Zeilennummer\rPRINT X"),
          Warnung("Fehler am Zeilenende\r30 GOTO"),
          Warnung("Sprungziel fehlt\r40 GOTO X"),
          Summary(5, 0),
          kNoError}},
        {"missing target and the 20 PRINT 500 line",
         "10 GOTO 500\r\n20 PRINT 500: IF A THEN B=1\r\n",
         {},
         true,
         "10 GOTO 500\r\n20 PRINT 500: IF A THEN B=1\r\n",
         {Summary(2, 1),
          {"Sprungziel  500 nicht vorhanden.\r", kAppTitle},
          kQuestion,
          Falsch("10 GOTO 500")}},
        {"without line checks",
         "10 GOTO 500\r\n5 X ' y\r\nPRINT\r\n",
         {},
         false,
         "10 GOTO 500\r\n5 X\r\nPRINT\r\n",
         {Summary(0, 0)}},
        {"line number beyond 32 bits",
         "10 A\r\n99999999999 B\r\n30 C\r\n",
         {},
         true,
         "10 A\r\n99999999999 B\r\n",
         {Fehler(FailureText("99999999999 "))}},
        {"jump target beyond 32 bits",
         "10 GOTO 99999999999\r\n20 X\r\n",
         {},
         true,
         "10 GOTO 99999999999\r\n",
         {Fehler(FailureText("99999999999"))}},
    };
    for (const Row &r : rows) {
        LineModel model;
        test::CountingEventPump events;
        RemKillRun run;
        run.dialogs.answers.assign(r.answers.begin(), r.answers.end());
        run.Go(model, r.source, events, r.lineChecks);
        EXPECT_EQ(run.target, r.target) << r.name;
        ExpectBoxes(run.dialogs, r.boxes, r.name);
    }
}

TEST(RemKill, EventsRunAfterEveryLineAndAKeyStopsTheReading) {
    struct Row {
        const char *name;
        int stopAt; // 0: never
        std::string target;
        int calls;
        std::vector<Box> boxes;
    } rows[] = {
        {"no stop", 0, "10 GOTO 40\r\n20 A\r\n40 B\r\n", 5, {Summary(3, 1), kNoError}},
        {"stop after the comment line",
         2,
         "10 GOTO 40\r\n",
         2,
         {Summary(1, 1),
          {"Sprungziel  40 nicht vorhanden.\r", kAppTitle},
          kQuestion,
          Falsch("10 GOTO 40")}},
        {"stop after the first line",
         1,
         "10 GOTO 40\r\n",
         1,
         {Summary(1, 1),
          {"Sprungziel  40 nicht vorhanden.\r", kAppTitle},
          kQuestion,
          Falsch("10 GOTO 40")}},
    };
    for (const Row &r : rows) {
        LineModel model;
        RemKillRun run;
        StoppingPump events(run.flags, r.stopAt);
        run.Go(model, "10 GOTO 40\r\n' Kommentar\r\n20 A\r\n\r\n40 B\r\n", events);
        EXPECT_EQ(run.target, r.target) << r.name;
        EXPECT_EQ(events.calls, r.calls) << r.name;
        ExpectBoxes(run.dialogs, r.boxes, r.name);
    }
}

TEST(RemKill, DisplayGetsTheLinesInChunks) {
    std::string source;
    std::vector<std::string> lines;
    for (int n = 1000; n < 1100; ++n) {
        lines.push_back(DecimalText(n) + " PRINT " + std::string(19, 'A')); // 30 characters
        source += lines.back() + "\r\n";
    }
    const auto join = [&](std::size_t from, std::size_t to) {
        std::string text;
        for (std::size_t i = from; i < to; ++i)
            text += lines[i] + "\r\n";
        return text;
    };
    LineModel model;
    test::CountingEventPump events;
    RemKillRun run;
    run.Go(model, source, events);
    // 63 lines make 2016 characters, more than 2000: the 64th line moves
    // them into the display box first; at the end only the rest is shown.
    ASSERT_EQ(run.view.shown.size(), 2u);
    EXPECT_EQ(run.view.shown[0], join(0, 63));
    EXPECT_EQ(run.view.shown[1], join(63, 100));
    EXPECT_EQ(run.target, join(0, 100));
}

TEST(RemKill, TargetThatCannotBeWrittenEndsTheRunWithItsFailure) {
    LineModel model;
    test::CountingEventPump events;
    RemKillRun run;
    run.Go(model, "' nur Kommentar\r\n10 A\r\n20 B\r\n", events, true, false);
    ASSERT_EQ(run.dialogs.boxes.size(), 1u);
    EXPECT_EQ(run.dialogs.boxes[0].title, "REMKILL-FEHLER");
    EXPECT_EQ(run.dialogs.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(run.dialogs.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_FALSE(run.dialogs.boxes[0].text.empty());
    EXPECT_EQ(events.calls, 1); // only the comment line got through
}

TEST(RemKill, OverflowEndsOnlyTheRun) {
    struct Row {
        const char *name;
        std::string source;
        std::string box;
        int events;
    } rows[] = {
        {"10001 line numbers", "", Cp1252("Zeilenüberlauf\rDas Programm wird abgebrochen!"), 10000},
        {"10001 jump targets", "",
         Cp1252("Zeilenüberlauf wegen > 1000 Sprüngen\r"
                "Das Programm wird abgebrochen!"),
         1},
    };
    for (int n = 1; n <= 10001; ++n)
        rows[0].source += DecimalText(n) + " X\r\n";
    rows[1].source = "10 ON A GOTO 1";
    for (int t = 2; t <= 5000; ++t)
        rows[1].source += "," + DecimalText(t);
    rows[1].source += "\r\n20 ON A GOSUB 5001";
    for (int t = 5002; t <= 10001; ++t)
        rows[1].source += ", " + DecimalText(t);
    rows[1].source += "\r\n30 END\r\n";

    for (const Row &r : rows) {
        LineModel model;
        test::CountingEventPump events;
        RemKillRun run;
        run.Go(model, r.source, events);
        ExpectBoxes(run.dialogs, {{r.box, "F E H L E R", BoxIcon::Critical, BoxButtons::Ok}},
                    r.name);
        EXPECT_EQ(events.calls, r.events) << r.name;
        // The line that overflowed has been written; the file is complete.
        const std::string lastWritten = r.events == 1 ? "10001\r\n" : "10001 X\r\n";
        ASSERT_GE(run.target.size(), lastWritten.size()) << r.name;
        EXPECT_EQ(run.target.substr(run.target.size() - lastWritten.size()), lastWritten) << r.name;
    }
}

TEST(RemKill, EachRunStartsWithFreshCountsAndTheWarningSwitchCarriesOver) {
    LineModel model;
    test::CountingEventPump events;
    {
        RemKillRun first;
        first.dialogs.answers = {BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::No};
        first.Go(model, "10 GOTO 500\r\n20 GOSUB 600\r\n", events);
        EXPECT_EQ(model.FalscheZielAnzahl, 2);
    }
    RemKillRun second;
    second.flags.SonderzeichenWarnungAktiv = true; // armed by an earlier line
    second.Go(model, "30 GOSUB 40+\r\n40 RETURN\r\n", events);
    ExpectBoxes(second.dialogs,
                {{"30 GOSUB 40+\n\r\n\rSonderzeichen am Ende!\n\r" + Cp1252("Bitte überprüfen!"),
                  kAppTitle, BoxIcon::Exclamation},
                 Summary(2, 1),
                 kNoError},
                "second run");
    EXPECT_EQ(model.FalscheZielAnzahl, 0);
    EXPECT_EQ(model.Sprungbefehle[0], "GOTO");
    EXPECT_EQ(model.Sprungbefehle[3], "ELSE");
    EXPECT_EQ(model.Sprungbefehle[4], "");
}

} // namespace
} // namespace quandel
