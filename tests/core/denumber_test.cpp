#include "basictools/denumber.h"
#include "basictools/line_model.h"
#include "basictools/tool_context.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
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
    return {" fertig ...\r Insgesamt gibt es " + NumberText(lines) + " Zeilennummern.\r und " +
                NumberText(targets) + " Sprungziele",
            kAppTitle};
}
Box Warnung(const std::string &text) {
    return {text, "WARNUNG"};
}

const std::string kChecking = "\xDC"
                              "berpr\xFC"
                              "fung der Sprungziele ... \r\n";

class RecordingView final : public ToolView {
public:
    std::vector<std::string> shown, labels;
    std::string DisplayText() const override { return shown.empty() ? "" : shown.back(); }
    void SetDisplayText(const std::string &text) override { shown.push_back(text); }
    void SetLineLabel(const std::string &text) override { labels.push_back(text); }
};

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
               ("quandel_denumber_" + std::to_string(rd()) + "_" + std::to_string(rd()));
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

// One DENUMBER run from a source file in a fresh folder to its target. The
// target stays open when the run leaves it open, as the dialog closes it.
struct DeNumberRun {
    TempDir dir;
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    RecordingView view;
    LineModel model;
    TargetFile file;
    std::string targetPath = dir.Path("PROG.D");

    void Go(const std::string &source, EventPump &events, std::int32_t von, std::int32_t bis) {
        std::string error;
        auto lines = SourceLines::Open(dir.Write("PROG.BAS", source), error);
        ASSERT_TRUE(lines) << error;
        ASSERT_TRUE(file.Open(targetPath, error)) << error;
        ToolContext ctx{dialogs, events, flags, view};
        DeNumber(ctx, model, *lines, file, von, bis);
    }
    std::string Target() {
        file.Close();
        return ReadBytes(targetPath);
    }
};

TEST(DeNumber, BlanksTheNumbersInsideTheRange) {
    struct Row {
        const char *name;
        std::string source;
        std::int32_t von, bis;
        std::string target;
        std::vector<Box> boxes;
        std::string display; // the last text of the display box
    } rows[] = {
        {"range limits stay, lines outside unchanged",
         "90 A\r\n100 B\r\n150 PRINT A\r\n200 C\r\n250 D\r\n",
         100,
         200,
         "90 A\r\n100 B\r\n    PRINT A\r\n200 C\r\n250 D\r\n",
         {Summary(5, 0)},
         "    PRINT A\r\n"},
        {"jump target keeps its number",
         "10 GOSUB 150\r\n150 PRINT A\r\n160 RETURN\r\n",
         100,
         200,
         "10 GOSUB 150\r\n150 PRINT A\r\n    RETURN\r\n",
         {Summary(3, 1)},
         "150 PRINT A\r\n    RETURN\r\n"},
        {"number glued to the text",
         "150PRINT A\r\n",
         100,
         200,
         "    RINT A\r\n",
         {Summary(1, 0)},
         "    RINT A\r\n"},
        {"indentation removed in and out of the range",
         "   160 X=1\r\n  250 Y=2\r\n   \r\n  REM Text\r\n",
         100,
         200,
         "    X=1\r\n250 Y=2\r\n\r\nREM Text\r\n",
         {Summary(2, 0)},
         "    X=1\r\n"},
        {"unnumbered line jumps count for nothing",
         "GOTO 150\r\n150 A\r\n",
         100,
         200,
         "GOTO 150\r\n    A\r\n",
         {Summary(1, 0)},
         "    A\r\n"},
        {"number rounding to 0 is copied as it is",
         "150 A\r\n.4 X\r\n160 B\r\n",
         100,
         200,
         "    A\r\n.4 X\r\n    B\r\n",
         {Warnung("Zeile ohne Zeilennummer\r.4 X"), Summary(2, 0)},
         "    A\r\n    B\r\n"},
        {"number without text is copied as it is",
         "1E9 X\r\n",
         100,
         2000000000,
         "1E9 X\r\n",
         {Warnung(" 1000000000 Zeilennummer ohne Text \r1E9 X"), Summary(0, 0)},
         ""},
        {"no blank, no number; negative numbers are not numbered",
         "150\r\n-150 X\r\n",
         -200,
         200,
         "150\r\n-150 X\r\n",
         {Summary(0, 0)},
         ""},
        {"warnings of both passes in order",
         "120 GOTO X\r\n110 Y\r\n",
         100,
         200,
         "    GOTO X\r\n    Y\r\n",
         {Warnung("Sprungziel fehlt\r120 GOTO X"),
          Warnung("falsche Zeilennummer:  120   110\r110 Y"), Summary(2, 0)},
         "    GOTO X\r\n    Y\r\n"},
        {"list targets and THEN",
         "100 ON A GOTO 120, 130\r\n110 IF B THEN 140\r\n120 A\r\n130 B\r\n140 C\r\n150 D\r\n",
         0,
         99999,
         "    ON A GOTO 120, 130\r\n    IF B THEN 140\r\n120 A\r\n130 B\r\n140 C\r\n    D\r\n",
         {Summary(6, 3)},
         // in the range: shown whether blanked or kept as a jump target
         "    ON A GOTO 120, 130\r\n    IF B THEN 140\r\n120 A\r\n130 B\r\n140 C\r\n    D\r\n"},
        {"empty range", "150 A\r\n", 150, 151, "150 A\r\n", {Summary(1, 0)}, ""},
        {"LF inside kept, CR-only lines",
         "150 A\nB\r160 C",
         100,
         200,
         "    A\nB\r\n    C\r\n",
         {Summary(2, 0)},
         "    A\nB\r\n    C\r\n"},
    };
    for (const Row &r : rows) {
        test::CountingEventPump events;
        DeNumberRun run;
        run.Go(r.source, events, r.von, r.bis);
        EXPECT_FALSE(run.file.IsOpen()) << r.name;
        EXPECT_EQ(run.Target(), r.target) << r.name;
        ExpectBoxes(run.dialogs, r.boxes, r.name);
        ASSERT_EQ(run.view.shown.size(), 2u) << r.name;
        EXPECT_EQ(run.view.shown[0], kChecking) << r.name;
        EXPECT_EQ(run.view.shown[1], r.display) << r.name;
    }
}

