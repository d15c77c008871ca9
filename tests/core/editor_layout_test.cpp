// The window layout's geometry rules, the navigator's path and pattern rules
// and the editor's line ends, as plain functions.
#include "editor/editor_document.h"
#include "editor/navigator_model.h"
#include "editor/window_layout.h"

#include <functional>
#include <gtest/gtest.h>

namespace quandel {
namespace {

// A window of the default size: 11250 twips wide, client 11130 x 6300.
WindowLayout DefaultWindow(int clientHeight = 6300, int outerWidth = 11250) {
    WindowLayout l;
    l.SetWindow({outerWidth, outerWidth - 120, clientHeight, 300, false});
    l.StartupPlacement();
    l.WindowResized();
    return l;
}

void ExpectNoNegativeSize(const WindowLayout &l) {
    for (const TwipRect *r :
         {&l.picLeft, &l.lblDatei, &l.drvLaufwerk, &l.dirVerzeichnis, &l.imgQuer, &l.filDateien,
          &l.imgSplitter, &l.picSplitter, &l.sstMain, &l.rtbTerm, &l.txtEdit}) {
        EXPECT_GE(r->width, 0);
        EXPECT_GE(r->height, 0);
    }
}

struct LayoutRow {
    const char *name;
    std::function<void(WindowLayout &)> check;
};

TEST(WindowLayoutTest, Rules) {
    const LayoutRow rows[] = {
        {"vertical drag to 200 stops at 500, release gives the least width",
         [](WindowLayout &l) {
             l.SplitterMouseDown();
             EXPECT_TRUE(l.picSplitterVisible);
             l.SplitterMouseMove(200 - l.imgSplitter.left);
             EXPECT_EQ(l.picSplitter.left, 500);
             l.SplitterMouseUp();
             EXPECT_EQ(l.picLeft.width, 1500);
             EXPECT_FALSE(l.picSplitterVisible);
         }},
        {"vertical drag beyond the right limit",
         [](WindowLayout &l) {
             l.SplitterMouseDown();
             l.SplitterMouseMove(20000);
             EXPECT_EQ(l.picSplitter.left, 11250 - 500);
             l.SplitterMouseUp();
             EXPECT_EQ(l.picLeft.width, 11250 - 1500);
         }},
        {"narrow window: the upper limit wins over the least width",
         [](WindowLayout &l) {
             l.SetWindow({2800, 2680, 6300, 300, false});
             int w = 2175;
             l.ResizeWidthLeft(w);
             EXPECT_EQ(w, 1300);
             EXPECT_EQ(l.picLeft.width, 1300);
             EXPECT_EQ(l.lblDatei.width, 1220);
         }},
        {"gap 80 after a drag, 100 after the next resize, right edge kept",
         [](WindowLayout &l) {
             l.SplitterMouseDown();
             l.SplitterMouseMove(3000 - l.imgSplitter.left);
             l.SplitterMouseUp();
             EXPECT_EQ(l.sstMain.left, 3080);
             EXPECT_EQ(l.sstMain.left + l.sstMain.width, 11130);
             l.WindowResized();
             EXPECT_EQ(l.sstMain.left, 3100);
             EXPECT_EQ(l.sstMain.width, 11130 - 3000 - 100);
         }},
        {"tab control of exactly 8000 keeps the terminal pane's height",
         [](WindowLayout &l) {
             l.SetWindow({11250, 11130, 8800, 300, false});
             l.WindowResized();
             EXPECT_EQ(l.sstMain.height, 8000);
             EXPECT_EQ(l.rtbTerm.height, 1935);
         }},
        {"tab control of 8001 grows the terminal pane",
         [](WindowLayout &l) {
             l.SetWindow({11250, 11130, 8801, 300, false});
             l.WindowResized();
             EXPECT_EQ(l.rtbTerm.height, 3501);
             EXPECT_EQ(l.rtbTerm.width, l.sstMain.width - 300);
         }},
        {"horizontal release in the middle of a row keeps whole rows",
         [](WindowLayout &l) {
             l.dirRowHeight = 240;
             l.dirFrame = 30;
             l.QuerMouseDown();
             l.QuerMouseMove(1440 + 30 + 5 * 240 + 100 - l.imgQuer.top); // inside row 6
             l.QuerMouseUp();
             EXPECT_EQ(l.dirVerzeichnis.height, 30 + 5 * 240);
             EXPECT_EQ(l.imgQuer.top, 1440 + 30 + 5 * 240);
             EXPECT_EQ(l.filDateien.top, l.imgQuer.top + 75);
             EXPECT_EQ(l.filDateien.top + l.filDateien.height, l.picLeft.height);
         }},
        {"horizontal drag above the directory list stops at its least height",
         [](WindowLayout &l) {
             l.QuerMouseDown();
             l.QuerMouseMove(-5000);
             EXPECT_EQ(l.picQuer.top, 1440 + kMinListHeight);
             l.QuerMouseUp();
             EXPECT_EQ(l.dirVerzeichnis.height, kMinListHeight);
         }},
        {"horizontal drag below the pane leaves the file list its least height",
         [](WindowLayout &l) {
             l.QuerMouseDown();
             l.QuerMouseMove(50000);
             l.QuerMouseUp();
             EXPECT_EQ(l.filDateien.height, kMinListHeight);
         }},
        {"a tiny window gives no negative size",
         [](WindowLayout &l) {
             l.SetWindow({900, 780, 500, 300, false});
             l.WindowResized();
             ExpectNoNegativeSize(l);
             EXPECT_EQ(l.picLeft.width, 0);
         }},
        {"a window shrunk and enlarged again gets the split back",
         [](WindowLayout &l) {
             l.QuerMouseDown();
             l.QuerMouseMove(600);
             l.QuerMouseUp();
             const int chosen = l.dirVerzeichnis.height;
             l.SetWindow({11250, 11130, 2300, 300, false});
             l.WindowResized();
             EXPECT_LT(l.dirVerzeichnis.height, chosen);
             l.SetWindow({11250, 11130, 6300, 300, false});
             l.WindowResized();
             EXPECT_EQ(l.dirVerzeichnis.height, chosen);
         }},
        {"nothing moves while minimised",
         [](WindowLayout &l) {
             const TwipRect before = l.sstMain;
             l.SetWindow({0, 0, 0, 0, true});
             l.WindowResized();
             EXPECT_EQ(l.sstMain, before);
         }},
        {"mouse up without a drag does nothing",
         [](WindowLayout &l) {
             l.SplitterMouseUp();
             l.QuerMouseUp();
             EXPECT_EQ(l.picLeft.width, 2175);
             EXPECT_EQ(l.dirVerzeichnis.height, 1890);
         }},
    };
    for (const LayoutRow &row : rows) {
        SCOPED_TRACE(row.name);
        WindowLayout l = DefaultWindow();
        row.check(l);
        ExpectNoNegativeSize(l);
    }
}

TEST(NavigatorModelTest, JoinAndPattern) {
    struct JoinRow {
        const char *dir, *name, *expected;
    };
    const JoinRow joins[] = {
        {"/", "PROG.BAS", "/PROG.BAS"},
        {"C:\\", "PROG.BAS", "C:\\PROG.BAS"},
        {"/home/user/basic", "prog.bas", "/home/user/basic/prog.bas"},
        {"/home/user/basic/", "prog.bas", "/home/user/basic/prog.bas"},
    };
    for (const JoinRow &r : joins)
        EXPECT_EQ(JoinDirectoryAndFile(r.dir, r.name), r.expected) << r.dir;

    struct MatchRow {
        const char *name;
        bool matches;
    };
    const MatchRow matches[] = {
        {"prog.bas", true},  {"PROG.BAS", true},   {"test.Z", true},        {"Notes.TXT", true},
        {"motor.mod", true}, {"MOTOR.MOD", true},  {"prog.bas.bak", false}, {"readme.md", false},
        {"BAS", false},      {"prog.basx", false}, {".bas", true},
    };
    for (const MatchRow &r : matches)
        EXPECT_EQ(MatchesFilePattern(r.name, kNavigatorPattern), r.matches) << r.name;
}

TEST(EditorTextTest, LineEnds) {
    struct Row {
        const char *name, *file, *edited, *saved;
    };
    const Row rows[] = {
        {"CR LF kept", "10 A\r\n20 B\r\n", "10 A\n20 B\n", "10 A\r\n20 B\r\n"},
        {"LF kept", "10 A\n20 B\n", "10 A\n20 X\n", "10 A\n20 X\n"},
        {"mixed ends kept line by line", "A\rB\nC\r\n", "A\nB\nC\n", "A\rB\nC\r\n"},
        {"added line takes the usual end", "A\nB\nC\r\n", "A\nB\nX\nC\n", "A\nB\nX\nC\n"},
        {"new text gets CR LF", "", "A\nB", "A\r\nB"},
    };
    for (const Row &r : rows) {
        const SplitText split = SplitLineEnds(r.file);
        EXPECT_EQ(JoinLineEnds(r.edited, split.ends), r.saved) << r.name;
    }
}

} // namespace
} // namespace quandel
