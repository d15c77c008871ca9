#include "basictools/remkill_zeile.h"
#include "support/tool_test_support.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

TEST(RemKillZeile, StripsCommentsBlanksAndTrailingSpecials) {
    struct Row {
        const char *name;
        std::string before;
        bool armed;
        std::string after;
        bool warns;      // one box, naming the line as passed
        bool armedAfter; // the switch after the call
    } rows[] = {
        {"apostrophe comment", "100 PRINT A ' Ausgabe", true, "100 PRINT A", false, true},
        {"semicolon comment", "110 X=1 ;Zaehler", true, "110 X=1", false, true},
        {":REM tail", "120 GOSUB 500 :REM Unterprogramm", true, "120 GOSUB 500", false, true},
        {"REM line cut, switch left off", "130 REM Kopf; Teil 2", false, "130 REM Kopf", false,
         false},
        {"trailing plus, armed", "140 A=B+", true, "140 A=B", true, true},
        {"first line after start: no warning", "140 A=B+", false, "140 A=B", false, true},
        {"trailing comma stays", "150 PRINT A,", true, "150 PRINT A,", false, true},
        {"paren stays", "10 PRINT (\"A?\")", true, "10 PRINT (\"A?\")", false, true},
        {"question mark stays", "10 INPUT A?", true, "10 INPUT A?", false, true},
        {"comment only", "' nur Kommentar", true, "", false, true},
        {"empty line", "", true, "", false, true},
        {"blanks only", "     ", true, "", false, true},
        {"several specials, one warning", "200 A=1+-*", true, "200 A=1", true, true},
        {"only specials", "+++", true, "", true, true},
        {"REM inside a word keeps the plus", "210 PREMIUM=5+", true, "210 PREMIUM=5+", false, true},
        {"lower-case :rem kept whole", "220 X=5:rem test", true, "220 X=5:rem test", false, true},
        {"REM after leading clean-up", "  rem x+", true, "rem x+", false, true},
        {"tab between blanks: silent", "226 X=1 \t ", true, "226 X=1", false, true},
        {"trailing LF and CR: silent", "227 X=1\n\r", true, "227 X=1", false, true},
        {"umlaut, then the blank", Cp1252("230 PRINT Ä"), true, "230 PRINT", true, true},
        {"non-breaking blank is special", "231 X=1\xA0", true, "231 X=1", true, true},
        {"leading blanks and controls", "\x01\x0c  10 X", true, "10 X", false, true},
        {"leading CR stays", "\r10 X", true, "\r10 X", false, true},
        {"apostrophe in a string cuts", "10 PRINT \"it's\"", true, "10 PRINT \"it", false, true},
    };
    for (const Row &r : rows) {
        test::ScriptedDialogs dialogs;
        SharedFlags flags; // as at program start: not armed
        if (r.armed)
            flags.SonderzeichenWarnungAktiv = true;
        std::string line = r.before;
        EXPECT_EQ(RemKillZeile(line, dialogs, flags), r.after) << r.name;
        EXPECT_EQ(line, r.after) << r.name;
        EXPECT_EQ(flags.SonderzeichenWarnungAktiv, r.armedAfter) << r.name;
        EXPECT_EQ(test::Boxes(dialogs),
                  r.warns ? std::vector{test::Sonder(r.before)} : std::vector<test::Box>{})
            << r.name;
    }
    EXPECT_EQ(UpperCp1252(std::string("rem \xE4\xF6\xFC\xFF\x9A\xF7\xDF")),
              "REM \xC4\xD6\xDC\x9F\x8A\xF7\xDF");
}

} // namespace
} // namespace quandel
