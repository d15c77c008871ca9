#include "support/fakes.h"
#include "terminal/logging_port.h"
#include "terminal/session_log.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace quandel {
namespace {

using namespace std::chrono_literals;

struct MemorySink final : CaptureSink {
    std::string file;
    int writes = 0;
    bool fail = false;
    bool Write(const std::string &b) override {
        ++writes;
        if (fail)
            return false;
        file += b;
        return true;
    }
};

constexpr int kNoon = ((12 * 60 + 3) * 60 + 4) * 1000; // 12:03:04.000

LogTime At(int ms) {
    return {Clock::TimePoint{} + std::chrono::milliseconds(ms), kNoon + ms};
}

constexpr auto R = LogDirection::Received;
constexpr auto S = LogDirection::Sent;

struct Piece {
    LogDirection direction;
    std::string bytes;
    int ms;
};

struct FormatCase {
    const char *name;
    std::vector<Piece> pieces;
    std::string log; // after Stop
};

class SessionLogFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(SessionLogFormat, WritesTheDialogueAsStampedLines) {
    const FormatCase &c = GetParam();
    MemorySink sink;
    SessionLog log;
    log.Start(sink);
    for (const Piece &p : c.pieces)
        log.Feed(p.direction, p.bytes, At(p.ms));
    EXPECT_TRUE(log.Stop());
    EXPECT_EQ(sink.file, c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionLogFormat,
    ::testing::Values(
        FormatCase{"SentLineEndsAtCr", {{S, "LIST\r", 101}}, "12:03:04.101 -> LIST\r\n"},
        FormatCase{"CrLfLfAndLfCrAreOneEndEach",
                   {{R, "a\r\nb\nc\n\rd\r", 0}},
                   "12:03:04.000 <- a\r\n12:03:04.000 <- b\r\n12:03:04.000 <- c\r\n"
                   "12:03:04.000 <- d\r\n"},
        FormatCase{"RepeatedEndsAreEmptyLines",
                   {{R, "a\r\r\n\r\nb\n\n", 0}},
                   "12:03:04.000 <- a\r\n12:03:04.000 <- \r\n12:03:04.000 <- \r\n"
                   "12:03:04.000 <- b\r\n12:03:04.000 <- \r\n"},
        FormatCase{"CrLfSplitOverTwoChunks",
                   {{R, "READY\r", 0}, {R, "\n>", 10}},
                   "12:03:04.000 <- READY\r\n12:03:04.010 <- >\r\n"},
        FormatCase{"LfOfTheOtherDirectionIsNoPair",
                   {{S, "A\r", 0}, {R, "\nB\r", 5}},
                   "12:03:04.000 -> A\r\n12:03:04.005 <- \r\n12:03:04.005 <- B\r\n"},
        FormatCase{"EchoAndPromptWithoutLineEnd",
                   {{S, "PRINT 1+2\r", 100}, {R, "PRINT 1+2\r\n 3\r\n>", 117}, {S, "L", 900}},
                   "12:03:04.100 -> PRINT 1+2\r\n12:03:04.117 <- PRINT 1+2\r\n"
                   "12:03:04.117 <-  3\r\n12:03:04.117 <- >\r\n12:03:04.900 -> L\r\n"},
        FormatCase{"StampIsTheFirstBytesTime",
                   {{R, "AB", 0}, {R, "CD", 150}, {R, "EF\r", 300}},
                   "12:03:04.000 <- ABCDEF\r\n"},
        FormatCase{"PauseEndsAPartialLine",
                   {{R, "AB", 0}, {R, "CD\r", 201}},
                   "12:03:04.000 <- AB\r\n12:03:04.201 <- CD\r\n"},
        FormatCase{"ControlBytesAsCodes",
                   {{S, "\x1b\x1b", 0}, {R, "\x03\tA\x7f", 1}},
                   "12:03:04.000 -> <27><27>\r\n12:03:04.001 <- <3><9>A<127>\r\n"},
        FormatCase{"LessThanIsACodeSoCodesStayUnambiguous",
                   {{S, "IF A<13 THEN\r", 0}},
                   "12:03:04.000 -> IF A<60>13 THEN\r\n"},
        FormatCase{"UmlautsAndEuroAsWindows1252",
                   {{R, "\xC4\xD6\xDC \xE4\xF6\xFC\xDF \x80 \xB5\xB0\r", 0}},
                   "12:03:04.000 <- \xC4\xD6\xDC \xE4\xF6\xFC\xDF \x80 \xB5\xB0\r\n"},
        FormatCase{"UndefinedCodesOfWindows1252",
                   {{R, std::string("\x81\x8d\x8f\x90\x9d\x9c\x00", 7), 0}},
                   "12:03:04.000 <- <129><141><143><144><157>\x9c<0>\r\n"},
        FormatCase{"StopWritesThePartialLine",
                   {{R, "\r\n>", 0}},
                   "12:03:04.000 <- \r\n12:03:04.000 <- >\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SessionLog, TimeStampsAcrossTheDay) {
    EXPECT_EQ(LogTimeStamp(0), "00:00:00.000");
    EXPECT_EQ(LogTimeStamp(kNoon + 117), "12:03:04.117");
    EXPECT_EQ(LogTimeStamp(24 * 3600 * 1000 - 1), "23:59:59.999");
}

TEST(SessionLog, TickWritesAPartialLineOnlyAfterThePause) {
    MemorySink sink;
    SessionLog log;
    log.Start(sink);
    log.Feed(R, "\r\n>", At(0));
    EXPECT_EQ(sink.file, "12:03:04.000 <- \r\n");
    log.Tick(At(200));
    EXPECT_EQ(sink.file, "12:03:04.000 <- \r\n");
    log.Tick(At(201));
    EXPECT_EQ(sink.file, "12:03:04.000 <- \r\n12:03:04.000 <- >\r\n");
    // The line after it starts afresh.
    log.Feed(R, "LIST\r", At(500));
    EXPECT_EQ(sink.file, "12:03:04.000 <- \r\n12:03:04.000 <- >\r\n12:03:04.500 <- LIST\r\n");
}

TEST(SessionLog, EndlessLineIsCutAtItsBound) {
    MemorySink sink;
    SessionLog log;
    log.Start(sink);
    log.Feed(R, std::string(SessionLog::kMaxLine * 2 + 3, 'x'), At(0));
    const std::string prefix = "12:03:04.000 <- ";
    const std::string whole = prefix + std::string(SessionLog::kMaxLine, 'x') + "\r\n";
    EXPECT_EQ(sink.file, whole + whole);
    log.Stop();
    EXPECT_EQ(sink.file, whole + whole + prefix + "xxx\r\n");
}

TEST(SessionLog, OneWritePerChunkNotPerLine) {
    MemorySink sink;
    SessionLog log;
    log.Start(sink);
    log.Feed(R, "10 A=1\r\n20 A=2\r\n30 A=3\r\n", At(0));
    EXPECT_EQ(sink.writes, 1);
    log.Feed(R, "40", At(1));
    EXPECT_EQ(sink.writes, 1); // nothing complete yet
}

TEST(SessionLog, NoteEndsThePartialLineFirst) {
    MemorySink sink;
    SessionLog log;
    log.Start(sink);
    log.Feed(R, "READ", At(0));
    log.Note("Verbindung unterbrochen", At(40));
    EXPECT_EQ(sink.file, "12:03:04.000 <- READ\r\n12:03:04.040 -- Verbindung unterbrochen\r\n");
}

TEST(SessionLog, AFailedWriteStopsTheLog) {
    MemorySink sink;
    SessionLog log;
    log.Start(sink);
    log.Feed(R, "A\r", At(0));
    sink.fail = true;
    log.Feed(R, "B\r", At(1));
    EXPECT_TRUE(log.Failed());
    log.Feed(R, "C\r", At(2));
    log.Note("x", At(3));
    EXPECT_EQ(sink.writes, 2); // no retries after the failure
    EXPECT_FALSE(log.Stop());
    EXPECT_EQ(sink.file, "12:03:04.000 <- A\r\n");
}

// The decorator in front of a port in memory.
struct LoggedPortRig {
    test::FakeSerialPort inner;
    int ms = 0;
    LoggingPort port{inner, [this] {
                         return At(ms);
                     }};
    MemorySink sink;
    int lostCalls = 0;
    LoggedPortRig() {
        port.SetLostHandler([this] { ++lostCalls; });
        inner.open = true;
        port.StartLog(sink);
    }
};

TEST(LoggingPort, LogsWhatIsSentAndReceivedAndPassesItOn) {
    LoggedPortRig rig;
    EXPECT_TRUE(rig.port.Output("LIST\r"));
    rig.inner.incoming = "LIST\r\n>";
    rig.ms = 20;
    EXPECT_EQ(rig.port.Input(), "LIST\r\n>");
    EXPECT_EQ(rig.inner.sent, "LIST\r");
    rig.ms = 300;
    rig.port.TickLog();
    EXPECT_EQ(rig.sink.file,
              "12:03:04.000 -> LIST\r\n12:03:04.020 <- LIST\r\n12:03:04.020 <- >\r\n");
}

TEST(LoggingPort, NothingIsLoggedThatWasNotSent) {
    LoggedPortRig rig;
    rig.inner.open = false;
    EXPECT_FALSE(rig.port.Output("LIST\r"));
    rig.port.StopLog();
    EXPECT_EQ(rig.sink.file, "");
}

TEST(LoggingPort, DiscardedInputIsLoggedAsReceived) {
    LoggedPortRig rig;
    rig.inner.incoming = "junk\r";
    rig.port.ClearInBuffer();
    EXPECT_EQ(rig.port.InBufferCount(), 0);
    EXPECT_EQ(rig.sink.file, "12:03:04.000 <- junk\r\n");
}

TEST(LoggingPort, LossIsNotedAfterTheLastBytesFromBeforeIt) {
    LoggedPortRig rig;
    rig.inner.incoming = "20 A=2\r\n>";
    rig.inner.Vanish();
    EXPECT_EQ(rig.lostCalls, 1);
    rig.port.TickLog();
    EXPECT_EQ(rig.sink.file, ""); // the bytes from before are still waiting
    rig.ms = 5;
    EXPECT_EQ(rig.port.Input(), "20 A=2\r\n>");
    EXPECT_EQ(rig.sink.file, "12:03:04.005 <- 20 A=2\r\n12:03:04.005 <- >\r\n"
                             "12:03:04.005 -- Verbindung unterbrochen\r\n");
    rig.port.TickLog();
    rig.port.StopLog();
    EXPECT_EQ(rig.sink.file.find("unterbrochen"), rig.sink.file.rfind("unterbrochen"));
}

TEST(LoggingPort, LossWithNothingWaitingIsNotedOnTheNextTick) {
    LoggedPortRig rig;
    rig.inner.Vanish();
    rig.ms = 100;
    rig.port.TickLog();
    EXPECT_EQ(rig.sink.file, "12:03:04.100 -- Verbindung unterbrochen\r\n");
}

TEST(LoggingPort, OpenAndCloseAreNoted) {
    LoggedPortRig rig;
    EXPECT_TRUE(rig.port.SetPortOpen(false));
    EXPECT_TRUE(rig.port.SetPortOpen(false)); // already closed: no second note
    rig.inner.number = 3;
    EXPECT_TRUE(rig.port.SetPortOpen(true));
    rig.inner.openFails = true;
    rig.inner.open = false;
    EXPECT_FALSE(rig.port.SetPortOpen(true));
    EXPECT_EQ(rig.sink.file, "12:03:04.000 -- COM 1 geschlossen\r\n"
                             "12:03:04.000 -- COM 3,9600,N,8,1 ge\xF6"
                             "ffnet\r\n");
}

TEST(LoggingPort, OffItOnlyPassesThrough) {
    test::FakeSerialPort inner;
    inner.open = true;
    LoggingPort port(inner, [] { return At(0); });
    MemorySink sink;
    port.StartLog(sink);
    port.StopLog();
    EXPECT_TRUE(port.Output("A"));
    inner.incoming = "B";
    EXPECT_EQ(port.Input(), "B");
    EXPECT_EQ(inner.sent, "A");
    EXPECT_EQ(sink.file, "");
}

std::string ReadAll(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AppendFileSink, AppendsToWhatTheFileHolds) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quandel_session_" +
                       std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".log");
    std::ofstream(path, std::ios::binary) << "alt\r\n";
    AppendFileSink sink;
    int err = -1;
    ASSERT_TRUE(sink.Open(path.string(), err));
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(sink.Write("neu\r\n"));
    // Flushed at once: another reader sees it while the file is open.
    EXPECT_EQ(ReadAll(path), "alt\r\nneu\r\n");
    EXPECT_TRUE(sink.Close());
    std::filesystem::remove(path);
}

TEST(AppendFileSink, ReportsWhyItCannotOpenOrWrite) {
    AppendFileSink missing;
    int err = 0;
    EXPECT_FALSE(missing.Open("/nonexistent-quandel-dir/x.log", err));
    EXPECT_EQ(err, ENOENT);
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    AppendFileSink full;
    ASSERT_TRUE(full.Open("/dev/full", err));
    EXPECT_FALSE(full.Write("12:03:04.000 <- A\r\n"));
    EXPECT_EQ(full.LastError(), ENOSPC);
}

} // namespace
} // namespace quandel
