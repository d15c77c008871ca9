#include "basictools/line_model.h"
#include "basictools/tool_failure.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "support/scripted_dialogs.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace quandel {
namespace {

using test::ScriptedDialogs;

struct Box {
    std::string text, title;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
};

Box Warnung(const std::string &text) {
    return {text, "WARNUNG"};
}

void ExpectBoxes(const ScriptedDialogs &dialogs, const std::vector<Box> &expected,
                 const std::string &name) {
    ASSERT_EQ(dialogs.boxes.size(), expected.size()) << name;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs.boxes[i].text, expected[i].text) << name << " box " << i;
        EXPECT_EQ(dialogs.boxes[i].title, expected[i].title) << name << " box " << i;
        EXPECT_EQ(dialogs.boxes[i].icon, expected[i].icon) << name << " box " << i;
        EXPECT_EQ(dialogs.boxes[i].buttons, expected[i].buttons) << name << " box " << i;
    }
}

std::vector<std::int32_t> Table(const std::vector<std::int32_t> &table, int count) {
    return {table.begin(), table.begin() + count};
}

// A folder of its own under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("quandel_linemodel_" + std::to_string(rd()) + "_" + std::to_string(rd()));
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

TEST(ZeilennummerTest, RecordsAndChecksLineNumbers) {
    struct Row {
        const char *name;
        std::vector<std::string> lines;
        std::vector<std::int32_t> recorded;
        std::vector<Box> boxes;
    } rows[] = {
        {"ascending", {"10 A", "20 B"}, {10, 20}, {}},
        {"repeated number is warned and counted",
         {"10 X", "20 Y", "20 Z"},
         {10, 20, 20},
         {Warnung("falsche Zeilennummer:  20   20\r20 Z")}},
        {"descending",
         {"20 X", "10 Y"},
         {20, 10},
         {Warnung("falsche Zeilennummer:  20   10\r10 Y")}},
        {"no number before the blank",
         {"PRINT X"},
         {},
         {Warnung("Zeile ohne Zeilennummer\rPRINT X")}},
        {"no blank at all", {"10"}, {}, {Warnung("Zeile ohne Zeilennummer\r10")}},
        {"rounds to zero", {".4 X"}, {}, {Warnung("Zeile ohne Zeilennummer\r.4 X")}},
        {"uncounted line is overwritten",
         {"10 A", "PRINT X", "20 B"},
         {10, 20},
         {Warnung("Zeile ohne Zeilennummer\rPRINT X")}},
        {"comparison skips uncounted lines",
         {"20 A", "X", "10 B"},
         {20, 10},
         {Warnung("Zeile ohne Zeilennummer\rX"), Warnung("falsche Zeilennummer:  20   10\r10 B")}},
        {"number longer than its line",
         {"1E9 X"},
         {},
         {Warnung(" 1000000000 Zeilennummer ohne Text \r1E9 X")}},
        {"only the text before the first blank counts", {"12 0 X"}, {12}, {}},
        {"hex line number", {"&H10 X"}, {16}, {}},
        {"negative number is counted", {"-5 X"}, {-5}, {}},
        {"number glued to text", {"150PRINT A"}, {150}, {}},
    };
    for (const Row &r : rows) {
        ScriptedDialogs dialogs;
        LineModel model;
        model.BeginRun();
        for (const std::string &line : r.lines) {
            model.Zeile = line;
            model.ZeilennummerTest(dialogs);
        }
        EXPECT_EQ(Table(model.ZeilenNr, model.ZeilenAnzahl), r.recorded) << r.name;
        ExpectBoxes(dialogs, r.boxes, r.name);
    }
}

