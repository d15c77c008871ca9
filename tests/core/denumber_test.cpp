#include "basictools/denumber.h"
#include "basictools/line_model.h"
#include "basictools/tool_files.h"
#include "support/tool_test_support.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using test::Box;
using test::Shows;
using test::Warnung;

Box Summary(int lines, int targets) {
    return test::Info(" fertig ...\r Insgesamt gibt es " + NumberText(lines) +
                      " Zeilennummern.\r und " + NumberText(targets) + " Sprungziele");
}

const char *const kListed =
    "    ON A GOTO 120, 130\r\n    IF B THEN 140\r\n120 A\r\n130 B\r\n140 C\r\n    D\r\n";
const std::string kChecking = Cp1252("Überprüfung der Sprungziele ... \r\n");

// One DENUMBER run into a real target file. The target stays open when the
// run leaves it open, as the dialog closes it.
struct DeNumberRun : test::ToolRig {
    LineModel model;
    TargetFile file;
    std::string targetPath = dir.File("PROG.D");

    void Go(const std::string &source, std::int32_t von, std::int32_t bis) {
        SourceLines lines = SourceLines::FromText(source);
        std::string error;
        ASSERT_TRUE(file.Open(targetPath, error)) << error;
        DeNumber(ctx, model, lines, file, von, bis);
    }
    std::string Target() {
        file.Close();
        return test::ReadBytes(targetPath);
    }
};

TEST(DeNumber, BlanksTheNumbersInsideTheRange) {
    struct Row {
        const char *name, *source, *target;
        std::string display;         // the last text of the display box
        int lines, targets;          // the counts of the summary, the last box
        std::vector<Box> boxes = {}; // before the summary
        std::int32_t von = 100, bis = 200;
    } rows[] = {
        {"range limits stay, lines outside unchanged", "90 A\r100 B\r150 PRINT A\r200 C\r250 D",
         "90 A\r\n100 B\r\n    PRINT A\r\n200 C\r\n250 D\r\n", "    PRINT A\r\n", 5, 0},
        {"only a jump target keeps its number", "10 ON A GOSUB 15, 160, 1500\r150 A\r160 B",
         "10 ON A GOSUB 15, 160, 1500\r\n    A\r\n160 B\r\n", "    A\r\n160 B\r\n", 3, 3},
        {"number glued to the text", "150PRINT A", "    RINT A\r\n", "    RINT A\r\n", 1, 0},
        {"indentation removed in and out of the range", "   160 X=1\r  250 Y=2\r   \r  REM Text",
         "    X=1\r\n250 Y=2\r\n\r\nREM Text\r\n", "    X=1\r\n", 2, 0},
        {"jumps of unnumbered lines count for nothing", "GOTO 150\r150 A", "GOTO 150\r\n    A\r\n",
         "    A\r\n", 1, 0},
        {"numbered but uncounted line is copied as it is", "150 A\r.4 X\r160 B",
         "    A\r\n.4 X\r\n    B\r\n", "    A\r\n    B\r\n", 2, 0,
         Shows(Warnung("Zeile ohne Zeilennummer\r.4 X"))},
        {"no blank, zero and negative numbers are not numbered", "150\r-150 X\r0 X",
         "150\r\n-150 X\r\n0 X\r\n", "", 0, 0, Shows(), -200},
        {"warnings of both passes in order", "120 GOTO X\r110 Y", "    GOTO X\r\n    Y\r\n",
         "    GOTO X\r\n    Y\r\n", 2, 0,
         Shows(Warnung("Sprungziel fehlt\r120 GOTO X"),
               Warnung("falsche Zeilennummer:  120   110\r110 Y"))},
        // Lines in the range are shown whether blanked or kept as jump targets.
        {"list targets and THEN",
         "100 ON A GOTO 120, 130\r110 IF B THEN 140\r120 A\r130 B\r140 C\r150 D", kListed, kListed,
         6, 3, Shows(), 0, 99999},
    };
    for (const Row &r : rows) {
        DeNumberRun run;
        run.Go(r.source, r.von, r.bis);
        EXPECT_FALSE(run.file.IsOpen()) << r.name;
        EXPECT_EQ(run.Target(), r.target) << r.name;
        auto boxes = r.boxes;
        boxes.push_back(Summary(r.lines, r.targets));
        EXPECT_EQ(test::Boxes(run.dialogs), boxes) << r.name;
        EXPECT_EQ(run.view.shown, (std::vector{kChecking, r.display})) << r.name;
    }
}

TEST(DeNumber, EventsRunInTheFirstPassOnlyAndAKeyThereEndsTheRun) {
    DeNumberRun run;
    run.Go("   160 X=1\r\n\r\n170 Y\r\n", 0, 99999);
    EXPECT_EQ(run.events.calls, 3);
    EXPECT_EQ(run.view.labels, (std::vector<std::string>{"   160 X=1", "", "170 Y"})); // raw

    DeNumberRun stopped;
    stopped.events.stopAt = 1;
    stopped.Go("150 A\r\n160 B\r\n", 100, 200);
    EXPECT_TRUE(stopped.file.IsOpen()); // the dialog closes it
    EXPECT_EQ(stopped.Target(), "");
    EXPECT_TRUE(stopped.dialogs.boxes.empty());
    EXPECT_EQ(stopped.view.shown, std::vector{kChecking});
    EXPECT_EQ(stopped.view.labels, std::vector<std::string>{"150 A"});
}

TEST(DeNumber, DisplayGetsTheBlankedLinesInChunks) {
    std::string source, first, rest; // blanked lines of 32 characters
    for (int n = 1000; n < 1100; ++n) {
        const std::string tail = "PRINT " + std::string(19, 'A') + "\r\n";
        source += DecimalText(n) + " " + tail;
        (n < 1063 ? first : rest) += "     " + tail; // 63 lines are more than 2000
    }
    DeNumberRun run;
    run.Go(source, 0, 99999);
    EXPECT_EQ(run.Target(), first + rest);
    EXPECT_EQ(run.view.shown, (std::vector{kChecking, kChecking + first, rest}));
}

} // namespace
} // namespace quandel
