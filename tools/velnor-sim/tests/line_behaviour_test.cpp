// Timing and loss on the line, and the options that change the dialogue.

#include "sim_harness.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <thread>

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

long long ms_since(Clock::time_point start) {
    return std::chrono::duration_cast<Millis>(Clock::now() - start).count();
}

struct BusyCase {
    std::string name;
    std::vector<std::string> args;
    std::vector<std::string> setup; // commands sent first
    std::string command;
    long long min_busy_ms; // from sending the line to the prompt
    long long max_busy_ms; // 0: no upper bound
};

class BusyTime : public ::testing::TestWithParam<BusyCase> {};

TEST_P(BusyTime, ComesBetweenEchoAndPrompt) {
    const auto &param = GetParam();
    auto args = param.args;
    args.insert(args.end(), {"--signon-delay", "0"});
    Connected c(args);
    for (const auto &line : param.setup)
        c.port.command(line, 10s);
    const auto sent = Clock::now();
    c.port.send(param.command + "\r");
    EXPECT_EQ(c.port.read_until(param.command + "\r\n"), param.command + "\r\n");
    const auto echoed = Clock::now();
    const std::string rest = c.port.read_until(">", 10s);
    ASSERT_TRUE(rest.ends_with(">")) << rest;
    // No prompt can come before the busy time has passed since sending.
    EXPECT_GE(ms_since(sent), param.min_busy_ms);
    // The echo comes at once and the busy time after it; loosely checked, as
    // this process may be late to read the echo.
    EXPECT_GE(ms_since(echoed), param.min_busy_ms / 2);
    if (param.max_busy_ms > 0) {
        EXPECT_LE(ms_since(echoed), param.max_busy_ms);
    }
}

const std::vector<std::string> slow_only{"--busy-ms", "0", "--slow-busy-ms", "300"};

INSTANTIATE_TEST_SUITE_P(
    Commands, BusyTime,
    ::testing::Values(
        BusyCase{"StoredLine", {"--busy-ms", "300"}, {}, "10 END", 280, 0},
        BusyCase{"DeletedLine", {"--busy-ms", "300"}, {}, "10", 280, 0},
        BusyCase{"New", slow_only, {}, "NEW", 280, 0},
        BusyCase{"Run", slow_only, {}, "RUN", 280, 0},
        BusyCase{"Mtop", slow_only, {}, "MTOP=7FFFH", 280, 0},
        BusyCase{"FirstLineAfterNew", slow_only, {"NEW"}, "10 END", 280, 0},
        BusyCase{"FirstLineAfterMtop", slow_only, {"MTOP=32767"}, "10 END", 280, 0},
        BusyCase{"SecondLineAfterNewIsOrdinary",
                 {"--busy-ms", "0", "--slow-busy-ms", "600"},
                 {"NEW", "10 END"},
                 "20 END",
                 0,
                 450},
        BusyCase{
            "ScaleShortens", {"--busy-ms", "3000", "--busy-scale", "0.1"}, {}, "10 END", 280, 2500},
        BusyCase{"PromptDelay", {"--busy-scale", "0", "--prompt-delay", "300"}, {}, "", 280, 0}),
    [](const auto &info) { return info.param.name; });

struct LossCase {
    std::string name;
    std::vector<std::string> args;
    std::string send_second_after; // "" sends both lines at once
    std::string transcript;
    std::string listing;
};

class InputLoss : public ::testing::TestWithParam<LossCase> {};

TEST_P(InputLoss, SecondLineSurvivesOnlyWhenControllerWasReady) {
    const auto &param = GetParam();
    auto args = param.args;
    args.insert(args.end(), {"--signon-delay", "0"});
    Connected c(args);
    std::string transcript;
    if (param.send_second_after.empty()) {
        c.port.send("10 A=1\r20 A=2\r");
    } else {
        c.port.send("10 A=1\r");
        transcript = c.port.read_until("10 A=1\r\n" + param.send_second_after);
        c.port.send("20 A=2\r");
    }
    // Wait for what should come, then make sure nothing more does.
    transcript += c.port.read_until(param.transcript.substr(transcript.size()));
    transcript += c.port.read_for(300ms);
    EXPECT_EQ(transcript, param.transcript);
    EXPECT_EQ(c.port.command("LIST"), "LIST\r\n" + param.listing + "\r\nREADY\r\n>");
}