TEST(ZeilennummerTest, NumberBeyond32BitsFails) {
    ScriptedDialogs dialogs;
    LineModel model;
    model.BeginRun();
    model.Zeile = "99999999999 PRINT";
    EXPECT_THROW(model.ZeilennummerTest(dialogs), ToolFailure);
    EXPECT_EQ(model.ZeilenAnzahl, 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(ZeilennummerTest, OverflowAfter10000Numbers) {
    ScriptedDialogs dialogs;
    LineModel model;
    model.BeginRun();
    for (int n = 1; n <= 10000; ++n) {
        model.Zeile = DecimalText(n) + " X";
        model.ZeilennummerTest(dialogs);
    }
    EXPECT_EQ(model.ZeilenAnzahl, 10000);
    EXPECT_TRUE(dialogs.boxes.empty());
    model.Zeile = "10001 X";
    EXPECT_THROW(model.ZeilennummerTest(dialogs), ToolOverflow);
    ExpectBoxes(dialogs,
                {{Cp1252("Zeilenüberlauf\rDas Programm wird abgebrochen!"), "F E H L E R",
                  BoxIcon::Critical, BoxButtons::Ok}},
                "overflow");
    EXPECT_EQ(model.ZeilenAnzahl, 10000);
}

TEST(SprungzieleSuchen, CollectsTargetsAfterTheKeywords) {
    struct Row {
        const char *name, *line;
        std::vector<std::int32_t> targets;
        std::vector<Box> boxes;
    } rows[] = {
        {"single target", "10 GOTO 5", {5}, {}},
        {"two digits", "10 GOTO 15", {15}, {}},
        {"three digits", "10 GOTO 105", {105}, {}},
        {"comma list with blank", "20 ON A GOSUB 100, 200", {100, 200}, {}},
        {"comma list", "ON X GOTO 100,200,300", {100, 200, 300}, {}},
        {"duplicates in a list", "25 ON A GOTO 100,100,200", {100, 200}, {}},
        {"keyword at line end", "30 GOTO", {}, {Warnung("Fehler am Zeilenende\r30 GOTO")}},
        {"keyword and blank", "30 GOTO 5", {5}, {}},
        {"keyword and one character", "30 GOTO5", {}, {Warnung("Fehler am Zeilenende\r30 GOTO5")}},
        {"THEN at line end", "35 IF A THEN", {}, {Warnung("Fehler am Zeilenende\r35 IF A THEN")}},
        {"GOTO without number", "40 GOTO X", {}, {Warnung("Sprungziel fehlt\r40 GOTO X")}},
        {"GOSUB without number", "40 GOSUB X", {}, {Warnung("Sprungziel fehlt\r40 GOSUB X")}},
        {"THEN with a statement", "40 IF A THEN B=1", {}, {}},
        {"ELSE with a statement", "40 IF A THEN 10 ELSE B=1", {10}, {}},
        {"THEN and ELSE", "50 IF A THEN 100 ELSE 200", {100, 200}, {}},
        {"THEN GOTO", "60 IF A THEN GOTO 300", {300}, {}},
        {"two GOTO in a line", "70 GOTO 100: GOTO 200", {100, 200}, {}},
        {"two missing in a line",
         "75 GOTO X: GOTO Y",
         {},
         {Warnung("Sprungziel fehlt\r75 GOTO X: GOTO Y"),
          Warnung("Sprungziel fehlt\r75 GOTO X: GOTO Y")}},
        {"lower case", "90 goto 100", {}, {}},
        {"mixed case", "90 Goto 100", {}, {}},
        {"@ rule ends the number at the blank", "95 GOTO 10 0: PRINT @ 1,2", {10}, {}},
        {"without @ blanks join digits", "95 GOTO 10 0: PRINT 1,2", {100}, {}},
        {"negative target read once", "96 GOTO -5", {-5}, {}},
        {"keywords in order GOTO GOSUB THEN ELSE",
         "97 IF A THEN 30 ELSE GOSUB 20: GOTO 10",
         {10, 20, 30},
         {}},
    };
    for (const Row &r : rows) {
        ScriptedDialogs dialogs;
        LineModel model;
        model.BeginRun();
        model.Zeile = r.line;
        for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
            model.SprungzieleSuchen(model.Zeile, k, dialogs);
        EXPECT_EQ(Table(model.Sprungziele, model.SprungzielAnzahl), r.targets) << r.name;
        ExpectBoxes(dialogs, r.boxes, r.name);
        EXPECT_EQ(model.Zeile, r.line) << r.name; // only the copy is consumed
    }
}

TEST(SprungzieleSuchen, TargetOnSeveralLinesIsRecordedOnceAndBadNumbersFail) {
    ScriptedDialogs dialogs;
    LineModel model;
    model.BeginRun();
    for (const char *line : {"10 GOTO 50", "20 GOSUB 50", "30 IF A THEN 50"}) {
        model.Zeile = line;
        for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
            model.SprungzieleSuchen(model.Zeile, k, dialogs);
    }
    EXPECT_EQ(Table(model.Sprungziele, model.SprungzielAnzahl), std::vector<std::int32_t>{50});
    model.SprungzieleSuchen("40 GOSUB 5", 4, dialogs); // slot 4 is empty
    EXPECT_EQ(model.SprungzielAnzahl, 1);
    model.Zeile = "40 GOTO 99999999999";
    EXPECT_THROW(model.SprungzieleSuchen(model.Zeile, 0, dialogs), ToolFailure);
}

TEST(ZielNummer, ReadsTheTargetAndTrimsForTheAtRule) {
    struct Row {
        const char *name, *text;
        std::int32_t value;
        const char *textAfter;
    } rows[] = {
        {"plain", "100", 100, "100"},
        {"blanks join without @", "100 200", 100200, "100 200"},
        {"@ ends at blank", "100 200 @ 5", 100, "100 200 @ 5"},
        {"@ trims both ends", "  100,200 @ 5 ", 100, "100,200 @ 5"},
        {"@ ends at colon", "100:@ 3", 100, "100:@ 3"},
        {"@ ends at apostrophe", "7'@ 3", 7, "7'@ 3"},
        {"@ ends at semicolon", "8;@ 3", 8, "8;@ 3"},
        {"@ without a separator", "100@ ", 0, "100@"},
        {"@ first", "@ 5", 0, "@ 5"},
        {"@ only blanks otherwise", " @ ", 0, "@"},
        {"no @ and no number", "'abc", 0, "'abc"},
        {"at sign without blank", "100@5", 100, "100@5"},
    };
    for (const Row &r : rows) {
        std::string text = r.text;
        EXPECT_EQ(LineModel::ZielNummer(text), r.value) << r.name;
        EXPECT_EQ(text, r.textAfter) << r.name;
    }
}

TEST(SprungzielMerken, OverflowAfter10000Targets) {
    ScriptedDialogs dialogs;
    LineModel model;
    model.BeginRun();
    for (int t = 1; t <= 10000; ++t)
        model.SprungzielMerken(t, dialogs);
    model.SprungzielMerken(1, dialogs); // known already: no overflow
    model.SprungzielMerken(10000, dialogs);
    EXPECT_EQ(model.SprungzielAnzahl, 10000);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_THROW(model.SprungzielMerken(10001, dialogs), ToolOverflow);
    ExpectBoxes(dialogs,
                {{Cp1252("Zeilenüberlauf wegen > 1000 Sprüngen\rDas Programm wird abgebrochen!"),
                  "F E H L E R", BoxIcon::Critical, BoxButtons::Ok}},
                "overflow");
    EXPECT_EQ(model.SprungzielAnzahl, 10000);
}

TEST(SprungzielTest, ReportsMissingTargets) {
    const Box noError{"Keinen Fehler gefunden.", kAppTitle};
    const Box question{"Sollen die falschen Befehlszeilen gesucht werden ?", "", BoxIcon::None,
                       BoxButtons::YesNo};
    struct Row {
        const char *name;
        std::vector<std::int32_t> numbers, targets;
        std::vector<std::int32_t> wrong;
        std::vector<Box> boxes;
    } rows[] = {
        {"all present", {10, 20, 30}, {30, 10}, {}, {noError}},
        {"no targets", {10}, {}, {}, {noError}},
        {"no line numbers: nothing is missing", {}, {500, 600}, {}, {noError}},
        {"one missing",
         {10, 20},
         {20, 500},
         {500},
         {{"Sprungziel  500 nicht vorhanden.\r", kAppTitle}, question}},
        {"missing in order of finding",
         {10, 20},
         {700, 20, 500},
         {700, 500},
         {{"Sprungziel  700 nicht vorhanden.\rSprungziel  500 nicht vorhanden.\r", kAppTitle},
          question}},
        {"negative target",
         {10},
         {-3},
         {-3},
         {{"Sprungziel -3 nicht vorhanden.\r", kAppTitle}, question}},
    };
    for (const Row &r : rows) {
        ScriptedDialogs dialogs;
        dialogs.answers = {BoxAnswer::Ok, BoxAnswer::No};
        LineModel model;
        model.BeginRun();
        model.FalscheZielAnzahl = 7; // left from an earlier run
        for (std::size_t i = 0; i < r.numbers.size(); ++i)
            model.ZeilenNr[i] = r.numbers[i];
        model.ZeilenAnzahl = int(r.numbers.size());
        for (std::int32_t t : r.targets)
            model.SprungzielMerken(t, dialogs);
        model.SprungzielTest(dialogs, "/nonexistent/never/read");
        EXPECT_EQ(Table(model.FalscheZiele, model.FalscheZielAnzahl), r.wrong) << r.name;
        ExpectBoxes(dialogs, r.boxes, r.name);
    }
}

TEST(ZeilenzielePruefen, FindsTheFirstMissingTargetOfALine) {
    struct Row {
        const char *name, *line;
        bool missing;
    } rows[] = {
        {"number outside a jump; THEN B at the end", "20 PRINT 500: IF A THEN B=1", false},
        {"GOTO missing", "30 GOTO 500", true},
        {"GOTO present", "30 GOTO 100", false},
        {"list with a missing entry", "30 ON A GOSUB 100, 500", true},
        {"list all present", "30 ON A GOTO 100,20,10", false},
        {"THEN missing", "30 IF A THEN 500", true},
        {"ELSE missing", "30 IF A THEN 100 ELSE 500", true},
        {"second GOTO missing", "30 GOTO 100: GOTO 500", true},
        {"THEN with a statement", "30 IF A THEN PRINT 500", false},
        {"keyword at the very end", "30 PRINT 500: GOTO", false},
        {"keyword and one character", "30 PRINT 500: GOTO5", false},
        {"THEN followed by less than its length", "30 IF A THEN B", false},
        {"THEN followed by exactly its length", "30 IF A THEN BCDE", false},
        {"ELSE independent of THEN", "30 X THEN Y ELSE 500", true},
        {"no number skips the keyword's length", "30 GOTO X GOTO 500", false},
        {"lower case", "30 goto 500", false},
        {"@ rule ends the number at the blank", "30 GOTO 20 0: PRINT @ 1,2", false},
        {"without @ the blank joins digits", "30 GOTO 20 0: PRINT 1,2", true},
    };
    for (const Row &r : rows) {
        ScriptedDialogs dialogs;
        LineModel model;
        model.BeginRun();
        for (const char *line : {"10 A", "20 B", "100 C"}) {
            model.Zeile = line;
            model.ZeilennummerTest(dialogs);
        }
        model.Zeile = r.line;
        bool result = false;
        EXPECT_NO_THROW(result = model.ZeilenzielePruefen(dialogs)) << r.name;
        EXPECT_EQ(result, r.missing) << r.name;
        if (r.missing)
            ExpectBoxes(dialogs, {{r.line, "Falsche Zeile", BoxIcon::Exclamation}}, r.name);
        else
            ExpectBoxes(dialogs, {}, r.name);
    }
}

TEST(FalscheZeilenSuchen, ShowsEachLineThatJumpsToAMissingTarget) {
    TempDir dir;
    const std::string path = dir.Write("PROG.Z", "10 GOTO 500\r\n"
                                                 "20 PRINT 500\r\n"
                                                 "30 GOSUB 20\r\n"
                                                 "40 ON A GOTO 20, 500\r\n"
                                                 "50 IF A THEN 600\r"
                                                 "60 GOTO 5000\r\n"
                                                 "70 ON A GOTO 500, 600\r\n"
                                                 "80 PRINT 600: IF A THEN B=1\r\n");
    ScriptedDialogs dialogs;
    LineModel model;
    model.BeginRun();
    for (int n = 10; n <= 80; n += 10)
        model.ZeilenNr[n / 10 - 1] = n;
    model.ZeilenAnzahl = 8;
    model.FalscheZiele[0] = 500;
    model.FalscheZiele[1] = 600;
    model.FalscheZielAnzahl = 2;
    model.FalscheZeilenSuchen(dialogs, path);
    const auto falsch = [](const char *line) {
        return Box{line, "Falsche Zeile", BoxIcon::Exclamation};
    };
    ExpectBoxes(dialogs,
                {falsch("10 GOTO 500"), falsch("40 ON A GOTO 20, 500"), falsch("50 IF A THEN 600"),
                 // " 500" occurs in " 5000", which is no line number either
                 falsch("60 GOTO 5000"), falsch("70 ON A GOTO 500, 600")},
                "search");
    EXPECT_EQ(model.Zeile, "80 PRINT 600: IF A THEN B=1");

    EXPECT_THROW(model.FalscheZeilenSuchen(dialogs, dir.Path("MISSING.Z")), ToolFailure);
}

TEST(SprungzielTest, YesSearchesTheTargetFile) {
    TempDir dir;
    const std::string path = dir.Write("T.Z", "10 GOTO 500\r\n20 GOSUB 10\r\n");
    for (const BoxAnswer answer : {BoxAnswer::Yes, BoxAnswer::No}) {
        ScriptedDialogs dialogs;
        dialogs.answers = {BoxAnswer::Ok, answer};
        LineModel model;
        model.BeginRun();
        for (const char *line : {"10 GOTO 500", "20 GOSUB 10"}) {
            model.Zeile = line;
            model.ZeilennummerTest(dialogs);
            for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
                model.SprungzieleSuchen(model.Zeile, k, dialogs);
        }
        model.SprungzielTest(dialogs, path);
        std::vector<Box> expected = {{"Sprungziel  500 nicht vorhanden.\r", kAppTitle},
                                     {"Sollen die falschen Befehlszeilen gesucht werden ?", "",
                                      BoxIcon::None, BoxButtons::YesNo}};
        if (answer == BoxAnswer::Yes)
            expected.push_back({"10 GOTO 500", "Falsche Zeile", BoxIcon::Exclamation});
        ExpectBoxes(dialogs, expected, answer == BoxAnswer::Yes ? "yes" : "no");
    }
}

} // namespace
} // namespace quandel
