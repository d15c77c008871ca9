// The byte-for-byte dialogue: direct commands, line editing, program memory
// (LIST), running programs, the options that change the answers, Ctrl+C and
// PROG.

#include "sim_harness.hpp"

#include <cctype>
#include <gtest/gtest.h>
#include <sstream>

namespace simtest {
namespace {

// Enters each line (split at CR), checking the answer: a stored line is
// answered with its echo and a prompt, a command with one more CR LF.
void enter(Port &port, const std::string &lines) {
    std::size_t from = 0;
    for (std::size_t to; from < lines.size(); from = to + 1) {
        to = std::min(lines.find('\r', from), lines.size());
        const std::string line = lines.substr(from, to - from);
        const bool numbered =
            std::isdigit(static_cast<unsigned char>(line[line.find_first_not_of(' ')]));
        ASSERT_EQ(port.command(line), line + (numbered ? "\r\n>" : "\r\n\r\n>"));
    }
}

TEST(SignOn, DisplayBannerThenTerminalTextThenPrompt) {
    Connected c(fast_args());
    // Display: clear, banner on row 0 and a memory line on row 1 (ESC Y,
    // row and column offset by 32), then CR so the terminal line starts clean.
    EXPECT_TRUE(c.signon.starts_with("\f\x1bY  KAVOLT VELNOR BASIC V1.1\x1bY! ")) << c.signon;
    EXPECT_TRUE(c.signon.ends_with("\r\r\n*KAVOLT VELNOR BASIC V1.1*\r\nREADY\r\n>")) << c.signon;
    EXPECT_EQ(c.port.read_for(100ms), "") << "nothing may follow the prompt";
}

TEST(Dialogue, AnswersByteForByte) {
    const std::string x69(69, 'x'); // with PRINT " and "; the line holds 77 characters
    const std::string ready = "\r\nREADY\r\n>";
    struct Row {
        const char *name;
        std::string program; // entered first, lines ended by CR
        std::string send, answer;
        std::string options = {}; // split at blanks
        bool signon = true;       // false: nothing may come before the first line
    } rows[] = {
        {"print", "", "PRINT 1+1\r", "PRINT 1+1\r\n 2 \r\n\r\n>"},
        {"lower case, precedence", "", "print 2*(3+4)-10/5\r",
         "print 2*(3+4)-10/5\r\n 12 \r\n\r\n>"},
        {"negative fraction", "", "PRINT -7/2\r", "PRINT -7/2\r\n-3.5 \r\n\r\n>"},
        {"string keeps case", "", "PRINT \"Sum:\";1+2\r", "PRINT \"Sum:\";1+2\r\nSum: 3 \r\n\r\n>"},
        {"trailing semicolon", "", "PRINT \"A\";\r", "PRINT \"A\";\r\nA\r\n>"},
        {"hex number", "", "PRINT 7FFFH\r", "PRINT 7FFFH\r\n 32767 \r\n\r\n>"},
        {"variables", "A=5", "let b1 = a*2 : print b1\r",
         "let b1 = a*2 : print b1\r\n 10 \r\n\r\n>"},
        {"program line", "", "10 PRINT \"HI\"\r", "10 PRINT \"HI\"\r\n>"},
        {"prompt character in the echo", "", "20 IF A>B THEN 100\r", "20 IF A>B THEN 100\r\n>"},
        {"empty line", "", "\r", "\r\n>"},
        {"RAM", "", "RAM\r", "RAM\r\n" + ready},
        {"rom", "", "rom\r", "rom\r\n" + ready},
        {"MTOP", "", "MTOP=7FFFH\r", "MTOP=7FFFH\r\n\r\n>"},
        {"CR LF line end", "", "PRINT 3\r\n", "PRINT 3\r\n 3 \r\n\r\n>"},
        {"unknown command", "", "FOO\r", "FOO\r\n\r\nERROR: BAD SYNTAX\r\n>"},
        {"divide by zero", "", "PRINT 1/0\r", "PRINT 1/0\r\n\r\nERROR: DIVIDE BY ZERO\r\n>"},
        {"line number too big", "", "70000 END\r",
         "70000 END\r\n\r\nERROR: INVALID LINE NUMBER\r\n>"},
        {"DEL erases", "",
         "PRINT 12\x7f"
         "3\r",
         "PRINT 12\b \b3\r\n 13 \r\n\r\n>"},
        {"DEL on an empty line", "", "\x7f\x7fPRINT 1\r", "PRINT 1\r\n 1 \r\n\r\n>"},
        {"BS echoed, not erasing", "", "PRINT 1\b2\r", "PRINT 1\b2\r\n 12 \r\n\r\n>"},
        {"Ctrl+C at the command line", "", "PRINT\x03 5\r", "PRINT 5\r\n 5 \r\n\r\n>"},
        {"BEL past 78 characters", "", "PRINT \"" + x69 + "\";YZ\r",
         "PRINT \"" + x69 + "\";\a\a\r\n" + x69 + "\r\n>"},
        {"DEL makes room again", "", "PRINT \"" + x69 + "\";Z\x7f,\r",
         "PRINT \"" + x69 + "\";\a\b \b,\r\n" + x69 + "\r\n>"},
        // Program memory.
        {"LIST empty", "", "LIST\r", "LIST\r\n" + ready},
        {"LIST sorted", "20 GOTO 10\r10 PRINT \"HI\"", "LIST\r",
         "LIST\r\n10     PRINT \"HI\"\r\n20     GOTO 10\r\n" + ready},
        {"same number replaces", "10 PRINT 1\r20 END\r10 PRINT 2", "LIST\r",
         "LIST\r\n10     PRINT 2\r\n20     END\r\n" + ready},
        {"number alone deletes", "10 PRINT 1\r20 PRINT 2\r30 PRINT 3\r20\r40", "LIST\r",
         "LIST\r\n10     PRINT 1\r\n30     PRINT 3\r\n" + ready},
        {"keywords upper, strings keep case", "10 print \"Hi There\";a", "list\r",
         "list\r\n10     PRINT \"Hi There\";A\r\n" + ready},
        {"field of seven, blanks trimmed", "1 REM\r  65535    END  \r12345 STOP", "LIST\r",
         "LIST\r\n1      REM\r\n12345  STOP\r\n65535  END\r\n" + ready},
        {"NEW clears", "10 PRINT 1\rNEW", "LIST\r", "LIST\r\n" + ready},
        {"an assignment has one blank less, the user's notation kept",
         "30 a=1E3 : B=.5\r40 feld(2) = 7\r50 LET C=1", "LIST\r",
         "LIST\r\n30    A=1E3 : B=.5\r\n40    FELD(2) = 7\r\n50     LET C=1\r\n" + ready},
        {"LIST one line", "10 A=1\r20 A=2\r30 A=3", "LIST 20\r",
         "LIST 20\r\n20    A=2\r\n" + ready},
        {"LIST a range", "10 A=1\r20 A=2\r30 A=3\r40 A=4", "LIST 15-30\r",
         "LIST 15-30\r\n20    A=2\r\n30    A=3\r\n" + ready},
        // Running programs.
        {"RUN empty", "", "RUN\r", "RUN\r\n" + ready},
        {"counting loop, END",
         "10 A=1\r20 PRINT A\r30 A=A+1\r40 IF A<=3 THEN 20\r50 END\r60 PRINT 9", "RUN\r",
         "RUN\r\n 1 \r\n 2 \r\n 3 \r\n" + ready},
        {"running off the end", "10 PRINT \"a\";\r20 PRINT \"B\"", "RUN\r",
         "RUN\r\naB\r\n" + ready},
        {"comparisons",
         "10 IF 1<>2 THEN PRINT \"NE\"\r20 IF 2>=2 THEN PRINT \"GE\"\r30 IF 3<2 THEN PRINT \"LT\"\r"
         "40 IF 2=2 THEN PRINT \"EQ\"\r50 IF 1>2 THEN PRINT \"GT\"\r60 IF 2<=1 THEN PRINT \"LE\"",
         "RUN\r", "RUN\r\nNE\r\nGE\r\nEQ\r\n" + ready},
        {"STOP", "10 PRINT \"A\"\r20 STOP\r30 PRINT \"B\"", "RUN\r",
         "RUN\r\nA\r\n\r\nSTOP - IN LINE  20" + ready},
        {"FOR NEXT STEP", "10 FOR I=10 TO 1 STEP -4\r20 PRINT I;\r30 NEXT I", "RUN\r",
         "RUN\r\n 10  6  2 " + ready},
        {"nested FOR, colons", "10 FOR I=1 TO 2: FOR J=1 TO 2\r20 PRINT I*10+J;: NEXT J: NEXT I",
         "RUN\r", "RUN\r\n 11  12  21  22 " + ready},
        {"GOSUB RETURN", "10 GOSUB 100: PRINT \"BACK\"\r20 END\r100 PRINT \"SUB\"\r110 RETURN",
         "RUN\r", "RUN\r\nSUB\r\nBACK\r\n" + ready},
        {"unset variable is 0", "10 PRINT X\r20 X=5", "RUN\r", "RUN\r\n 0 \r\n" + ready},
        {"GOTO a missing line", "10 PRINT 1\r20 GOTO 99", "RUN\r",
         "RUN\r\n 1 \r\n\r\nERROR: INVALID LINE NUMBER - IN LINE  20\r\n\r\n20     GOTO 99\r\n"
         "-------X" +
             ready},
        {"syntax error in a line", "10 PRINT 1\r20 PRINT 1+", "RUN\r",
         "RUN\r\n 1 \r\n\r\nERROR: BAD SYNTAX - IN LINE  20\r\n\r\n20     PRINT 1+\r\n"
         "-------X" +
             ready},
        {"the marker points at the failed statement", "10 A=1: PRINT 1/0", "RUN\r",
         "RUN\r\n\r\nERROR: DIVIDE BY ZERO - IN LINE  10\r\n\r\n10    A=1: PRINT 1/0\r\n"
         "-----------X" +
             ready},
        {"RETURN without GOSUB", "10 RETURN", "RUN\r",
         "RUN\r\n\r\nERROR: RETURN WITHOUT GOSUB - IN LINE  10\r\n\r\n10     RETURN\r\n"
         "-------X" +
             ready},
        // Options that change the dialogue.
        {"extra after every prompt", "", "PRINT 1\r", "\x1b[0m|PRINT 1\r\n 1 \r\n\r\n>\x1b[0m|",
         "--extra-after-prompt \\e[0m\\x7c"},
        {"no sign-on", "", "PRINT 1\r", "PRINT 1\r\n 1 \r\n\r\n>", "--no-signon", false},
        {"a noisy line is answered but not kept", "10 A=1\r20 A=2\r30 A=3", "LIST\r",
         "LIST\r\n10    A=1\r\n30    A=3\r\n" + ready, "--drop-line 2"},
        {"mute from the start", "", "PRINT 9\r\r", "", "--mute-after 0", false},
        {"mute after two lines", "", "PRINT 1\rPRINT 2\rPRINT 9\r\r",
         "PRINT 1\r\n 1 \r\n\r\n>PRINT 2\r\n 2 \r\n\r\n>", "--mute-after 2"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::string> options;
        std::istringstream words(r.options);
        for (std::string word; words >> word;)
            options.push_back(word);
        Connected c(fast_args(options), r.signon);
        if (!r.signon) {
            EXPECT_EQ(c.port.read_for(300ms), "");
        }
        enter(c.port, r.program);
        c.port.send(r.send);
        EXPECT_EQ(c.port.read_until(r.answer), r.answer);
        EXPECT_EQ(c.port.read_for(100ms), "") << "nothing after the answer";
    }
}

TEST(Running, CtrlCStopsALoopWithTheCurrentLine) {
    Connected c(fast_args());
    enter(c.port, "10 PRINT \"X\"\r20 GOTO 10");
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
    // Back at the command line, the program still there.
    EXPECT_EQ(c.port.command("LIST"),
              "LIST\r\n10     PRINT \"X\"\r\n20     GOTO 10\r\n\r\nREADY\r\n>");
}

TEST(Prog, ShowsProgressOnDisplayThenReady) {
    Connected c({"--busy-scale", "0.05"});
    enter(c.port, "10 END");
    EXPECT_EQ(c.port.command("PROG"), "PROG\r\n\x1bY# PROGRAMMING IN PROGRESS\r\n"
                                      "\x1bY# PROGRAMMING SUCCESSFULL\r\nREADY\r\n>");
}

} // namespace
} // namespace simtest
