// Program memory (LIST), running programs, and PROG.

#include "sim_harness.hpp"

#include <cctype>
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

// Sends each line, checking the answer: a stored line is answered with its
// echo and a prompt, a command (NEW) with one more CR LF.
void enter(Port &port, const std::vector<std::string> &lines) {
    for (const auto &line : lines) {
        const auto first = line.find_first_not_of(' ');
        const bool numbered = std::isdigit(static_cast<unsigned char>(line[first]));
        ASSERT_EQ(port.command(line), line + (numbered ? "\r\n>" : "\r\n\r\n>"));
    }
}

struct ListCase {
    std::string name;
    std::vector<std::string> entered;
    std::string list_command;
    std::string listing; // between "LIST\r\n" and "\r\nREADY\r\n>"
};

class Listing : public ::testing::TestWithParam<ListCase> {};

TEST_P(Listing, ShowsStoredProgram) {
    const auto &param = GetParam();
    Connected c(fast_args());
    enter(c.port, param.entered);
    EXPECT_EQ(c.port.command(param.list_command),
              param.list_command + "\r\n" + param.listing + "\r\nREADY\r\n>");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Listing,
    ::testing::Values(ListCase{"Empty", {}, "LIST", ""},
                      ListCase{"SortedByNumber",
                               {"20 GOTO 10", "10 PRINT \"HI\""},
                               "LIST",
                               "10     PRINT \"HI\"\r\n20     GOTO 10\r\n"},
                      ListCase{"SameNumberReplaces",
                               {"10 PRINT 1", "20 END", "10 PRINT 2"},
                               "LIST",
                               "10     PRINT 2\r\n20     END\r\n"},
                      ListCase{"NumberAloneDeletes",
                               {"10 PRINT 1", "20 PRINT 2", "30 PRINT 3", "20", "40"},
                               "LIST",
                               "10     PRINT 1\r\n30     PRINT 3\r\n"},
                      ListCase{"KeywordsUpperStringsKeepCase",
                               {"10 print \"Hi There\";a"},
                               "list",
                               "10     PRINT \"Hi There\";A\r\n"},
                      ListCase{"FieldOfSevenAndBlanksTrimmed",
                               {"1 REM", "  65535    END  ", "12345 STOP"},
                               "LIST",
                               "1      REM\r\n12345  STOP\r\n65535  END\r\n"},
                      ListCase{"NewClears", {"10 PRINT 1", "NEW"}, "LIST", ""},
                      ListCase{
                          "OneLine", {"10 A=1", "20 A=2", "30 A=3"}, "LIST 20", "20     A=2\r\n"},
                      ListCase{"Range",
                               {"10 A=1", "20 A=2", "30 A=3", "40 A=4"},
                               "LIST 15-30",
                               "20     A=2\r\n30     A=3\r\n"}),
    [](const auto &info) { return info.param.name; });

struct RunCase {
    std::string name;
    std::vector<std::string> program;
    std::string output; // what follows "RUN\r\n", up to the prompt
};

class Running : public ::testing::TestWithParam<RunCase> {};

