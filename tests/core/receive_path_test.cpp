#include "support/fakes.h"
#include "terminal/lcd_emulation.h"
#include "terminal/receive_path.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

struct NullPane final : LcdPane {
    std::string text;
    void SetText(const std::string &t) override { text = t; }
};

struct ChangeLog final : TerminalPaneView {
    std::vector<TerminalText::Change> changes;
    void ApplyChange(const TerminalText &, const TerminalText::Change &c) override {
        changes.push_back(c);
    }
};

struct StringSink final : CaptureSink {
    std::string file;
    bool fail = false;
    bool Write(const std::string &b) override {
        if (fail)
            return false;
        file += b;
        return true;
    }
};

// A port that hands out its incoming data in the given pieces, one per Input.
struct ChunkedPort final : SerialPort {
    std::vector<std::string> pieces;
    std::size_t next = 0;
    int CommPort() const override { return 1; }
    PortResult SetCommPort(int) override { return {}; }
    std::string Settings() const override { return "9600,N,8,1"; }
    PortResult SetSettings(const std::string &) override { return {}; }
    int Handshaking() const override { return 0; }
    PortResult SetHandshaking(int) override { return {}; }
    bool PortOpen() const override { return true; }
    PortResult SetPortOpen(bool) override { return {}; }
    PortResult Output(const std::string &) override { return {}; }
    std::string Input() override { return next < pieces.size() ? pieces[next++] : std::string(); }
    int InBufferCount() override { return next < pieces.size() ? int(pieces[next].size()) : 0; }
    void ClearInBuffer() override {}
    void ClearOutBuffer() override {}
    bool WaitForData(int) override { return false; }
    void SetLostHandler(std::function<void()>) override {}
};

struct Path {
    ChunkedPort port;
    TerminalText text;
    ChangeLog view;
    NullPane lcdPane;
    test::CountingEventPump events;
    test::FakeClock clock;
    LcdEmulation lcd{lcdPane, events};
    ReceivePath path{port, text, view, lcd, clock};
};

TEST(FormatCodes, EveryByteAsItsCode) {
    EXPECT_EQ(FormatCodes("AB\r\n"), "<65><66><13><10>");
    EXPECT_EQ(FormatCodes(""), "");
    EXPECT_EQ(FormatCodes("\xc8"), "<200>");
    EXPECT_EQ(FormatCodes(std::string(1, '\0')), "<0>");
}

TEST(TerminalText, TrimsPlainTextBy4096OnlyPast16000) {
    struct Row {
        std::size_t before, removed, after;
    } rows[] = {{16000, 0, 16010}, {16001, 4096, 16001 - 4096 + 10}, {0, 0, 10}};
    for (const Row &r : rows) {
        TerminalText t;
        t.SetText(std::string(r.before, 'x'));
        const auto change = t.AppendTerminalText(std::string(10, 'y'));
        EXPECT_EQ(change.removedFront, r.removed) << r.before;
        EXPECT_EQ(t.Text().size(), r.after) << r.before;
        EXPECT_EQ(t.Text().substr(t.Text().size() - 10), std::string(10, 'y'));
    }
}

TEST(TerminalText, CodeDisplayIsBoundedInWholeCodes) {
    TerminalText t;
    t.SetText("Terminal Window");
    std::size_t longest = 0;
    for (int i = 0; i < 5000; ++i) {
        t.AppendCodes(std::string(20, char(200)));
        longest = std::max(longest, t.Text().size());
    }
    EXPECT_LE(longest, TerminalText::kCodeLimit + 100);
    EXPECT_EQ(t.Text().front(), '<');
    EXPECT_EQ(t.Text().substr(0, 5), "<200>");
}

TEST(ReceivePath, DisplayModesAndLcdFeed) {
    Path p;
    p.lcd.ShowBanner();
    p.port.pieces = {"A\xc8"};
    p.path.SetMode(ReceivePath::DisplayMode::Ascii);
    p.path.ReceivePoll();
    EXPECT_EQ(p.text.Text(), "<65><200>");
    EXPECT_EQ(p.lcd.Lines()[0].substr(0, 4), "AHsp"); // 200 & 127 = 72, "H", over the banner

    p.port.pieces = {"\x0cZ"};
    p.port.next = 0;
    p.path.SetMode(ReceivePath::DisplayMode::NormalText);
    p.path.SetLcdFeedEnabled(false);
    const std::string lcdBefore = p.lcdPane.text;
    p.path.ReceivePoll();
    EXPECT_EQ(p.text.Text(), "<65><200>\x0cZ");
    EXPECT_EQ(p.lcdPane.text, lcdBefore);
}

TEST(ReceivePath, DrainsThePortInOneRun) {
    Path p;
    p.port.pieces = {"one ", "two ", "three"};
    p.path.ReceivePoll();
    EXPECT_EQ(p.text.Text(), "one two three");
    EXPECT_EQ(p.view.changes.size(), 3u);
}

TEST(ReceivePath, CaptureWritesEveryLineExactlyOnce) {
    struct Row {
        const char *name;
        std::vector<std::string> pieces;
        const char *afterPoll, *afterEnd;
    } rows[] = {
        {"two lines in one read", {"10 A\r\n20 B\r\n"}, "10 A\r\n20 B\r", "10 A\r\n20 B\r\n"},
        {"a line split over two reads", {"10 PR", "INT\r"}, "10 PRINT\r", "10 PRINT\r"},
        {"the last prompt is no line", {"READY\r\n>"}, "READY\r", "READY\r\n"},
        {"a cut line is written at the end", {"10 PRI"}, "", "10 PRI"},
    };
    for (const Row &r : rows) {
        Path p;
        StringSink sink;
        p.path.StartCapture(sink);
        p.port.pieces = r.pieces;
        p.path.ReceivePoll();
        EXPECT_EQ(sink.file, r.afterPoll) << r.name;
        EXPECT_TRUE(p.path.EndCapture()) << r.name;
        EXPECT_EQ(sink.file, r.afterEnd) << r.name;
        EXPECT_FALSE(p.path.ReadoutActive());
    }
}

TEST(ReceivePath, CaptureFailureIsReported) {
    Path p;
    StringSink sink;
    sink.fail = true;
    p.path.StartCapture(sink);
    p.port.pieces = {"10 A\r"};
    p.path.ReceivePoll();
    EXPECT_TRUE(p.path.CaptureFailed());
    EXPECT_FALSE(p.path.EndCapture());
}

TEST(ReceivePath, TextBeforeACaptureNeverReachesTheFile) {
    Path p;
    StringSink sink;
    p.port.pieces = {"old\r"};
    p.path.ReceivePoll();
    p.path.StartCapture(sink);
    p.port.pieces.push_back("new\r");
    p.path.ReceivePoll();
    p.path.EndCapture();
    EXPECT_EQ(sink.file, "new\r");
}

} // namespace
} // namespace quandel
