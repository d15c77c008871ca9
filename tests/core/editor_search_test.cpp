#include "editor/go_to_line.h"
#include "editor/text_search.h"

#include <gtest/gtest.h>
#include <string>

namespace quandel {
namespace {

constexpr auto F = SearchDirection::Forward;
constexpr auto B = SearchDirection::Backward;
constexpr std::size_t kNone = std::size_t(-1);

// One search in a table: where it starts, how, and the hit's start (kNone
// when there is none) and whether it came round the end.
struct FindRow {
    const char *name;
    std::u16string text, needle;
    std::size_t from;
    SearchDirection direction;
    SearchOptions options;
    std::size_t position;
    bool wrapped;
};

void Check(const FindRow &r) {
    SCOPED_TRACE(r.name);
    const SearchResult got = FindText(r.text, r.needle, r.from, r.direction, r.options);
    EXPECT_EQ(got.found ? got.hit.position : kNone, r.position);
    if (got.found) {
        EXPECT_EQ(got.hit.wrapped, r.wrapped);
    }
}

TEST(FindText, CaseAndWholeWords) {
    const SearchOptions any{}, exact{true, false}, word{false, true}, both{true, true};
    const FindRow rows[] = {
        {"case ignored", u"10 print x", u"PRINT", 0, F, any, 3, false},
        {"case kept", u"10 print x: PRINT y", u"PRINT", 0, F, exact, 12, false},
        {"umlauts fold as well", u"' GRÖßE", u"größe", 0, F, any, 2, false},
        {"Œ Š Ž Ÿ fold", u"œšžÿ", u"ŒŠŽŸ", 0, F, any, 0, false},
        {"umlauts kept with case", u"' GRÖßE", u"größe", 0, F, exact, kNone, false},
        {"part of a word", u"PRINTER PRINT", u"PRINT", 0, F, any, 0, false},
        {"whole word skips PRINTER", u"PRINTER PRINT", u"PRINT", 0, F, word, 8, false},
        {"$ belongs to the word", u"A$=1:A=2", u"A", 0, F, word, 5, false},
        {"_ and digits belong to it", u"A_1 A1 A", u"A", 0, F, word, 7, false},
        {"line end and umlaut bound a word", u"X\u2029ÄX\u2029", u"X", 1, F, word, 3, false},
        {"at the text's ends", u"GOTO", u"GOTO", 0, F, word, 0, false},
        {"word and case together", u"Goto GOTOX GOTO", u"GOTO", 0, F, both, 11, false},
        {"no hit at all", u"10 END", u"STOP", 0, F, any, kNone, false},
        {"empty needle finds nothing", u"10 END", u"", 0, F, any, kNone, false},
        {"needle longer than the text", u"AB", u"ABC", 0, F, any, kNone, false},
    };
    for (const FindRow &r : rows)
        Check(r);
}

TEST(FindText, NextAndPreviousWrapAround) {
    // Hits of "ab" start at 0, 4 and 8.
    const std::u16string text = u"ab  ab  ab";
    const SearchOptions any{};
    const FindRow rows[] = {
        {"forward from a hit's start finds it", text, u"ab", 4, F, any, 4, false},
        {"forward from a hit's end finds the next", text, u"ab", 6, F, any, 8, false},
        {"forward past the last wraps to the first", text, u"ab", 9, F, any, 0, true},
        {"forward from the very end wraps", text, u"ab", 10, F, any, 0, true},
        {"a start beyond the text counts as its end", text, u"ab", 99, F, any, 0, true},
        {"backward finds the one before the start", text, u"ab", 8, B, any, 4, false},
        {"backward from inside a hit finds it", text, u"ab", 5, B, any, 4, false},
        {"backward before the first wraps to the last", text, u"ab", 0, B, any, 8, true},
        {"backward from the end finds the last", text, u"ab", 10, B, any, 8, false},
        {"the only hit is found again round the end", u"x ab x", u"ab", 4, F, any, 2, true},
        {"and backwards too", u"x ab x", u"ab", 2, B, any, 2, true},
    };
    for (const FindRow &r : rows)
        Check(r);
}

TEST(FindAll, HitsDoNotOverlap) {
    const SearchOptions any{}, word{false, true};
    EXPECT_EQ(FindAll(u"aaaa", u"aa", any), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(FindAll(u"aaa", u"aa", any), (std::vector<std::size_t>{0}));
    EXPECT_EQ(FindAll(u"A AB A$ A", u"a", word), (std::vector<std::size_t>{0, 8}));
    EXPECT_TRUE(FindAll(u"abc", u"", any).empty());
}

TEST(FindText, LongTextStaysLinear) {
    // 10000 lines with one hit at the very end: one pass, not a freeze.
    std::u16string text;
    for (int i = 0; i < 10000; ++i)
        text += u"1000 PRINT \"ZEILE\", A, B, C\u2029";
    text += u"9999 END";
    const SearchResult got = FindText(text, u"end", 0, F, {false, true});
    ASSERT_TRUE(got.found);
    EXPECT_EQ(got.hit.position, text.size() - 3);
}

TEST(FindBasicLine, LeadingNumberAlone) {
    const std::vector<std::string> program = {
        "' Kopf ohne Nummer",  // 0
        "10 PRINT 240",        // 1
        "2400 GOTO 240",       // 2: no 240, not even in part
        "   240 PRINT X",      // 3: leading blanks
        "\t250 END",           // 4: a tab as well
        "240 REM noch einmal", // 5: a duplicate, the first one counts
        "0300 X=1",            // 6: leading zero, same number
        "",                    // 7
        "99999999999999 END",  // 8: too long for any line number
    };
    const struct {
        long number;
        int line;
    } rows[] = {{10, 1},  {240, 3}, {2400, 2},  {250, 4},       {300, 6},
                {24, -1}, {0, -1},  {-240, -1}, {999999999, -1}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.number);
        EXPECT_EQ(FindBasicLine(program, r.number), r.line);
    }
    EXPECT_EQ(FindBasicLine({}, 10), -1);
}

TEST(GoToLineTarget, FileLinesAndBasicNumbers) {
    const std::vector<std::string> program = {"10 A=1", "240 PRINT A", "250 END"};
    const struct {
        GoToMode mode;
        long value;
        int line;
        std::string message;
    } rows[] = {
        {GoToMode::FileLine, 1, 0, ""},
        {GoToMode::FileLine, 3, 2, ""},
        {GoToMode::FileLine, 4, -1, "Zeile 4 gibt es nicht, der Text hat 3 Zeilen."},
        {GoToMode::FileLine, 0, -1, "Zeile 0 gibt es nicht, der Text hat 3 Zeilen."},
        {GoToMode::BasicLine, 240, 1, ""},
        {GoToMode::BasicLine, 2, -1, "BASIC-Zeile 2 gibt es nicht."},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.value);
        const GoToTarget got = GoToLineTarget(program, r.mode, r.value);
        EXPECT_EQ(got.line, r.line);
        EXPECT_EQ(got.message, r.message);
    }
    EXPECT_EQ(GoToLineTarget({"10 END"}, GoToMode::FileLine, 2).message,
              "Zeile 2 gibt es nicht, der Text hat 1 Zeile.");
}

} // namespace
} // namespace quandel
