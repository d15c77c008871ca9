// The byte-for-byte dialogue of direct commands and line editing.

#include "sim_harness.hpp"

#include <gtest/gtest.h>
#include <ostream>

namespace simtest {
namespace {

// Table rows show as their name in test output.
template <typename Row>
requires requires(const Row &row) {
    row.name;
}
void PrintTo(const Row &row, std::ostream *os) {
    *os << row.name;
}

const std::string signon_tail = "\r\n*KAVOLT VELNOR BASIC V1.1*\r\nREADY\r\n>";

TEST(SignOn, DisplayBannerThenTerminalTextThenPrompt) {
    Connected c(fast_args());
    // Display: clear, banner on row 0 and a memory line on row 1 (ESC Y,
    // row and column offset by 32), then CR so the terminal line starts clean.
    EXPECT_EQ(c.signon.rfind("\f\x1bY  KAVOLT VELNOR BASIC V1.1\x1bY! ", 0), 0u) << c.signon;
    const std::string expected_end = "\r" + signon_tail;
    ASSERT_GE(c.signon.size(), expected_end.size());
    EXPECT_EQ(c.signon.substr(c.signon.size() - expected_end.size()), expected_end);
    EXPECT_EQ(c.port.read_for(100ms), "") << "nothing may follow the prompt";
}

struct Exchange {
    std::string send;
    std::string expect;
};

struct DialogueCase {
    std::string name;
    std::vector<Exchange> exchanges;
};

class Dialogue : public ::testing::TestWithParam<DialogueCase> {};

TEST_P(Dialogue, AnswersByteForByte) {
    Connected c(fast_args());
    for (const auto &[send, expect] : GetParam().exchanges) {
        c.port.send(send);
        EXPECT_EQ(c.port.read_answer(), expect)
            << "after sending " << ::testing::PrintToString(send);
    }
    EXPECT_EQ(c.port.read_for(50ms), "");
}

const std::string sixty_nine(69, 'x');

INSTANTIATE_TEST_SUITE_P(
    Commands, Dialogue,
    ::testing::Values(
        DialogueCase{"PrintSum", {{"PRINT 1+1\r", "PRINT 1+1\r\n 2 \r\n\r\n>"}}},
        DialogueCase{"LowerCaseWithPrecedence",
                     {{"print 2*(3+4)-10/5\r", "print 2*(3+4)-10/5\r\n 12 \r\n\r\n>"}}},
        DialogueCase{"NegativeFraction", {{"PRINT -7/2\r", "PRINT -7/2\r\n-3.5 \r\n\r\n>"}}},
        DialogueCase{"StringKeepsCaseThenNumber",
                     {{"PRINT \"Sum:\";1+2\r", "PRINT \"Sum:\";1+2\r\nSum: 3 \r\n\r\n>"}}},
        DialogueCase{"TrailingSemicolonNoNewline", {{"PRINT \"A\";\r", "PRINT \"A\";\r\nA\r\n>"}}},
        DialogueCase{"HexNumber", {{"PRINT 7FFFH\r", "PRINT 7FFFH\r\n 32767 \r\n\r\n>"}}},
        DialogueCase{"ProgramLine", {{"10 PRINT \"HI\"\r", "10 PRINT \"HI\"\r\n>"}}},
        DialogueCase{"PromptCharInEcho", {{"20 IF A>B THEN 100\r", "20 IF A>B THEN 100\r\n>"}}},
        DialogueCase{"LineNumberAloneDeletes", {{"10\r", "10\r\n>"}}},
        DialogueCase{"EmptyLine", {{"\r", "\r\n>"}, {"   \r", "   \r\n>"}}},
        DialogueCase{"New", {{"NEW\r", "NEW\r\n\r\n>"}}},
        DialogueCase{"Ram", {{"RAM\r", "RAM\r\n\r\nREADY\r\n>"}}},
        DialogueCase{"Rom", {{"rom\r", "rom\r\n\r\nREADY\r\n>"}}},
        DialogueCase{"Mtop",
                     {{"MTOP=7FFFH\r", "MTOP=7FFFH\r\n\r\n>"},
                      {"MTOP=1000\r", "MTOP=1000\r\n\r\n>"},
                      {"PRINT MTOP\r", "PRINT MTOP\r\n 1000 \r\n\r\n>"}}},
        DialogueCase{"Variables",
                     {{"A=5\r", "A=5\r\n\r\n>"},
                      {"let b1 = a*2 : print b1\r", "let b1 = a*2 : print b1\r\n 10 \r\n\r\n>"}}},
        DialogueCase{"CrLfLineEnds",
                     {{"PRINT 3\r\n", "PRINT 3\r\n 3 \r\n\r\n>"},
                      {"PRINT 4\r\n", "PRINT 4\r\n 4 \r\n\r\n>"}}},
        DialogueCase{"UnknownCommand", {{"FOO\r", "FOO\r\n\r\nERROR: BAD SYNTAX\r\n>"}}},
        DialogueCase{"UnbalancedParenthesis",
                     {{"PRINT (1\r", "PRINT (1\r\n\r\nERROR: BAD SYNTAX\r\n>"}}},
        DialogueCase{"GotoIsNotDirect", {{"GOTO 10\r", "GOTO 10\r\n\r\nERROR: BAD SYNTAX\r\n>"}}},
        DialogueCase{"DivideByZero",
                     {{"PRINT 1/0\r", "PRINT 1/0\r\n\r\nERROR: DIVIDE BY ZERO\r\n>"}}},
        DialogueCase{"LineNumberTooBig",
                     {{"70000 END\r", "70000 END\r\n\r\nERROR: INVALID LINE NUMBER\r\n>"}}},
        DialogueCase{"DelErasesLastChar",
                     {{"PRINT 12\x7f"
                       "3\r",
                       "PRINT 12\b \b3\r\n 13 \r\n\r\n>"}}},
        DialogueCase{"DelOnEmptyLineDoesNothing",
                     {{"\x7f\x7fPRINT 1\r", "PRINT 1\r\n 1 \r\n\r\n>"}}},
        DialogueCase{"BackspaceEchoedButKeepsChar",
                     {{"PRINT 1\b2\r", "PRINT 1\b2\r\n 12 \r\n\r\n>"}}},
        DialogueCase{"CtrlCAtCommandLineIgnored", {{"PRINT\x03 5\r", "PRINT 5\r\n 5 \r\n\r\n>"}}},
        // 6 + 1 + 69 + 1 = 77 characters, one more fits, then BEL for each.
        DialogueCase{"BellPast78Chars",
                     {{"PRINT \"" + sixty_nine + "\";YZ\r",
                       "PRINT \"" + sixty_nine + "\";\a\a\r\n" + sixty_nine + "\r\n>"}}},
        DialogueCase{"DelMakesRoomAgain",
                     {{"PRINT \"" + sixty_nine + "\";Z\x7f,\r",
                       "PRINT \"" + sixty_nine + "\";\a\b \b,\r\n" + sixty_nine + "\r\n>"}}}),
    [](const auto &info) { return info.param.name; });

} // namespace
} // namespace simtest
