#include "basictools/tool_files.h"
#include "basictools/varlist.h"
#include "support/tool_test_support.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using test::Box;
using test::Shows;

std::string Listing(const std::vector<std::string> &names) {
    std::string out = "Liste der Variablen: \r\n";
    for (const auto &n : names)
        out += "'      " + n + "\r\n";
    return out;
}
template <typename... N> std::vector<std::string> Names(const N &...names) {
    return {std::string(names)...};
}
Box Done(int count) {
    return test::Info(" fertig ...\r Insgesamt gibt es " + NumberText(count) + " Variable\r");
}
Box WarnungVL(const std::string &text) {
    return {text, "W A R N U N G"};
}
Box Intel(const std::string &a, const std::string &b) {
    return {"WARNUNG: " + a + " <=> " + b, "Warnung", BoxIcon::Critical};
}

// One VarList run into a real target file; returns what was written.
struct VarListRun : test::ToolRig {
    std::string Go(const std::string &source, bool intelCheck) {
        SourceLines lines = SourceLines::FromText(source);
        TargetFile target;
        std::string error;
        EXPECT_TRUE(target.Open(dir.File("PROG.V"), error)) << error;
        VarList(ctx, lines, target, intelCheck);
        target.Close();
        return test::ReadBytes(dir.File("PROG.V"));
    }
};

TEST(VarList, CollectsSortsAndChecksTheVariables) {
    struct Row {
        const char *name;
        std::string source;
        std::vector<std::string> names;
        std::vector<Box> boxesBeforeDone = {};
        bool intel = false;
    } rows[] = {
        {"statements split at colon; POP list", "10 A=1:B=2\r20 POP C,D\r",
         Names("A", "B", "C", "D")},
        {"only the last word before the first =", "30 IF A=B THEN C=1\r", Names("A", "C")},
        {"array names", "40 X(I)=5\r50 Y(2)=X(1)\r", Names("X()", "Y()")},
        {"array name with a blank in the brackets", "60 M(I, J)=1\r", Names("J")},
        {"= inside a string literal", "60 PRINT \"A=B\"\r", Names()},
        {"lower case listed once, upper case", "10 abc=1\r20 ABC=2\r30 let Abc=3\r", Names("ABC")},
        {"comparisons are no assignments", "10 IF X>=3 THEN Y=1\r20 IF A<=B THEN 50\r", Names("Y")},
        {"comments are cut first", "10 A=1 ' B=2\r20 C=3 ;D=4\r", Names("A", "C")},
        {"REM lines are still searched", "20 REM C=3\r", Names("C")},
        {"THEN and ELSE separate statements", "10 IF A THEN B=1 ELSE C=2\r", Names("B", "C")},
        {"lower-case then is no separator", "10 if a=1 then b=2\r", Names("A")},
        {"POP keeps the text up to the first blank", "10 POP X Y\r", Names("X ")},
        {"POP with blanks after the commas", "10 POP E, F(2)\r", Names("E", "F()")},
        {"sorted by Windows-1252 code", Cp1252("10 Z1=1:AB=2:A=3:_X=4:€A=5:äb=6:ÄB=7\r"),
         Names("A", "AB", "Z1", "_X", Cp1252("€A"), Cp1252("ÄB"))},
        {"empty source", "", Names()},
        {"undefined variable names the rest of the line", "10 A=1: =5:B=2\r", Names("A", "B"),
         Shows(WarnungVL("Undefinierte Variable\rB=2"))},
        {"closing bracket alone stores an empty name", "10 (X))=1:Y=2\r", Names("", "Y"),
         Shows(WarnungVL(" ( fehlt\rY=2"))},
        {"special character warning from the second line on", "10 A=1+\r20 B=2+\r", Names("A", "B"),
         Shows(test::Sonder("20 B=2+"))},
        {"lines without = or POP do not arm the warning", "10 PRINT X+\r20 B=2+\r", Names("B")},
        {"Intel: same length, first and last letter", "10 ABC=1:AXC=2:ABCD=3:AB=1:AXB=1\r",
         Names("AB", "ABC", "ABCD", "AXB", "AXC"), Shows(Intel("ABC", "AXC")), true},
        {"no Intel warnings without the check", "10 ABC=1:AXC=2\r", Names("ABC", "AXC")},
        {"Intel: arrays compare their last three characters",
         "10 ABC(1)=1:AXC(2)=2:AB(1)=1:AC(1)=1\r", Names("AB()", "ABC()", "AC()", "AXC()"),
         Shows(Intel("ABC()", "AXC()")), true},
        {"Intel: every group, the last group of two too", "10 AAA=1:ABA=2:BAB=3:ZAB=4:ZCB=5\r",
         Names("AAA", "ABA", "BAB", "ZAB", "ZCB"), Shows(Intel("AAA", "ABA"), Intel("ZAB", "ZCB")),
         true},
        {"Intel: all pairs of a group in order", "10 QXA=1:QYA=2:QZA=3\r",
         Names("QXA", "QYA", "QZA"),
         Shows(Intel("QXA", "QYA"), Intel("QXA", "QZA"), Intel("QYA", "QZA")), true},
        {"Intel: short names and empty ones skipped", "10 A1=1:A2=2:(X))=3\r",
         Names("", "A1", "A2"), Shows(WarnungVL(" ( fehlt\r")), true},
    };
    for (const Row &r : rows) {
        VarListRun run;
        EXPECT_EQ(run.Go(r.source, r.intel), Listing(r.names)) << r.name;
        auto expected = r.boxesBeforeDone;
        expected.push_back(Done(int(r.names.size())));
        EXPECT_EQ(test::Boxes(run.dialogs), expected) << r.name;
        std::string display;
        for (const auto &n : r.names)
            display += n + "\r\n";
        EXPECT_EQ(run.view.DisplayText(), display) << r.name;
    }
}

