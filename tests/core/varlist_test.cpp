#include "basictools/tool_context.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "basictools/varlist.h"
#include "core/number_text.h"
#include "core/shared_flags.h"
#include "support/fakes.h"
#include "support/scripted_dialogs.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>
#include <vector>

namespace quandel {
namespace {

namespace fs = std::filesystem;

struct Box {
    std::string text, title;
    BoxIcon icon = BoxIcon::None;
    bool operator==(const Box &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Box &b) {
    return os << "[" << b.title << "|" << b.text << "|" << int(b.icon) << "]";
}

std::vector<Box> Shown(const test::ScriptedDialogs &dialogs) {
    std::vector<Box> out;
    for (const auto &b : dialogs.boxes) {
        EXPECT_EQ(b.buttons, BoxButtons::Ok) << b.text;
        out.push_back({b.text, b.title, b.icon});
    }
    return out;
}

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("quandel-varlist-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(counter_++));
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

std::string Listing(const std::vector<std::string> &names) {
    std::string out = "Liste der Variablen: \r\n";
    for (const auto &n : names)
        out += "'      " + n + "\r\n";
    return out;
}

Box Done(int count) {
    return {" fertig ...\r Insgesamt gibt es " + NumberText(count) + " Variable\r", "Quandel"};
}

// One VarList run over real files.
struct VarListRun {
    TempDir dir;
    test::ScriptedDialogs dialogs;
    test::CountingEventPump events;
    SharedFlags flags;
    PlainToolView view;
    ToolContext ctx{dialogs, events, flags, view};

    std::string operator()(const std::string &sourceBytes, bool intelCheck) {
        const std::string src = dir.File("PROG.BAS"), dst = dir.File("PROG.V");
        WriteBytes(src, sourceBytes);
        std::string error;
        auto source = SourceLines::Open(src, error);
        EXPECT_TRUE(source) << error;
        TargetFile target;
        EXPECT_TRUE(target.Open(dst, error)) << error;
        VarList(ctx, *source, target, intelCheck);
        target.Close();
        return ReadBytes(dst);
    }
};

TEST(VarList, CollectsSortsAndChecksTheVariables) {
    const std::string warnSonder =
        "20 B=2+\n\r\n\rSonderzeichen am Ende!\n\r" + Cp1252("Bitte überprüfen!");
    struct Row {
        const char *name;
        std::string source;
        bool intel;
        std::vector<std::string> names;
        std::vector<Box> boxesBeforeDone;
    } rows[] = {
        {"statements split at colon; POP list",
         "10 A=1:B=2\r\n20 POP C,D\r\n",
         false,
         {"A", "B", "C", "D"},
         {}},
        {"only the last word before the first equals sign",
         "30 IF A=B THEN C=1\r\n",
         false,
         {"A", "C"},
         {}},
        {"array names", "40 X(I)=5\r\n50 Y(2)=X(1)\r\n", false, {"X()", "Y()"}, {}},
        {"array name with blank inside the brackets", "60 M(I, J)=1\r\n", false, {"J"}, {}},
        {"equals sign inside a string literal", "60 PRINT \"A=B\"\r\n", false, {}, {}},
        {"literal removed, assignment kept", "70 A$=\"X=Y\":B=1\r\n", false, {"A$", "B"}, {}},
        {"lower case written once in upper case",
         "10 abc=1\r20 ABC=2\r30 let Abc=3\r",
         false,
         {"ABC"},
         {}},
        {"comparisons are no assignments",
         "10 IF X>=3 THEN Y=1\r20 IF A<=B THEN 50\r",
         false,
         {"Y"},
         {}},
        {"FOR loop variable", "10 FOR I=1 TO 9\r", false, {"I"}, {}},
        {"comments are cut before the search",
         "10 A=1 ' B=2\r20 C=3 ;D=4\r",
         false,
         {"A", "C"},
         {}},
        {"REM lines are still searched", "20 REM C=3\r", false, {"C"}, {}},
        {"THEN and ELSE separate statements", "10 IF A THEN B=1 ELSE C=2\r", false, {"B", "C"}, {}},
        {"lower-case then is no separator", "10 if a=1 then b=2\r", false, {"A"}, {}},
        {"POP keeps the text up to the first blank", "10 POP X Y\r", false, {"X "}, {}},
        {"POP with blanks after the commas", "10 POP E, F(2)\r", false, {"E", "F()"}, {}},
        {"sorted by Windows-1252 code",
         Cp1252("10 Z1=1:AB=2:A=3:_X=4:€A=5:äb=6:ÄB=7\r"),
         false,
         {"A", "AB", "Z1", "_X", Cp1252("€A"), Cp1252("ÄB")},
         {}},
        {"empty source", "", false, {}, {}},
        {"undefined variable names the rest of the line",
         "10 A=1: =5:B=2\r",
         false,
         {"A", "B"},
         {{"Undefinierte Variable\rB=2", "W A R N U N G"}}},
        {"closing bracket without opening one stores an empty name",
         "10 (X))=1:Y=2\r",
         false,
         {"", "Y"},
         {{" ( fehlt\rY=2", "W A R N U N G"}}},
        {"special character warning from the second stripped line on",
         "10 A=1+\r20 B=2+\r",
         false,
         {"A", "B"},
         {{warnSonder, "Quandel", BoxIcon::Exclamation}}},
        {"lines without = or POP are not stripped and do not arm the warning",
         "10 PRINT X+\r20 B=2+\r",
         false,
         {"B"},
         {}},
        {"Intel test: same length, first and last letter",
         "10 ABC=1:AXC=2:ABCD=3:AB=1:AXB=1\r",
         true,
         {"AB", "ABC", "ABCD", "AXB", "AXC"},
         {{"WARNUNG: ABC <=> AXC", "Warnung", BoxIcon::Critical}}},
        {"no Intel warnings without the check", "10 ABC=1:AXC=2\r", false, {"ABC", "AXC"}, {}},
        {"Intel test: arrays compare their last three characters",
         "10 ABC(1)=1:AXC(2)=2:AB(1)=1:AC(1)=1\r",
         true,
         {"AB()", "ABC()", "AC()", "AXC()"},
         {{"WARNUNG: ABC() <=> AXC()", "Warnung", BoxIcon::Critical}}},
        {"Intel test: every group, the last group of two too",
         "10 AAA=1:ABA=2:BAB=3:ZAB=4:ZCB=5\r",
         true,
         {"AAA", "ABA", "BAB", "ZAB", "ZCB"},
         {{"WARNUNG: AAA <=> ABA", "Warnung", BoxIcon::Critical},
          {"WARNUNG: ZAB <=> ZCB", "Warnung", BoxIcon::Critical}}},
        {"Intel test: all pairs of a group in order",
         "10 QXA=1:QYA=2:QZA=3\r",
         true,
         {"QXA", "QYA", "QZA"},
         {{"WARNUNG: QXA <=> QYA", "Warnung", BoxIcon::Critical},
          {"WARNUNG: QXA <=> QZA", "Warnung", BoxIcon::Critical},
          {"WARNUNG: QYA <=> QZA", "Warnung", BoxIcon::Critical}}},
        {"Intel test skips short names and empty ones",
         "10 A1=1:A2=2:(X))=3\r",
         true,
         {"", "A1", "A2"},
         {{" ( fehlt\r", "W A R N U N G"}}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        VarListRun run;
        EXPECT_EQ(run(r.source, r.intel), Listing(r.names));
        auto expected = r.boxesBeforeDone;
        expected.push_back(Done(int(r.names.size())));
        EXPECT_EQ(Shown(run.dialogs), expected);
        std::string display;
        for (const auto &n : r.names)
            display += n + "\r\n";
        EXPECT_EQ(run.view.display, display);
    }
}

TEST(VarList, ShowsEachLineTheCountAndAppendsToTheDisplay) {
    struct CountingView final : ToolView, VariableCountView {
        std::string display = "vorher\r\n", label;
        std::vector<std::string> labels, counts;
        std::string DisplayText() const override { return display; }
        void SetDisplayText(const std::string &t) override { display = t; }
        void SetLineLabel(const std::string &t) override { labels.push_back(t); }
        void SetVariableCount(const std::string &t) override { counts.push_back(t); }
    } view;
    TempDir dir;
    test::ScriptedDialogs dialogs;
    test::CountingEventPump events;
    SharedFlags flags;
    ToolContext ctx{dialogs, events, flags, view};
    auto source = SourceLines::FromText("10 B=1\r\n20 PRINT B\r\n30 A=B:B=2\r\n");
    TargetFile target;
    std::string error;
    ASSERT_TRUE(target.Open(dir.File("T.V"), error));
    VarList(ctx, source, target, false);
    EXPECT_EQ(view.labels, (std::vector<std::string>{"10 B=1", "20 PRINT B", "30 A=B:B=2"}));
    EXPECT_EQ(events.calls, 3);
    EXPECT_EQ(view.counts, (std::vector<std::string>{" 1", " 2"})); // a known name is not counted
    EXPECT_EQ(view.display, "vorher\r\nA\r\nB\r\n");
    EXPECT_FALSE(target.IsOpen()); // a completed run closes its target
}

// Sets StopRequested when the window events run for the n-th time.
struct StoppingPump final : EventPump {
    SharedFlags &flags;
    int stopAt, calls = 0;
    StoppingPump(SharedFlags &f, int n) : flags(f), stopAt(n) {}
    void ProcessEvents() override {
        if (++calls == stopAt)
            flags.StopRequested = true;
    }
};

TEST(VarList, AStoppedRunWritesAndShowsNothingAndTheNextRunStartsEmpty) {
    TempDir dir;
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    StoppingPump pump(flags, 2);
    PlainToolView view;
    ToolContext ctx{dialogs, pump, flags, view};
    std::string error;

    auto first = SourceLines::FromText("10 A=1\r20 B=2\r30 C=3\r");
    TargetFile target;
    ASSERT_TRUE(target.Open(dir.File("T.V"), error));
    VarList(ctx, first, target, true);
    target.Close();
    EXPECT_EQ(pump.calls, 2); // stopped after the second line
    EXPECT_EQ(ReadBytes(dir.File("T.V")), "");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(view.display, "");

    flags.StopRequested = false;
    pump.stopAt = -1;
    auto second = SourceLines::FromText("10 Z=1\r");
    ASSERT_TRUE(target.Open(dir.File("T2.V"), error));
    VarList(ctx, second, target, false);
    EXPECT_EQ(ReadBytes(dir.File("T2.V")), Listing({"Z"}));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, Done(1).text);
}

TEST(VarList, AFullTableRefusesFurtherNamesAndTheRunGoesOn) {
    std::string source;
    for (int i = 1; i <= int(kMaxVariablen) + 1; ++i)
        source += DecimalText(i) + " V" + DecimalText(i) + "=1\r\n";
    source += "99999 POP NEU1,V7\r\n"; // a new name fails, a known one is no failure
    VarListRun run;
    const std::string written = run(source, false);
    const auto boxes = Shown(run.dialogs);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], (Box{"Fehler in Variablensuchroutine vor =", "Quandel"}));
    EXPECT_EQ(boxes[1], (Box{"Fehler in Variablensuchroutine nach POP", "Quandel"}));
    EXPECT_EQ(boxes[2], Done(int(kMaxVariablen)));
    EXPECT_EQ(written.find("'      V10002\r\n"), std::string::npos);
    EXPECT_NE(written.find("'      V10001\r\n"), std::string::npos);
    EXPECT_EQ(written.find("NEU1"), std::string::npos);
}

TEST(VarList, AWriteFailurePropagatesAsToolFailure) {
    test::ScriptedDialogs dialogs;
    test::CountingEventPump events;
    SharedFlags flags;
    PlainToolView view;
    ToolContext ctx{dialogs, events, flags, view};
    auto source = SourceLines::FromText("10 A=1\r");
    TargetFile notOpen;
    EXPECT_THROW(VarList(ctx, source, notOpen, false), ToolFailure);
    EXPECT_TRUE(dialogs.boxes.empty()); // the runner reports it

    if (fs::exists("/dev/full")) {
        TargetFile full;
        std::string error;
        ASSERT_TRUE(full.Open("/dev/full", error));
        source.Rewind();
        EXPECT_THROW(VarList(ctx, source, full, false), ToolFailure);
    }
}

TEST(VarListText, StringsAndSeparators) {
    struct Strip {
        const char *in, *out;
    } strips[] = {{"A$=\"JA\":B=1", "A$=:B=1"},
                  {"\"unclosed", "unclosed"},
                  {"X=\"a\"+\"b\"", "X=+"},
                  {"A\"B\"C\"D", "ACD"},
                  {"\"\"", ""},
                  {"", ""}};
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
        {"empty", "", ";"},
        {"colon at position 998 counts", std::string(997, 'x') + ":", ":"},
        {"colon at position 999 does not", std::string(998, 'x') + ":", ";"},
    };
    for (const Sep &s : seps)
        EXPECT_EQ(TrennerSuchen(s.text), s.sep) << s.name;
}

} // namespace
} // namespace quandel
