#include "basictools/line_model.h"
#include "basictools/remkill.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "basictools/zahl_wert.h"
#include "support/tool_test_support.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using test::Box;
using test::Falsch;
using test::Info;
using test::kNoError;
using test::kQuestion;
using test::Shows;
using test::Warnung;

Box Summary(int lines, int targets) {
    return Info(" fertig ...\r Insgesamt gibt es " + NumberText(lines) + " Zeilennummern\r und " +
                NumberText(targets) + " Sprungziele");
}
Box Missing(const std::vector<int> &targets) {
    std::string report;
    for (int t : targets)
        report += "Sprungziel " + NumberText(t) + " nicht vorhanden.\r";
    return Info(report);
}
// The box of a run-time failure, here the one of the number in `text`.
Box RemKillFehler(const char *text) {
    try {
        ZahlWert(text);
    } catch (const ToolFailure &f) {
        return {f.what(), "REMKILL-FEHLER", BoxIcon::Critical};
    }
    return {};
}

// One REMKILL run into a real target file, which the run re-reads.
struct RemKillRun : test::ToolRig {
    std::string targetPath = dir.File("PROG.Z");
    std::string Go(LineModel &model, const std::string &source, bool lineChecks = true,
                   bool openTarget = true) {
        SourceLines lines = SourceLines::FromText(source);
        TargetFile file;
        std::string error;
        if (openTarget) {
            EXPECT_TRUE(file.Open(targetPath, error)) << error;
        }
        RemKill(ctx, model, lines, file, targetPath, lineChecks);
        EXPECT_FALSE(file.IsOpen()); // closed on every way out
        return test::ReadBytes(targetPath);
    }
};

TEST(RemKill, CopiesWithoutCommentsAndChecks) {
    const std::string jumps =
        "10 GOTO 500\r\n20 GOSUB 10 ' sub\r\n30 ON A GOTO 10, 500\r\n"
        "40 PRINT 500: IF A THEN B=1\r\n50 GOTO 5000\r\n60 ON A GOTO 500, 600";
    struct Row {
        const char *name;
        std::string source, target;
        std::vector<Box> boxes;
        bool lineChecks = true, answerYes = true; // to the question about the wrong lines
        int stopAt = 0;                           // the event pump call that acts as a key press
    } rows[] = {
        {"comments and blank lines only", "' Kopf\r\n\r\n   \r\n; nur Kommentar\r\n", "",
         Shows(Summary(0, 0), kNoError)},
        {"REM kept, comment cut", "10 REM Kopf\r\n20 PRINT A ' x\r\n",
         "10 REM Kopf\r\n20 PRINT A\r\n", Shows(Summary(2, 0), kNoError)},
        {"indented, CR-only and LF line ends", "   10 X=1 :REM eins\r20 PRINT A\n30 B\r\n",
         "10 X=1\r\n20 PRINT A\r\n30 B\r\n", Shows(Summary(3, 0), kNoError)},
        {"a file written on Linux", "10 PRINT \"A\" ' Kommentar\n20 A=A+1\n30 END\n",
         "10 PRINT \"A\"\r\n20 A=A+1\r\n30 END\r\n", Shows(Summary(3, 0), kNoError)},
        {"targets present, one used twice", "10 GOSUB 30\r\n20 GOTO 10\r\n25 GOSUB 30\r\n30 END",
         "10 GOSUB 30\r\n20 GOTO 10\r\n25 GOSUB 30\r\n30 END\r\n", Shows(Summary(4, 2), kNoError)},
        // " 500" occurs in " 5000"; a line is shown once; "THEN B=1" is no jump.
        {"missing targets, Yes: each line that uses one", jumps,
         "10 GOTO 500\r\n20 GOSUB 10\r\n30 ON A GOTO 10, 500\r\n40 PRINT 500: IF A THEN B=1\r\n"
         "50 GOTO 5000\r\n60 ON A GOTO 500, 600\r\n",
         Shows(Summary(6, 4), Missing({500, 5000, 600}), kQuestion, Falsch("10 GOTO 500"),
               Falsch("30 ON A GOTO 10, 500"), Falsch("50 GOTO 5000"),
               Falsch("60 ON A GOTO 500, 600"))},
        {"missing in order of finding, No: no search", "10 GOTO 700\r\n20 GOTO -3\r\n",
         "10 GOTO 700\r\n20 GOTO -3\r\n", Shows(Summary(2, 2), Missing({700, -3}), kQuestion), true,
         false},
        {"no line numbers: no target is missing", "GOTO 500\r\n", "GOTO 500\r\n",
         Shows(Warnung("Zeile ohne Zeilennummer\rGOTO 500"), Summary(0, 1), kNoError)},
        {"warnings in the order of the lines",
         "10 A=1+\r\n20 B=2-\r\n20 C=3\r\nPRINT X\r\n30 GOTO\r\n40 GOTO X\r\n",
         "10 A=1\r\n20 B=2\r\n20 C=3\r\nPRINT X\r\n30 GOTO\r\n40 GOTO X\r\n",
         Shows(test::Sonder("20 B=2-"), Warnung("falsche Zeilennummer:  20   20\r20 C=3"),
               Warnung("Zeile ohne Zeilennummer\rPRINT X"),
               Warnung("Fehler am Zeilenende\r30 GOTO"), Warnung("Sprungziel fehlt\r40 GOTO X"),
               Summary(5, 0), kNoError)},
        {"without line checks", "10 GOTO 500\r\n5 X ' y\r\nPRINT\r\n",
         "10 GOTO 500\r\n5 X\r\nPRINT\r\n", Shows(Summary(0, 0)), false},
        {"line number beyond 32 bits", "10 A\r\n99999999999 B\r\n30 C\r\n",
         "10 A\r\n99999999999 B\r\n", Shows(RemKillFehler("99999999999 "))},
        {"jump target beyond 32 bits", "10 GOTO 99999999999\r\n20 X\r\n", "10 GOTO 99999999999\r\n",
         Shows(RemKillFehler("99999999999"))},
        {"a key stops the reading; summary and check follow",
         "10 GOTO 40\r\n' Kommentar\r\n20 A\r\n\r\n40 B\r\n", "10 GOTO 40\r\n",
         Shows(Summary(1, 1), Missing({40}), kQuestion, Falsch("10 GOTO 40")), true, true, 2},
    };
    for (const Row &r : rows) {
        LineModel model;
        RemKillRun run;
        if (!r.answerYes)
            run.dialogs.answers = {BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::No};
        run.events.stopAt = r.stopAt;
        EXPECT_EQ(run.Go(model, r.source, r.lineChecks), r.target) << r.name;
        EXPECT_EQ(test::Boxes(run.dialogs), r.boxes) << r.name;
        // Events run after every line read, blank and comment lines too.
        const int lines = int(SourceLines::FromText(r.source).LineCount());
        if (r.boxes.back().title != "REMKILL-FEHLER") {
            EXPECT_EQ(run.events.calls, r.stopAt ? r.stopAt : lines) << r.name;
        }
    }
}