TEST_P(Running, PrintsOutputAndEndsWithPrompt) {
    const auto &param = GetParam();
    Connected c(fast_args());
    for (const auto &line : param.program)
        c.port.command(line);
    EXPECT_EQ(c.port.command("RUN"), "RUN\r\n" + param.output);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Running,
    ::testing::Values(
        RunCase{"EmptyProgram", {}, "\r\nREADY\r\n>"},
        RunCase{"CountingLoop",
                {"10 A=1", "20 PRINT A", "30 A=A+1", "40 IF A<=3 THEN 20", "50 END",
                 "60 PRINT \"NOT HERE\""},
                " 1 \r\n 2 \r\n 3 \r\n\r\nREADY\r\n>"},
        RunCase{"RunningOffTheEnd", {"10 PRINT \"a\";", "20 PRINT \"B\""}, "aB\r\n\r\nREADY\r\n>"},
        RunCase{"Comparisons",
                {"10 IF 1<>2 THEN PRINT \"NE\"", "20 IF 2>=2 THEN PRINT \"GE\"",
                 "30 IF 3<2 THEN PRINT \"LT\"", "40 IF 2=2 THEN PRINT \"EQ\"",
                 "50 IF 1>2 THEN PRINT \"GT\"", "60 IF 2<=1 THEN PRINT \"LE\""},
                "NE\r\nGE\r\nEQ\r\n\r\nREADY\r\n>"},
        RunCase{"StopStatement",
                {"10 PRINT \"A\"", "20 STOP", "30 PRINT \"B\""},
                "A\r\n\r\nSTOP - IN LINE  20\r\nREADY\r\n>"},
        RunCase{"ForNextWithStep",
                {"10 FOR I=10 TO 1 STEP -4", "20 PRINT I;", "30 NEXT I"},
                " 10  6  2 \r\nREADY\r\n>"},
        RunCase{"NestedForAndColons",
                {"10 FOR I=1 TO 2: FOR J=1 TO 2", "20 PRINT I*10+J;: NEXT J: NEXT I"},
                " 11  12  21  22 \r\nREADY\r\n>"},
        RunCase{"GosubReturn",
                {"10 GOSUB 100: PRINT \"BACK\"", "20 END", "100 PRINT \"SUB\"", "110 RETURN"},
                "SUB\r\nBACK\r\n\r\nREADY\r\n>"},
        RunCase{"UnsetVariableIsZero", {"10 PRINT X", "20 X=5"}, " 0 \r\n\r\nREADY\r\n>"},
        RunCase{"GotoMissingLine",
                {"10 PRINT 1", "20 GOTO 99"},
                " 1 \r\n\r\nERROR: INVALID LINE NUMBER - IN LINE  20\r\nREADY\r\n>"},
        RunCase{"SyntaxErrorInProgram",
                {"10 PRINT 1", "20 PRINT 1+"},
                " 1 \r\n\r\nERROR: BAD SYNTAX - IN LINE  20\r\nREADY\r\n>"},
        RunCase{"ReturnWithoutGosub",
                {"10 RETURN"},
                "\r\nERROR: RETURN WITHOUT GOSUB - IN LINE  10\r\nREADY\r\n>"}),
    [](const auto &info) { return info.param.name; });

TEST(Running, CtrlCStopsALoopWithTheCurrentLine) {
    Connected c(fast_args());
    enter(c.port, {"10 PRINT \"X\"", "20 GOTO 10"});
    c.port.send("RUN\r");
    EXPECT_EQ(c.port.read_until("X\r\nX\r\nX\r\nX\r\nX\r\n"), "RUN\r\nX\r\nX\r\nX\r\nX\r\nX\r\n");
    c.port.send("ignored\r");
    c.port.send("\x03");
    const std::string rest = c.port.read_answer();
    const auto stop = rest.find("\r\nSTOP - IN LINE  ");
    ASSERT_NE(stop, std::string::npos) << rest;
    for (std::size_t i = 0; i < stop; i += 3)
        ASSERT_EQ(rest.substr(i, 3), "X\r\n") << "only program output before STOP: " << rest;
    const std::string tail = rest.substr(stop);
    EXPECT_TRUE(tail == "\r\nSTOP - IN LINE  10\r\nREADY\r\n>" ||
                tail == "\r\nSTOP - IN LINE  20\r\nREADY\r\n>")
        << tail;
    EXPECT_EQ(c.port.read_for(100ms), "");
    // Interpreter is back at the command line and the program is still there.
    EXPECT_EQ(c.port.command("LIST"),
              "LIST\r\n10     PRINT \"X\"\r\n20     GOTO 10\r\n\r\nREADY\r\n>");
}

TEST(Prog, ShowsProgressOnDisplayThenReady) {
    Connected c({"--busy-scale", "0.05"});
    enter(c.port, {"10 END"});
    EXPECT_EQ(c.port.command("PROG"), "PROG\r\n"
                                      "\x1bY# PROGRAMMING IN PROGRESS\r\n"
                                      "\x1bY# PROGRAMMING SUCCESSFULL"
                                      "\r\nREADY\r\n>");
}

} // namespace
} // namespace simtest
