// Timing and loss on the line, the options that change the dialogue, and the
// program as a process: the symlink, hanging up, the log.

#include "sim_harness.hpp"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace simtest {
namespace {

namespace fs = std::filesystem;

long long ms_since(Clock::time_point start) {
    return std::chrono::duration_cast<Millis>(Clock::now() - start).count();
}

TEST(BusyTime, ComesBetweenEchoAndPrompt) {
    const std::vector<std::string> slow{"--busy-ms", "0", "--slow-busy-ms", "300"};
    struct Row {
        const char *name;
        std::vector<std::string> args, setup; // setup: commands sent first
        std::string command;
        long long min_ms, max_ms = 0; // from sending the line to the prompt; 0: no bound
    } rows[] = {
        {"stored line", {"--busy-ms", "300"}, {}, "10 END", 280},
        {"deleted line", {"--busy-ms", "300"}, {}, "10", 280},
        {"NEW", slow, {}, "NEW", 280},
        {"RUN", slow, {}, "RUN", 280},
        {"MTOP=", slow, {}, "MTOP=7FFFH", 280},
        {"first line after NEW", slow, {"NEW"}, "10 END", 280},
        {"second line after NEW is ordinary",
         {"--busy-ms", "0", "--slow-busy-ms", "600"},
         {"NEW", "10 END"},
         "20 END",
         0,
         450},
        {"scale shortens", {"--busy-ms", "3000", "--busy-scale", "0.1"}, {}, "10 END", 280, 2500},
        {"prompt delay", {"--busy-scale", "0", "--prompt-delay", "300"}, {}, "", 280},
        {"empty line", {"--empty-line-ms", "300"}, {}, "", 280},
        {"empty line is quick by default", {}, {}, "", 0, 250},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        auto args = r.args;
        args.insert(args.end(), {"--signon-delay", "0"});
        Connected c(args);
        for (const auto &line : r.setup)
            c.port.command(line, 10s);
        const auto sent = Clock::now();
        c.port.send(r.command + "\r");
        EXPECT_EQ(c.port.read_until(r.command + "\r\n"), r.command + "\r\n");
        const auto echoed = Clock::now();
        const std::string rest = c.port.read_until(">", 10s);
        ASSERT_TRUE(rest.ends_with(">")) << rest;
        // No prompt before the busy time has passed since sending. The echo
        // comes at once and the busy time after it; loosely checked, as this
        // process may be late to read the echo.
        EXPECT_GE(ms_since(sent), r.min_ms);
        EXPECT_GE(ms_since(echoed), r.min_ms / 2);
        if (r.max_ms > 0) {
            EXPECT_LE(ms_since(echoed), r.max_ms);
        }
    }
}

TEST(InputLoss, SecondLineSurvivesOnlyWhenControllerWasReady) {
    const std::string both = "10    A=1\r\n20    A=2\r\n";
    struct Row {
        const char *name;
        std::vector<std::string> args;
        std::string send_second_after; // "": both lines at once
        std::string transcript, listing;
    } rows[] = {
        {"lost while busy", {"--busy-ms", "200"}, "", "10 A=1\r\n>", "10    A=1\r\n"},
        {"kept with --no-loss",
         {"--busy-ms", "200", "--no-loss"},
         "",
         "10 A=1\r\n>20 A=2\r\n>",
         both},
        {"lost before a delayed prompt",
         {"--busy-scale", "0", "--prompt-delay", "200"},
         "",
         "10 A=1\r\n>",
         "10    A=1\r\n"},
        {"kept when sent after the prompt",
         {"--busy-ms", "200"},
         ">",
         "10 A=1\r\n>20 A=2\r\n>",
         both},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        auto args = r.args;
        args.insert(args.end(), {"--signon-delay", "0"});
        Connected c(args);
        std::string transcript;
        if (r.send_second_after.empty()) {
            c.port.send("10 A=1\r20 A=2\r");
        } else {
            c.port.send("10 A=1\r");
            transcript = c.port.read_until("10 A=1\r\n" + r.send_second_after);
            c.port.send("20 A=2\r");
        }
        // Wait for what should come, then make sure nothing more does.
        transcript += c.port.read_until(r.transcript.substr(transcript.size()));
        transcript += c.port.read_for(300ms);
        EXPECT_EQ(transcript, r.transcript);
        EXPECT_EQ(c.port.command("LIST"), "LIST\r\n" + r.listing + "\r\nREADY\r\n>");
    }
}

TEST(InputLoss, LineSentIntoASlowEmptyLineAnswerIsLost) {
    Connected c({"--empty-line-ms", "200", "--signon-delay", "0"});
    c.port.send("\rLIST\r");
    std::string transcript = c.port.read_until("\r\n>");
    transcript += c.port.read_for(300ms);
    EXPECT_EQ(transcript, "\r\n>");
}

TEST(CharDelay, PacesTheAnswer) {
    Connected c(fast_args({"--char-delay", "5"}));
    const auto start = Clock::now();
    const std::string answer = c.port.command("PRINT 1+1");
    EXPECT_EQ(answer, "PRINT 1+1\r\n 2 \r\n\r\n>");
    EXPECT_GE(ms_since(start), 5 * static_cast<long long>(answer.size() - 2));
}

TEST(Reopen, FreshSignOnAndProgramKept) {
    Connected c(fast_args());
    c.port.command("10 PRINT \"X\"");
    c.port.command("20 GOTO 10");
    c.port.send("RUN\r");
    c.port.read_until("X\r\nX\r\n");
    c.port.close(); // in the middle of the program's output
    std::this_thread::sleep_for(300ms);
    Port again(c.sim.slave_path());
    EXPECT_EQ(again.read_answer(), c.signon) << "no leftovers from the closed session";
    EXPECT_EQ(again.command("LIST"),
              "LIST\r\n10     PRINT \"X\"\r\n20     GOTO 10\r\n\r\nREADY\r\n>");
}

TEST(CommandLine, ExitsWithCodeAndText) {
    struct Row {
        const char *name;
        std::vector<std::string> args;
        int exit_code;
        std::string in_stdout, in_stderr;
    } rows[] = {
        {"help", {"--help"}, 0, "--extra-after-prompt TEXT", ""},
        {"unknown option", {"--bogus"}, 2, "", "usage:"},
        {"not a number", {"--busy-ms", "abc"}, 2, "", "--busy-ms"},
        {"negative time", {"--char-delay=-1"}, 2, "", "usage:"},
        {"missing value", {"--busy-scale"}, 2, "", "needs a value"},
        {"negative count", {"--mute-after", "-1"}, 2, "", "usage:"},
        {"hang up after 0", {"--hangup-after", "0"}, 2, "", "usage:"},
        {"flag with a value", {"--no-loss=1"}, 2, "", "usage:"},
        {"positional", {"extra"}, 2, "", "usage:"},
        {"link over a regular file", {"--link", "/etc/hostname"}, 1, "", "not a symbolic link"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const Finished run = run_to_exit(r.args);
        EXPECT_EQ(run.exit_code, r.exit_code) << run.err;
        EXPECT_NE(run.out.find(r.in_stdout), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(r.in_stderr), std::string::npos) << run.err;
    }
}

TEST(Link, PointsToSlaveAndGoesAwayOnSigterm) {
    TempDir dir;
    const fs::path link = dir.path + "/ttyVELNOR";
    fs::create_symlink("/nonexistent", link); // a stale link is replaced
    SimProcess sim({"--link", link.string(), "--signon-delay", "0"});
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), sim.slave_path());
    Port port(link.string());
    EXPECT_TRUE(port.read_answer().starts_with("\f"));
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait_exit(5s), 0);
    EXPECT_TRUE(port.wait_hangup(2s));
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(HangupAfter, ClosesAfterAnsweringTheNthLine) {
    TempDir dir;
    const fs::path link = dir.path + "/ttyVELNOR";
    Connected c(fast_args({"--hangup-after", "2", "--link", link.string()}));
    EXPECT_EQ(c.port.command("PRINT 1"), "PRINT 1\r\n 1 \r\n\r\n>");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(c.port.command("10 END"), "10 END\r\n>");
    EXPECT_TRUE(c.port.wait_hangup(5s));
    EXPECT_EQ(c.sim.wait_exit(5s), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

// The file's contents once they equal expected, or as they are after a while.
std::string file_contents(const std::string &path, const std::string &expected) {
    const auto deadline = Clock::now() + 5s;
    for (;;) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (text.str() == expected || Clock::now() >= deadline)
            return text.str();
        std::this_thread::sleep_for(10ms);
    }
}

TEST(Log, RecordsEveryReceivedByteEvenWhenLost) {
    TempDir dir;
    const std::string log = dir.path + "/rx.log";
    Connected c({"--log", log, "--busy-ms", "200", "--signon-delay", "0"});
    const std::string sent = "PRINT 1\x7f\x32\r\n10 A=1\r20 lost\r";
    c.port.send(sent);
    c.port.read_answer();
    EXPECT_EQ(c.port.read_answer(), "10 A=1\r\n>");
    // The log is written as bytes come in, while the sim runs.
    EXPECT_EQ(file_contents(log, sent), sent);
    c.port.send("\x03\x1b");
    EXPECT_EQ(file_contents(log, sent + "\x03\x1b"), sent + "\x03\x1b");
}

} // namespace
} // namespace simtest