TEST(DeNumber, EventsRunInTheFirstPassOnlyAndTheLabelShowsTheRawLine) {
    test::CountingEventPump events;
    DeNumberRun run;
    run.Go("   160 X=1\r\n\r\n170 Y\r\n", events, 0, 99999);
    EXPECT_EQ(events.calls, 3);
    EXPECT_EQ(run.view.labels, (std::vector<std::string>{"   160 X=1", "", "170 Y"}));
}

TEST(DeNumber, StopInTheFirstPassLeavesTheTargetEmpty) {
    DeNumberRun run;
    StoppingPump events(run.flags, 1);
    run.Go("150 A\r\n160 B\r\n", events, 100, 200);
    EXPECT_TRUE(run.file.IsOpen()); // the dialog closes it
    EXPECT_EQ(run.Target(), "");
    EXPECT_TRUE(run.dialogs.boxes.empty());
    EXPECT_EQ(run.view.shown, std::vector<std::string>{kChecking});
    EXPECT_EQ(run.view.labels, std::vector<std::string>{"150 A"});
}

TEST(DeNumber, DisplayGetsTheBlankedLinesInChunks) {
    std::string source, expected, blanked;
    std::vector<std::string> shown;
    for (int n = 1000; n < 1100; ++n) {
        const std::string tail = "PRINT " + std::string(19, 'A');
        source += DecimalText(n) + " " + tail + "\r\n";
        expected += "     " + tail + "\r\n";
        if (n == 1063) { // 63 lines of 32 characters are more than 2000
            shown.push_back(kChecking + expected.substr(0, expected.size() - 32));
            blanked.clear();
        }
        blanked += "     " + tail + "\r\n";
    }
    test::CountingEventPump events;
    DeNumberRun run;
    run.Go(source, events, 0, 99999);
    EXPECT_EQ(run.Target(), expected);
    ASSERT_EQ(run.view.shown.size(), 3u);
    EXPECT_EQ(run.view.shown[1], shown[0]);
    EXPECT_EQ(run.view.shown[2], blanked);
}

TEST(DeNumber, FailuresEndTheRun) {
    struct Row {
        const char *name;
        std::string source;
        std::string box; // shown before the failure, empty for none
        bool overflow;
    } rows[] = {
        {"line number beyond 32 bits", "10 A\r\n99999999999 X\r\n", "", false},
        {"jump target beyond 32 bits", "10 GOTO 99999999999\r\n", "", false},
        {"10001 line numbers", "", Cp1252("Zeilenüberlauf\rDas Programm wird abgebrochen!"), true},
    };
    for (int n = 1; n <= 10001; ++n)
        rows[2].source += DecimalText(n) + " X\r\n";
    for (const Row &r : rows) {
        test::CountingEventPump events;
        DeNumberRun run;
        if (r.overflow)
            EXPECT_THROW(run.Go(r.source, events, 0, 99999), ToolOverflow) << r.name;
        else
            EXPECT_THROW(run.Go(r.source, events, 0, 99999), ToolFailure) << r.name;
        if (r.box.empty())
            ExpectBoxes(run.dialogs, {}, r.name);
        else
            ExpectBoxes(run.dialogs, {{r.box, "F E H L E R", BoxIcon::Critical}}, r.name);
    }
}

TEST(ZeilennummerLoeschen, BlanksNumberTextWidthUnlessJumpTarget) {
    struct Row {
        const char *name, *line;
        std::int32_t number;
        std::vector<std::int32_t> targets;
        const char *after;
    } rows[] = {
        {"three digits and the blank", "150 PRINT A", 150, {}, "    PRINT A"},
        {"jump target", "150 PRINT A", 150, {10, 150}, "150 PRINT A"},
        {"other targets only", "150 PRINT A", 150, {15, 1500}, "    PRINT A"},
        {"glued text loses a letter", "150PRINT A", 150, {}, "    RINT A"},
        {"shorter line than the number", "15", 150, {}, "  "},
        {"one digit", "5 X", 5, {}, "  X"},
    };
    for (const Row &r : rows) {
        test::ScriptedDialogs dialogs;
        LineModel model;
        model.BeginRun();
        for (std::int32_t t : r.targets)
            model.SprungzielMerken(t, dialogs);
        model.ZeilenNr[0] = r.number;
        model.ZeilenAnzahl = 1;
        model.Zeile = r.line;
        ZeilennummerLoeschen(model);
        EXPECT_EQ(model.Zeile, r.after) << r.name;
    }
    LineModel empty; // nothing recorded: nothing to blank
    empty.Zeile = "150 A";
    ZeilennummerLoeschen(empty);
    EXPECT_EQ(empty.Zeile, "150 A");
}

TEST(ZeileNummeriert, NumberBeforeTheFirstBlankAboveZero) {
    struct Row {
        const char *name, *line;
        bool numbered;
    } rows[] = {
        {"plain", "10 A", true},    {"glued", "150PRINT A", true}, {"fraction", ".4 X", true},
        {"no blank", "150", false}, {"zero", "0 X", false},        {"negative", "-5 X", false},
        {"text", "REM 10", false},  {"empty", "", false},          {"huge", "1E99 X", true},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ZeileNummeriert(r.line), r.numbered) << r.name;
}

} // namespace
} // namespace quandel