const std::string both_lines = "10     A=1\r\n20     A=2\r\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, InputLoss,
    ::testing::Values(
        LossCase{"LostWhileBusy", {"--busy-ms", "200"}, "", "10 A=1\r\n>", "10     A=1\r\n"},
        LossCase{"KeptWithNoLoss",
                 {"--busy-ms", "200", "--no-loss"},
                 "",
                 "10 A=1\r\n>20 A=2\r\n>",
                 both_lines},
        LossCase{"LostBeforeDelayedPrompt",
                 {"--busy-scale", "0", "--prompt-delay", "200"},
                 "",
                 "10 A=1\r\n>",
                 "10     A=1\r\n"},
        LossCase{"KeptWhenSentAfterPrompt",
                 {"--busy-ms", "200"},
                 ">",
                 "10 A=1\r\n>20 A=2\r\n>",
                 both_lines}),
    [](const auto &info) { return info.param.name; });

TEST(CharDelay, PacesTheAnswer) {
    Connected c(fast_args({"--char-delay", "5"}));
    const auto start = Clock::now();
    const std::string answer = c.port.command("PRINT 1+1");
    EXPECT_EQ(answer, "PRINT 1+1\r\n 2 \r\n\r\n>");
    EXPECT_GE(ms_since(start), 5 * static_cast<long long>(answer.size() - 2));
}

struct MuteCase {
    std::string name;
    int mute_after;
};

class Mute : public ::testing::TestWithParam<MuteCase> {};

TEST_P(Mute, AnswersThatManyLinesThenNothing) {
    const int n = GetParam().mute_after;
    Connected c(fast_args({"--mute-after", std::to_string(n)}), false);
    if (n > 0) {
        EXPECT_TRUE(c.port.read_answer().ends_with("READY\r\n>")) << "sign-on";
    }
    for (int i = 1; i <= n; ++i) {
        const std::string line = "PRINT " + std::to_string(i);
        EXPECT_EQ(c.port.command(line), line + "\r\n " + std::to_string(i) + " \r\n\r\n>");
    }
    c.port.send("PRINT 9\r\r");
    EXPECT_EQ(c.port.read_for(300ms), "");
}

INSTANTIATE_TEST_SUITE_P(Lines, Mute,
                         ::testing::Values(MuteCase{"FromTheStart", 0},
                                           MuteCase{"AfterTwoLines", 2}),
                         [](const auto &info) { return info.param.name; });

TEST(ExtraAfterPrompt, FollowsEveryPrompt) {
    Connected c(fast_args({"--extra-after-prompt", "\\e[0m\\x7c"}), false);
    const std::string extra = "\x1b[0m|";
    const std::string signon = c.port.read_until(">" + extra);
    EXPECT_NE(signon.find("READY\r\n>" + extra), std::string::npos) << signon;
    c.port.send("PRINT 1\r");
    EXPECT_EQ(c.port.read_until(">" + extra), "PRINT 1\r\n 1 \r\n\r\n>" + extra);
    EXPECT_EQ(c.port.read_for(50ms), "");
}

TEST(NoSignOn, SilentUntilSpokenTo) {
    Connected c(fast_args({"--no-signon"}), false);
    EXPECT_EQ(c.port.read_for(300ms), "");
    EXPECT_EQ(c.port.command("PRINT 1"), "PRINT 1\r\n 1 \r\n\r\n>");
}

TEST(Reopen, FreshSignOnAndProgramKept) {
    Connected c(fast_args());
    EXPECT_EQ(c.port.command("10 PRINT \"X\""), "10 PRINT \"X\"\r\n>");
    EXPECT_EQ(c.port.command("20 GOTO 10"), "20 GOTO 10\r\n>");
    c.port.send("RUN\r");
    c.port.read_until("X\r\nX\r\n");
    // Closed in the middle of the program's output.
    c.port.close();
    std::this_thread::sleep_for(300ms);
    Port again(c.sim.slave_path());
    const std::string signon = again.read_answer();
    EXPECT_EQ(signon, c.signon) << "no leftovers from the closed session";
    EXPECT_EQ(again.command("LIST"),
              "LIST\r\n10     PRINT \"X\"\r\n20     GOTO 10\r\n\r\nREADY\r\n>");
}

} // namespace
} // namespace simtest
