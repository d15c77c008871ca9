#include "support/fakes.h"
#include "terminal/lcd_emulation.h"

#include <gtest/gtest.h>
#include <random>

namespace quandel {
namespace {

struct RecordingPane final : LcdPane {
    std::string text;
    int renders = 0;
    void SetText(const std::string &t) override { text = t, ++renders; }
};

struct Lcd {
    RecordingPane pane;
    test::CountingEventPump events;
    LcdEmulation lcd{pane, events};
    Lcd() { lcd.ShowBanner(); }
};

std::string Esc(int row, int col) {
    return std::string("\x1bY") + char(row) + char(col);
}

TEST(LcdEmulation, BehavesLikeTheControllersDisplay) {
    struct Row {
        const char *name;
        std::vector<std::string> chunks;
        int row, col;
        std::vector<std::pair<int, std::string>> linePrefixes; // line index -> expected start
        const char *paneStarts;                                // nullptr: not checked
    } rows[] = {
        {"FF then AB CR LF",
         {"\x0c"
          "AB\r\n"},
         1,
         0,
         {{0, "AB  "}},
         "AB   "},
        {"LF without CR: pending text lands on the next row",
         {"\x0c"
          "AB\n",
          "CD"},
         1,
         4,
         {{0, "    "}, {1, "ABCD "}},
         nullptr},
        {"LF after written text keeps the column",
         {"\x0c"
          "AB",
          "\nCD"},
         1,
         4,
         {{0, "AB  "}, {1, "  CD "}},
         nullptr},
        {"cursor addressing with offset 32",
         {"\x0c" + Esc(33, 40) + "X"},
         1,
         9,
         {{1, "        X"}},
         nullptr},
        {"row 127 is clamped to 9 and not shown",
         {"\x0c" + Esc(127, 32) + "HIDDEN\r"},
         9,
         0,
         {{9, "HIDDEN"}},
         nullptr},
        {"ESC H ends the sequence, the letter is text", {"\x0c\x1bHZ"}, 0, 1, {{0, "Z "}}, nullptr},
        {"sequence split over two chunks",
         {"\x0c\x1bY", std::string(1, char(34)) + char(37) + "Q"},
         2,
         6,
         {{2, "     Q"}},
         nullptr},
        {"text from column 75 keeps the line length",
         {"\x0c" + Esc(32, 32 + 75) + "ABCDEFGH", "XY"},
         0,
         85,
         {{0, std::string(75, ' ') + "ABCDE"}},
         nullptr},
        {"nine LFs scroll once",
         {"\x0c"
          "TOP\r\n\n\n\n\n\n\n\n\n"},
         8,
         0,
         {{0, "   "}},
         nullptr},
        {"FF drops pending text", {"PENDING\x0c"}, 0, 0, {}, ""},
        {"banner line is short: column 20 writes nothing",
         {Esc(32, 52) + "LATE"},
         0,
         24,
         {{0, "Display Emulation"}},
         "Display Emulation\r\n"},
        {"byte 193 is the letter A", {"\x0c\xc1"}, 0, 1, {{0, "A "}}, "A  "},
        {"BS and three blanks erase two characters",
         {"\x0c"
          "ABCDE",
          "\b   "},
         0,
         4,
         {{0, "ABC  "}},
         nullptr},
        {"BS then a letter writes the letter",
         {"\x0c"
          "ABC",
          "\b"
          "Z"},
         0,
         3,
         {{0, "ABZ "}},
         nullptr},
        {"BS inside a chunk moves before the pending text is written",
         {"\x0c"
          "ABC\b"
          "Z"},
         0,
         4,
         {{0, "ABCZ "}},
         nullptr},
        {"BS at column 0 stays at 0 and erases column 0 and 1",
         {"\x0c"
          "AB\r\b   "},
         0,
         1,
         {{0, "   "}},
         nullptr},
        {"DEL is printable", {"\x0c\x7f"}, 0, 1, {{0, "\x7f "}}, nullptr},
        {"other control codes are ignored",
         {"\x0c"
          "A\x01\x07\x09\x1f"
          "B"},
         0,
         2,
         {{0, "AB "}},
         nullptr},
    };
    for (const Row &r : rows) {
        Lcd t;
        for (const std::string &c : r.chunks)
            t.lcd.LcdParse(c);
        EXPECT_EQ(t.lcd.Row(), r.row) << r.name;
        EXPECT_EQ(t.lcd.Col(), r.col) << r.name;
        for (const auto &[index, prefix] : r.linePrefixes) {
            EXPECT_EQ(t.lcd.Lines()[std::size_t(index)].substr(0, prefix.size()), prefix)
                << r.name << " line " << index;
        }
        if (r.paneStarts) {
            EXPECT_EQ(t.pane.text.substr(0, std::string(r.paneStarts).size()), r.paneStarts)
                << r.name;
        }
        // After an FF every line is 80 long, and writing keeps it so.
        for (int i = 0; i < 10; ++i) {
            if (i == 0 && t.lcd.Lines()[0].size() == 17)
                continue;
            EXPECT_EQ(t.lcd.Lines()[std::size_t(i)].size(), 80u) << r.name << " line " << i;
        }
    }
}

TEST(LcdEmulation, StartUpBannerShowsOnTheFirstLine) {
    Lcd t;
    EXPECT_EQ(
        t.pane.text, "Display Emulation\r\n" + [] {
            std::string s;
            for (int i = 0; i < 8; ++i)
                s += std::string(80, ' ') + "\r\n";
            return s;
        }());
}

TEST(LcdEmulation, ProgrammingMessagesHideAndShowTheLines) {
    Lcd t;
    t.lcd.LcdParse("\x0c"
                   "LINE0\r\nLINE1\r\n" +
                   Esc(34, 32) + "PROGRAMMING IN PROGRESS\r");
    EXPECT_TRUE(t.lcd.ProgHide());
    // The lines above the message stay; the message and all below it go.
    EXPECT_EQ(t.pane.text,
              "LINE0" + std::string(75, ' ') + "\r\nLINE1" + std::string(75, ' ') + "\r\n");
    // The hiding carries over into the next render, lines above included.
    t.lcd.LcdParse(Esc(35, 32) + "AFTER\r");
    EXPECT_EQ(t.pane.text, "");
    t.lcd.LcdParse(Esc(36, 32) + "PROGRAMMING SUCCESSFULL\r");
    EXPECT_FALSE(t.lcd.ProgHide());
    EXPECT_EQ(t.pane.text.substr(0, 23), "PROGRAMMING SUCCESSFULL");
    EXPECT_EQ(t.pane.text.find("AFTER"), std::string::npos);
}

TEST(LcdEmulation, RendersOncePerWriteAndLetsEventsRunPerByte) {
    Lcd t;
    const int before = t.pane.renders;
    t.lcd.LcdParse("\x0c"
                   "ONE\r\nTWO\r\nTHREE");
    // The FF empties the pane; then one render per CR and one at the chunk's end.
    EXPECT_EQ(t.pane.renders - before, 4);
    EXPECT_EQ(t.events.calls, 16);
}

TEST(LcdEmulation, ColumnNeverOverflowsOnEndlessLines) {
    Lcd t;
    const std::string chunk(4096, 'X');
    for (int i = 0; i < 40; ++i)
        t.lcd.LcdParse(chunk);
    EXPECT_EQ(t.lcd.Col(), 32767);
    t.lcd.LcdParse("\r");
    EXPECT_EQ(t.lcd.Col(), 0);
    std::string lfs(70000, '\n');
    t.lcd.LcdParse(Esc(41, 32) + lfs);
    EXPECT_EQ(t.lcd.Row(), 32767);
}

TEST(LcdEmulation, RandomStreamsKeepEveryLineLength) {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> byte(0, 255), len(1, 64);
    std::uniform_int_distribution<int> pick(0, 9);
    const char favourites[] = {8, 10, 12, 13, 27, 'Y', ' ', ' ', 'A', char(200)};
    for (int round = 0; round < 200; ++round) {
        Lcd t;
        t.lcd.LcdParse("\x0c");
        for (int c = 0; c < 20; ++c) {
            std::string chunk;
            for (int i = len(rng); i > 0; --i)
                chunk.push_back(pick(rng) < 5 ? favourites[pick(rng)] : char(byte(rng)));
            t.lcd.LcdParse(chunk);
            for (const std::string &line : t.lcd.Lines())
                ASSERT_EQ(line.size(), 80u) << "round " << round;
            ASSERT_GE(t.lcd.Col(), 0);
            ASSERT_GE(t.lcd.Row(), 0);
        }
    }
}

} // namespace
} // namespace quandel