TEST(RemKill, DisplayGetsTheLinesInChunks) {
    std::string first, rest; // 30 characters and CR LF a line
    for (int n = 1000; n < 1100; ++n)
        (n < 1063 ? first : rest) += DecimalText(n) + " PRINT " + std::string(19, 'A') + "\r\n";
    LineModel model;
    RemKillRun run;
    // 63 lines make 2016 characters, more than 2000: the 64th line moves
    // them into the display box first; at the end only the rest is shown.
    EXPECT_EQ(run.Go(model, first + rest), first + rest);
    EXPECT_EQ(run.view.shown, (std::vector{first, rest}));
}

TEST(RemKill, TargetThatCannotBeWrittenEndsTheRunWithItsFailure) {
    LineModel model;
    RemKillRun run;
    run.Go(model, "' nur Kommentar\r\n10 A\r\n20 B\r\n", true, false);
    ASSERT_EQ(run.dialogs.boxes.size(), 1u);
    EXPECT_EQ(run.dialogs.boxes[0].title, "REMKILL-FEHLER");
    EXPECT_EQ(run.dialogs.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(run.events.calls, 1); // only the comment line got through
}

TEST(RemKill, OverflowEndsOnlyTheRun) {
    // 10001 distinct targets; 1 comes again when the table is full already.
    std::string targets = "10 ON A GOTO 1";
    for (int t = 2; t <= 5000; ++t)
        targets += "," + DecimalText(t);
    targets += "\r\n20 ON A GOSUB 5001";
    for (int t = 5002; t <= 10000; ++t)
        targets += ", " + DecimalText(t);
    targets += "\r\n25 GOTO 1\r\n30 GOTO 10001\r\n40 END\r\n";
    struct Row {
        const char *name;
        std::string source, box, lastWritten;
        int events;
    } rows[] = {
        {"10001 line numbers", test::NumberedLines(10001), test::kZeilenueberlauf, "10001 X\r\n",
         10000},
        {"10001 jump targets", targets,
         Cp1252("Zeilenüberlauf wegen > 1000 Sprüngen\rDas Programm wird abgebrochen!"),
         "30 GOTO 10001\r\n", 3},
    };
    for (const Row &r : rows) {
        LineModel model;
        RemKillRun run;
        const std::string target = run.Go(model, r.source);
        EXPECT_EQ(test::Boxes(run.dialogs), std::vector{test::Fehler(r.box)}) << r.name;
        EXPECT_EQ(run.events.calls, r.events) << r.name;
        EXPECT_TRUE(target.ends_with(r.lastWritten)) << r.name; // written up to the overflow
    }
}

TEST(RemKill, EachRunStartsWithFreshCountsAndTheWarningSwitchCarriesOver) {
    LineModel model;
    {
        RemKillRun first;
        first.dialogs.answers = {BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::No};
        first.Go(model, "10 GOTO 500\r\n20 GOSUB 600\r\n");
        EXPECT_EQ(model.FalscheZielAnzahl, 2);
    }
    RemKillRun second;
    second.flags.SonderzeichenWarnungAktiv = true; // armed by an earlier line
    second.Go(model, "30 GOSUB 40+\r\n40 RETURN\r\n");
    EXPECT_EQ(test::Boxes(second.dialogs),
              (std::vector{test::Sonder("30 GOSUB 40+"), Summary(2, 1), kNoError}));
    EXPECT_EQ(model.FalscheZielAnzahl, 0);
}

} // namespace
} // namespace quandel
