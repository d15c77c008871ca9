#include "basictools/remkill_zeile.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

// The warning box text for a line that still carries its special character.
std::string Warning(const std::string &line) {
    return line + "\n\r\n\r" + "Sonderzeichen am Ende!" + "\n\r" + "Bitte \xFC" + "berpr\xFC" +
           "fen!";
}

TEST(RemKillZeile, StripsCommentsBlanksAndTrailingSpecials) {
    struct Row {
        const char *name;
        std::string before;
        bool armed;
        std::string after;
        std::vector<std::string> warnings; // box texts, in order
        bool armedAfter;
    } rows[] = {
        {"apostrophe comment", "100 PRINT A ' Ausgabe", true, "100 PRINT A", {}, true},
        {"semicolon comment", "110 X=1 ;Zaehler", true, "110 X=1", {}, true},
        {":REM tail", "120 GOSUB 500 :REM Unterprogramm", true, "120 GOSUB 500", {}, true},
        {"REM line cut at semicolon, switch untouched (armed)",
         "130 REM Kopf; Teil 2",
         true,
         "130 REM Kopf",
         {},
         true},
        {"REM line leaves a disarmed switch disarmed",
         "130 REM Kopf; Teil 2",
         false,
         "130 REM Kopf",
         {},
         false},
        {"trailing plus, armed", "140 A=B+", true, "140 A=B", {Warning("140 A=B+")}, true},
        {"trailing plus, not armed", "140 A=B+", false, "140 A=B", {}, true},
        {"trailing comma stays", "150 PRINT A,", true, "150 PRINT A,", {}, true},
        {"comment only", "' nur Kommentar", false, "", {}, true},
        {"empty line", "", true, "", {}, true},
        {"blanks only", "     ", true, "", {}, true},
        {"several specials, one warning",
         "200 A=1+-*",
         true,
         "200 A=1",
         {Warning("200 A=1+-*")},
         true},
        {"REM inside a word keeps the plus", "210 PREMIUM=5+", true, "210 PREMIUM=5+", {}, true},
        {"lower-case :rem not cut but kept whole",
         "220 X=5:rem test",
         true,
         "220 X=5:rem test",
         {},
         true},
        {"trailing tab removed silently", "225 PRINT A\t", true, "225 PRINT A", {}, true},
        {"blank tab blank at the end", "226 X=1 \t ", true, "226 X=1", {}, true},
        {"trailing LF and CR silent", "227 X=1\n\r", true, "227 X=1", {}, true},
        {"umlaut then blank",
         Cp1252("230 PRINT Ä"),
         true,
         "230 PRINT",
         {Warning(Cp1252("230 PRINT Ä"))},
         true},
        {"non-breaking blank is special",
         "231 X=1\xA0",
         true,
         "231 X=1",
         {Warning("231 X=1\xA0")},
         true},
        {"leading blanks and controls", "\x01\x0c  10 X", true, "10 X", {}, true},
        {"leading CR stays", "\r10 X", true, "\r10 X", {}, true},
        {"leading tab is a control", "\t10 X", true, "10 X", {}, true},
        {"apostrophe inside a string cuts", "10 PRINT \"it's\"", true, "10 PRINT \"it", {}, true},
        {"quote, paren, question mark stay",
         "10 PRINT (\"A?\")",
         true,
         "10 PRINT (\"A?\")",
         {},
         true},
        {"question mark at end stays", "10 INPUT A?", true, "10 INPUT A?", {}, true},
        {"only specials", "+++", true, "", {Warning("+++")}, true},
        {"colon at end", "10 X=1:", true, "10 X=1", {Warning("10 X=1:")}, true},
        {"semicolon before apostrophe", "10 A;B'C", true, "10 A", {}, true},
        {"REM found after leading clean-up only", "  rem x+", true, "rem x+", {}, true},
    };
    for (const Row &r : rows) {
        test::ScriptedDialogs dialogs;
        SharedFlags flags;
        flags.SonderzeichenWarnungAktiv = r.armed;
        std::string line = r.before;
        const std::string result = RemKillZeile(line, dialogs, flags);
        EXPECT_EQ(result, r.after) << r.name;
        EXPECT_EQ(line, r.after) << r.name;
        EXPECT_EQ(flags.SonderzeichenWarnungAktiv, r.armedAfter) << r.name;
        ASSERT_EQ(dialogs.boxes.size(), r.warnings.size()) << r.name;
        for (std::size_t i = 0; i < r.warnings.size(); ++i) {
            EXPECT_EQ(dialogs.boxes[i].text, r.warnings[i]) << r.name;
            EXPECT_EQ(dialogs.boxes[i].title, kAppTitle) << r.name;
            EXPECT_EQ(dialogs.boxes[i].icon, BoxIcon::Exclamation) << r.name;
            EXPECT_EQ(dialogs.boxes[i].buttons, BoxButtons::Ok) << r.name;
        }
    }
}

TEST(RemKillZeile, FirstLineAfterStartNeverWarns) {
    test::ScriptedDialogs dialogs;
    SharedFlags flags; // as at program start
    std::string first = "10 A=1+";
    std::string second = "20 B=2-";
    EXPECT_EQ(RemKillZeile(first, dialogs, flags), "10 A=1");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(RemKillZeile(second, dialogs, flags), "20 B=2");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, Warning("20 B=2-"));
}

TEST(RemKillZeile, WarningTextIsExact) {
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    flags.SonderzeichenWarnungAktiv = true;
    WarnSonderzeichen("X+", dialogs, flags);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "X+\n\r\n\rSonderzeichen am Ende!\n\rBitte "
                                     "\xFC"
                                     "berpr\xFC"
                                     "fen!");
    EXPECT_FALSE(flags.SonderzeichenWarnungAktiv);
}

TEST(UpperCp1252, MapsAsciiAndAccentedLetters) {
    EXPECT_EQ(UpperCp1252(std::string("rem \xE4\xF6\xFC\xFF\x9A\xF7\xDF")),
              "REM \xC4\xD6\xDC\x9F\x8A\xF7\xDF");
}

} // namespace
} // namespace quandel
