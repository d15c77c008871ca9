#include "basictools/line_model.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "support/tool_test_support.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using test::Box;
using test::Shows;
using test::Warnung;

// The first `count` entries of a table, as "10 20 30".
std::string Table(const std::vector<std::int32_t> &table, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += (i ? " " : "") + DecimalText(table[i]);
    return out;
}

TEST(ZeilennummerTest, RecordsAndChecksLineNumbers) {
    struct Row {
        const char *name, *lines; // ended by CR
        const char *recorded;
        std::vector<Box> boxes = {};
    } rows[] = {
        {"ascending", "10 A\r20 B", "10 20"},
        {"repeated number: warned and counted", "10 X\r20 Y\r20 Z", "10 20 20",
         Shows(Warnung("falsche Zeilennummer:  20   20\r20 Z"))},
        {"no number before the blank", "PRINT X", "",
         Shows(Warnung("Zeile ohne Zeilennummer\rPRINT X"))},
        {"no blank at all", "10", "", Shows(Warnung("Zeile ohne Zeilennummer\r10"))},
        {"uncounted line is overwritten and skipped by the comparison", "20 A\rX\r10 B", "20 10",
         Shows(Warnung("Zeile ohne Zeilennummer\rX"),
               Warnung("falsche Zeilennummer:  20   10\r10 B"))},
        {"number longer than its line", "1E9 X", "",
         Shows(Warnung(" 1000000000 Zeilennummer ohne Text \r1E9 X"))},
        {"only the text before the first blank counts", "12 0 X", "12"},
        {"negative number is counted", "-5 X", "-5"},
    };
    for (const Row &r : rows) {
        test::ScriptedDialogs dialogs;
        LineModel model;
        model.BeginRun();
        for (SourceLines lines = SourceLines::FromText(r.lines); !lines.AtEnd();) {
            model.Zeile = lines.Next();
            model.ZeilennummerTest(dialogs);
        }
        EXPECT_EQ(Table(model.ZeilenNr, model.ZeilenAnzahl), r.recorded) << r.name;
        EXPECT_EQ(test::Boxes(dialogs), r.boxes) << r.name;
    }
}

TEST(SprungzieleSuchen, CollectsTargetsAfterTheKeywords) {
    const std::string ende = "Fehler am Zeilenende", fehlt = "Sprungziel fehlt";
    struct Row {
        const char *name, *line, *targets;
        std::string warning = {}; // shown `times` times, naming the line
        int times = 1;
    } rows[] = {
        {"one digit", "10 GOTO 5", "5"},
        {"two digits, read once", "10 GOTO 15", "15"},
        {"zero inside, read once", "10 GOTO 105", "105"},
        {"list with blank", "20 ON A GOSUB 100, 200", "100 200"},
        {"list", "ON X GOTO 100,200,300", "100 200 300"},
        {"duplicates in a list", "25 ON A GOTO 100,100,200", "100 200"},
        {"keyword at line end", "30 GOTO", "", ende},
        {"keyword and one character", "30 GOTO5", "", ende},
        {"THEN at line end", "35 IF A THEN", "", ende},
        {"GOTO without number", "40 GOTO X", "", fehlt},
        {"GOSUB without number", "40 GOSUB X", "", fehlt},
        {"THEN with a statement", "40 IF A THEN B=1", ""},
        {"ELSE with a statement", "40 IF A THEN 10 ELSE B=1", "10"},
        {"two GOTO in a line", "70 GOTO 100: GOTO 200", "100 200"},
        {"two missing", "75 GOTO X: GOTO Y", "", fehlt, 2},
        {"lower case", "90 goto 100", ""},
        {"@ rule ends the number at the blank", "95 GOTO 10 0: PRINT @ 1,2", "10"},
        {"negative target read once", "96 GOTO -5", "-5"},
        {"keyword order", "97 IF A THEN 30 ELSE GOSUB 20: GOTO 10", "10 20 30"},
    };
    for (const Row &r : rows) {
        test::ScriptedDialogs dialogs;
        LineModel model;
        model.BeginRun();
        model.Zeile = r.line;
        for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
            model.SprungzieleSuchen(model.Zeile, k, dialogs);
        EXPECT_EQ(Table(model.Sprungziele, model.SprungzielAnzahl), r.targets) << r.name;
        EXPECT_EQ(test::Boxes(dialogs), std::vector<Box>(r.warning.empty() ? 0 : r.times,
                                                         Warnung(r.warning + "\r" + r.line)))
            << r.name;
        EXPECT_EQ(model.Zeile, r.line) << r.name; // only the copy is consumed
    }
}

TEST(ZielNummer, ReadsTheTargetAndTrimsForTheAtRule) {
    struct Row {
        const char *name, *text;
        std::int32_t value;
        const char *textAfter;
    } rows[] = {
        {"blanks join without @", "100 200", 100200, "100 200"},
        {"@ ends at blank", "100 200 @ 5", 100, "100 200 @ 5"},
        {"@ trims both ends, ends at comma", "  100,200 @ 5 ", 100, "100,200 @ 5"},
        {"@ ends at colon", "100:@ 3", 100, "100:@ 3"},
        {"@ ends at apostrophe", "7'@ 3", 7, "7'@ 3"},
        {"@ without a separator", "100@ ", 0, "100@"},
        {"at sign without blank", "100@5", 100, "100@5"},
    };
    for (const Row &r : rows) {
        std::string text = r.text;
        EXPECT_EQ(LineModel::ZielNummer(text), r.value) << r.name;
        EXPECT_EQ(text, r.textAfter) << r.name;
    }
}

TEST(ZeilenzielePruefen, FindsTheFirstMissingTargetAndStopsSafely) {
    struct Row {
        const char *name, *line;
        bool missing;
    } rows[] = {
        {"number outside a jump; THEN B at the end", "20 PRINT 500: IF A THEN B=1", false},
        {"GOTO missing", "30 GOTO 500", true},
        {"list with a missing entry", "30 ON A GOSUB 100, 500", true},
        {"list all present", "30 ON A GOTO 100,20,10", false},
        {"THEN missing", "30 IF A THEN 500", true},
        {"ELSE missing", "30 IF A THEN 100 ELSE 500", true},
        {"ELSE without THEN", "30 X THEN Y ELSE 500", true},
        {"second GOTO missing", "30 GOTO 100: GOTO 500", true},
        {"keyword at the very end", "30 PRINT 500: GOTO", false},
        {"keyword and one character", "30 PRINT 500: GOTO5", false},
        {"THEN followed by less than its length", "30 IF A THEN B", false},
        {"THEN followed by exactly its length", "30 IF A THEN BCDE", false},
        {"no number skips the keyword's length", "30 GOTO X GOTO 500", false},
        {"@ rule ends the number at the blank", "30 GOTO 20 0: PRINT @ 1,2", false},
    };
    for (const Row &r : rows) {
        test::ScriptedDialogs dialogs;
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
        EXPECT_EQ(test::Boxes(dialogs),
                  r.missing ? std::vector{test::Falsch(r.line)} : std::vector<Box>{})
            << r.name;
    }
}

TEST(FalscheZeilenSuchen, AMissingTargetFileIsAFailure) {
    test::ScriptedDialogs dialogs;
    LineModel model;
    model.FalscheZiele[0] = 500;
    model.FalscheZielAnzahl = 1;
    EXPECT_THROW(model.FalscheZeilenSuchen(dialogs, "/nonexistent/PROG.Z"), ToolFailure);
}

} // namespace
} // namespace quandel
