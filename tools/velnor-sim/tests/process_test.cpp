// The program as a process: options, the symlink, hanging up, the log.

#include "sim_harness.hpp"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <sstream>
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

namespace fs = std::filesystem;

struct OptionCase {
    std::string name;
    std::vector<std::string> args;
    int exit_code;
    std::string in_stdout;
    std::string in_stderr;
};

class CommandLine : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CommandLine, ExitsWithCodeAndText) {
    const auto &param = GetParam();
    const Finished run = run_to_exit(param.args);
    EXPECT_EQ(run.exit_code, param.exit_code) << run.err;
    EXPECT_NE(run.out.find(param.in_stdout), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(param.in_stderr), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLine,
    ::testing::Values(
        OptionCase{"Help", {"--help"}, 0, "--extra-after-prompt TEXT", ""},
        OptionCase{"UnknownOption", {"--bogus"}, 2, "", "usage:"},
        OptionCase{"NotANumber", {"--busy-ms", "abc"}, 2, "", "--busy-ms"},
        OptionCase{"NegativeTime", {"--char-delay=-1"}, 2, "", "usage:"},
        OptionCase{"MissingValue", {"--busy-scale"}, 2, "", "needs a value"},
        OptionCase{"NegativeCount", {"--mute-after", "-1"}, 2, "", "usage:"},
        OptionCase{"HangupAfterZero", {"--hangup-after", "0"}, 2, "", "usage:"},
        OptionCase{"FlagWithValue", {"--no-loss=1"}, 2, "", "usage:"},
        OptionCase{"Positional", {"extra"}, 2, "", "usage:"},
        OptionCase{
            "LinkOverRegularFile", {"--link", "/etc/hostname"}, 1, "", "not a symbolic link"}),
    [](const auto &info) { return info.param.name; });

TEST(Link, PointsToSlaveAndGoesAwayOnSigterm) {
    const fs::path dir = temp_dir();
    const fs::path link = dir / "ttyVELNOR";
    fs::create_symlink("/nonexistent", link); // a stale link is replaced
    {
        SimProcess sim({"--link", link.string(), "--signon-delay", "0"});
        ASSERT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link).string(), sim.slave_path());
        Port port(link.string());
        EXPECT_EQ(port.read_answer().substr(0, 1), "\f");
        sim.signal(SIGTERM);
        EXPECT_EQ(sim.wait_exit(5s), 0);
        EXPECT_TRUE(port.wait_hangup(2s));
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    }
    fs::remove_all(dir);
}

TEST(HangupAfter, ClosesAfterAnsweringTheNthLine) {
    const fs::path dir = temp_dir();
    const fs::path link = dir / "ttyVELNOR";
    {
        Connected c(fast_args({"--hangup-after", "2", "--link", link.string()}));
        EXPECT_EQ(c.port.command("PRINT 1"), "PRINT 1\r\n 1 \r\n\r\n>");
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(c.port.command("10 END"), "10 END\r\n>");
        EXPECT_TRUE(c.port.wait_hangup(5s));
        EXPECT_EQ(c.sim.wait_exit(5s), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    }
    fs::remove_all(dir);
}

TEST(Sigterm, HangsUpAnOpenPortAndExitsZero) {
    Connected c(fast_args());
    c.sim.signal(SIGTERM);
    EXPECT_TRUE(c.port.wait_hangup(5s));
    EXPECT_EQ(c.sim.wait_exit(5s), 0);
}

// The file's contents once they equal expected, or as they are after a while.
std::string file_contents(const fs::path &path, const std::string &expected) {
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
    const fs::path dir = temp_dir();
    const fs::path log = dir / "rx.log";
    {
        Connected c({"--log", log.string(), "--busy-ms", "200", "--signon-delay", "0"});
        const std::string sent = "PRINT 1\x7f\x32\r\n10 A=1\r20 lost\r";
        c.port.send(sent);
        c.port.read_answer();
        EXPECT_EQ(c.port.read_answer(), "10 A=1\r\n>");
        // The log is written as bytes come in, while the sim runs.
        EXPECT_EQ(file_contents(log, sent), sent);
        c.port.send("\x03\x1b");
        EXPECT_EQ(file_contents(log, sent + "\x03\x1b"), sent + "\x03\x1b");
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace simtest