TEST(VarList, ShowsEachLineTheCountAndAppendsToTheDisplay) {
    VarListRun run;
    run.view.shown = {"vorher\r\n"};
    run.Go("10 B=1\r\n20 PRINT B\r\n30 A=B:B=2\r\n", false);
    EXPECT_EQ(run.view.labels, (std::vector<std::string>{"10 B=1", "20 PRINT B", "30 A=B:B=2"}));
    EXPECT_EQ(run.events.calls, 3);
    EXPECT_EQ(run.view.counts, (std::vector<std::string>{" 1", " 2"})); // a known name: no count
    EXPECT_EQ(run.view.DisplayText(), "vorher\r\nA\r\nB\r\n");
}

TEST(VarList, AStoppedRunWritesAndShowsNothingAndTheNextRunStartsEmpty) {
    VarListRun run;
    run.events.stopAt = 2;
    EXPECT_EQ(run.Go("10 A=1\r20 B=2\r30 C=3\r", true), "");
    EXPECT_EQ(run.events.calls, 2); // stopped after the second line
    EXPECT_TRUE(run.dialogs.boxes.empty());
    EXPECT_TRUE(run.view.shown.empty());

    run.flags.StopRequested = false;
    EXPECT_EQ(run.Go("10 Z=1\r", false), Listing({"Z"}));
    EXPECT_EQ(test::Boxes(run.dialogs), std::vector{Done(1)});
}

TEST(VarList, AFullTableRefusesFurtherNamesAndTheRunGoesOn) {
    std::string source;
    for (int i = 1; i <= int(kMaxVariablen) + 1; ++i)
        source += DecimalText(i) + " V" + DecimalText(i) + "=1\r";
    source += "99999 POP NEU1,V7\r"; // a new name fails, a known one is no failure
    VarListRun run;
    const std::string written = run.Go(source, false);
    EXPECT_EQ(test::Boxes(run.dialogs),
              (std::vector{test::Info("Fehler in Variablensuchroutine vor ="),
                           test::Info("Fehler in Variablensuchroutine nach POP"),
                           Done(int(kMaxVariablen))}));
    EXPECT_NE(written.find("'      V10001\r\n"), std::string::npos);
    EXPECT_EQ(written.find("'      V10002\r\n"), std::string::npos);
    EXPECT_EQ(written.find("NEU1"), std::string::npos);
}

TEST(VarListText, StringsAndSeparators) {
    struct Strip {
        const char *in, *out;
    } strips[] = {{"A$=\"JA\":B=1", "A$=:B=1"},
                  {"\"unclosed", "unclosed"},
                  {"X=\"a\"+\"b\"", "X=+"},
                  {"A\"B\"C\"D", "ACD"}};
    for (const Strip &s : strips)
        EXPECT_EQ(StringsEntfernen(s.in), s.out) << s.in;

    struct Sep {
        const char *name;
        std::string text, sep;
    } seps[] = {
        {"colon first", "A=1:B THEN C", ":"},
        {"THEN first", "IF A THEN B:C", "THEN"},
        {"ELSE first", "X ELSE Y THEN Z", "ELSE"},
        {"case-sensitive", "if a then b else c", ";"},
        {"none", "A=1", ";"},
        {"colon at position 998 counts", std::string(997, 'x') + ":", ":"},
        {"colon at position 999 does not", std::string(998, 'x') + ":", ";"},
    };
    for (const Sep &s : seps)
        EXPECT_EQ(TrennerSuchen(s.text), s.sep) << s.name;
}

} // namespace
} // namespace quandel
