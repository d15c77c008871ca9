#include "core/number_text.h"
#include "core/shared_flags.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_port.h"
#include "terminal/key_table.h"
#include "transfer/download.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quandel {
namespace {

using Chunks = std::vector<test::ScriptedPort::Chunk>;

struct RecordingView final : TransferView {
    std::string terminal, message;
    bool lcdFeed = true, busy = false, focused = false;
    int refreshes = 0, timerStarts = 0, lastProgressTotal = -1;
    void AppendRaw(const std::string &c) override { terminal += c; }
    void AppendTerminalText(const std::string &c) override { terminal += c; }
    void SetTerminalText(const std::string &t) override { terminal = t; }
    void SetLcdFeedEnabled(bool on) override { lcdFeed = on; }
    void SetMessage(const std::string &t) override { message = t; }
    void SetBusyCursor(bool b) override { busy = b; }
    void StatusRefresh() override { ++refreshes; }
    void StartConnectTimer() override { ++timerStarts; }
    void FocusLcd() override { focused = true; }
    void ShowProgress(int, int total) override { lastProgressTotal = total; }
};

// Sets the stop request at the n-th event pass, as Escape would.
struct StopAfterPump final : EventPump {
    SharedFlags &flags;
    int stopAt, calls = 0;
    StopAfterPump(SharedFlags &f, int n) : flags(f), stopAt(n) {}
    void ProcessEvents() override {
        if (++calls == stopAt)
            flags.StopRequested = true;
    }
};

// The controller as it behaves: echo with CR LF, then the prompt.
Chunks Controller(const std::string &sent) {
    std::string echo = sent;
    if (!echo.empty() && echo.back() == '\r')
        echo.back() = '\n', echo.insert(echo.size() - 1, "\r");
    return {{2, echo}, {30, ">"}};
}

struct Transfer : ::testing::Test {
    test::FakeClock clock;
    test::ScriptedPort port{clock};
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    StopAfterPump events{flags, -1};
    RecordingView view;
    TransferContext ctx{port, dialogs, events, clock, flags, view};
    FileDialogState fileDialog;
    Download download{ctx, fileDialog};
    LineTransmission &lines = download.Lines();
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quandel-transfer-" + std::to_string(::getpid()));

    Transfer() {
        std::filesystem::create_directories(dir);
        flags.SonderzeichenWarnungAktiv = false;
    }
    ~Transfer() override { std::filesystem::remove_all(dir); }
    std::string File(const std::string &name, const std::string &bytes) {
        const auto path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> t;
        for (const auto &b : dialogs.boxes)
            t.push_back(b.text);
        return t;
    }
};

TEST_F(Transfer, PromptHandshakeCases) {
    struct Row {
        const char *name;
        std::string line;
        Chunks answer;
        bool result;
        int timeoutBoxes;
        const char *shown;
    } rows[] = {
        {"answer in two reads", "10 A=1", {{5, "10 A=1\r\n"}, {40, ">"}}, true, 0, "10 A=1\r\n>"},
        {"a > inside the echo is not the prompt",
         "20 IF A>B THEN 9",
         {{5, "20 IF A>B THEN 9"}, {300, "\r\n>"}},
         true,
         0,
         "20 IF A>B THEN 9\r\n>"},
        {"a > at the very start of the answer counts", "", {{5, ">"}}, true, 0, ">"},
        {"characters after the prompt: second round, then time-out",
         "PRINT 1",
         {{5, "PRINT 1\r\n 1 \r\n\r\n>"}, {10, "X"}},
         true,
         1,
         nullptr},
        {"second round that ends with a prompt",
         "X",
         {{5, "X\r\n>"}, {10, "\r\n"}, {400, ">"}},
         true,
         0,
         "X\r\n>\r\n>"},
        {"silence", "10 A=1", {}, false, 1, ""},
        {"a character every 4 s keeps the wait alive",
         "Y",
         {{4000, "a"}, {4000, "b"}, {4000, "c"}, {4000, "\r\n>"}},
         true,
         0,
         "abc\r\n>"},
    };
    for (const Row &r : rows) {
        dialogs.boxes.clear();
        view.terminal.clear();
        port.answer = [&](const std::string &) {
            return r.answer;
        };
        EXPECT_EQ(lines.SendProgZeileOk(r.line), r.result) << r.name;
        EXPECT_EQ(int(dialogs.boxes.size()), r.timeoutBoxes) << r.name;
        if (r.timeoutBoxes) {
            EXPECT_EQ(dialogs.boxes[0].text, "Timeout Error\rIst die Schnittstelle bereit? ");
            EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Exclamation);
        }
        if (r.shown) {
            EXPECT_EQ(view.terminal, r.shown) << r.name;
        }
        EXPECT_EQ(port.sent.substr(port.sent.size() - r.line.size() - 1), r.line + "\r") << r.name;
        clock.Advance(std::chrono::seconds(10)); // let whatever is left arrive
        port.Input();
    }
}

TEST_F(Transfer, ClosedOrVanishingPort) {
    port.open = false;
    EXPECT_FALSE(lines.SendProgZeileOk("10 A"));
    EXPECT_FALSE(lines.SendNormalZeile("PROG\r"));
    EXPECT_EQ(port.sent, "");
    port.open = true;
    port.vanishAfterSent = 3;
    EXPECT_FALSE(lines.SendProgZeileOk("10 A"));
    EXPECT_TRUE(lines.LastPortLost());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Transfer, SendNormalZeileTakesWhatIsThere) {
    EXPECT_TRUE(lines.SendNormalZeile("PROG\r"));
    EXPECT_EQ(port.sent, "PROG\r");
    EXPECT_EQ(view.terminal, ""); // nothing has arrived at that moment
}

TEST_F(Transfer, DownloadDialogueAsTheControllerSeesIt) {
    const std::string program =
        File("p.bas", "' Kopf\r\n10 PRINT \"A\" ' x\r\n\r\n   ; nur Kommentar\r\n"
                      "20 IF A>B THEN 10\r\n30 GOTO 10 :REM Ende\r\n");
    struct Row {
        const char *name;
        BoxAnswer eeprom;
        const char *tail;
    } rows[] = {{"yes burns the program in", BoxAnswer::Yes, "PROG\r"},
                {"no sends nothing more", BoxAnswer::No, ""}};
    for (const Row &r : rows) {
        clock.Advance(std::chrono::seconds(10)); // the last row's late answers are read
        port.Input();
        port.sent.clear();
        dialogs.boxes.clear();
        dialogs.answers = {r.eeprom};
        port.answer = Controller;
        view.terminal = "alt";
        download.DownloadProg(program);
        EXPECT_EQ(port.sent, std::string("\r\rMTOP=7FFFH\rRAM\rNew\r10 PRINT \"A\"\r"
                                         "20 IF A>B THEN 10\r30 GOTO 10\r") +
                                 r.tail)
            << r.name;
        ASSERT_EQ(dialogs.boxes.size(), 1u) << r.name;
        EXPECT_EQ(dialogs.boxes[0].text, " Ins EEPROM Programmieren?");
        EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::YesNo);
        EXPECT_EQ(view.terminal.substr(0, 3), "\r\n>") << "the pane starts empty";
        EXPECT_TRUE(view.lcdFeed);
        EXPECT_EQ(view.message, "");
        EXPECT_TRUE(view.focused);
        EXPECT_FALSE(view.busy);
    }
}

TEST_F(Transfer, DownloadEndings) {
    struct Row {
        const char *name;
        std::string file;
        std::function<Chunks(const std::string &)> controller;
        bool portOpen;
        std::size_t vanishAfter;
        int stopAtEventPass;
        std::vector<std::string> boxes; // texts, in order
        std::string sentStartsWith;
        std::size_t sentSize; // 0: not checked
    } rows[] = {
        {"comments only: the opening, then the question",
         "' a\r\n; b\r\n",
         Controller,
         true,
         std::string::npos,
         -1,
         {" Ins EEPROM Programmieren?"},
         "\r\rMTOP=7FFFH\rRAM\rNew\r",
         21},
        {"no answer to the first CR: one time-out, nothing more",
         "10 A\r",
         [](const std::string &) { return Chunks{}; },
         true,
         std::string::npos,
         -1,
         {"Timeout Error\rIst die Schnittstelle bereit? "},
         "\r",
         1},
        {"port closed",
         "10 A\r",
         Controller,
         false,
         std::string::npos,
         -1,
         {"Keine Verbindung"},
         "",
         0},
        {"a cut line ends the download without the question",
         "10 A\r20 " + std::string(90, 'B') + "\r30 C\r",
         [](const std::string &s) {
             return s.size() > 79 ? Chunks{{1, s.substr(0, 78)}, {1, "\a\a"}, {5, "\r\n>"}}
                                  : Controller(s);
         },
         true,
         std::string::npos,
         -1,
         {Cp1252("Der Controller hat diese Zeile abgeschnitten (zu lang?):\r20 ") +
          std::string(90, 'B') + Cp1252("\rDie Übertragung wurde an dieser Zeile beendet.")},
         "\r\rMTOP=7FFFH\rRAM\rNew\r10 A\r20 B",
         0},
        {"the port vanishes mid-download",
         "10 A\r20 B\r30 C\r",
         Controller,
         true,
         27,
         -1,
         {Cp1252("Die Verbindung zum Controller ist unterbrochen.\rDie Übertragung wurde "
                 "abgebrochen.")},
         "\r\rMTOP=7FFFH\rRAM\rNew\r10 A\r",
         0},
        {"Escape after the first program line: no question",
         "10 A\r20 B\r30 C\r40 D\r",
         Controller,
         true,
         std::string::npos,
         7,
         {},
         "\r\rMTOP=7FFFH\rRAM\rNew\r10 A\r",
         26},
        {"Escape during the opening: New never goes out",
         "10 A\r20 B\r",
         Controller,
         true,
         std::string::npos,
         2,
         {},
         "\r\r",
         2},
    };
    for (const Row &r : rows) {
        port.sent.clear();
        port.open = r.portOpen;
        port.vanishAfterSent = r.vanishAfter;
        port.answer = r.controller;
        dialogs.boxes.clear();
        dialogs.answers = {BoxAnswer::No};
        events.calls = 0;
        events.stopAt = r.stopAtEventPass;
        download.DownloadProg(File("d.bas", r.file));
        EXPECT_EQ(Titles(), r.boxes) << r.name;
        EXPECT_EQ(port.sent.substr(0, r.sentStartsWith.size()), r.sentStartsWith) << r.name;
        if (r.sentSize) {
            EXPECT_EQ(port.sent.size(), r.sentSize) << r.name << ": " << port.sent;
        }
        EXPECT_TRUE(view.lcdFeed) << r.name;
        EXPECT_FALSE(flags.StopRequested) << r.name;
    }
    EXPECT_EQ(port.clearedIn, 2); // both stopped downloads discarded both queues
    EXPECT_EQ(port.clearedOut, 2);
}

TEST_F(Transfer, LoadCommandProposesTheNavigatorsFileAndChecksIt) {
    dialogs.files = {std::nullopt, (dir / "missing.bas").string()};
    download.LoadCommand("C:\\prog.bas");
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs[0].fileName, "C:\\prog.bas");
    EXPECT_EQ(dialogs.fileDialogs[0].title, Cp1252("BASIC-Datei öffnen"));
    EXPECT_TRUE(dialogs.boxes.empty());
    download.LoadCommand("");
    EXPECT_EQ(Titles(), std::vector<std::string>{"Datei nicht gefunden"});
    EXPECT_EQ(port.sent, "");
    EXPECT_EQ(view.timerStarts, 2);
}

TEST_F(Transfer, ClipboardLinesGoOutOnceEach) {
    port.answer = Controller;
    struct Row {
        const char *name, *clipboard, *sent;
    } rows[] = {
        {"CR LF", "10 A=1\r\n20 B=2 ' x\r\n30 C", "10 A=1\r20 B=2\r30 C\r\r"},
        {"LF, as Qt hands the clipboard over", "10 A=1\n20 B=2 ' x\n30 C",
         "10 A=1\r20 B=2\r30 C\r\r"},
        {"CR alone", "10 A=1\r20 B=2 ' x\r30 C", "10 A=1\r20 B=2\r30 C\r\r"},
        {"ending with a line end", "10 A=1\n20 B=2\n", "10 A=1\r20 B=2\r\r\r"},
        {"LF CR: an empty line between", "10 A=1\n\r20 B=2", "10 A=1\r\r20 B=2\r\r"},
        {"comment lines", "' Kopf\n10 A=1 ' x\n", "\r10 A=1\r\r\r"},
    };
    for (const Row &r : rows) {
        port.sent.clear();
        EXPECT_EQ(lines.SendClipboardLines(r.clipboard), LineTransmission::Ending::Completed)
            << r.name;
        EXPECT_EQ(port.sent, r.sent) << r.name;
    }
    port.sent.clear();
    lines.SendClipboardLines("");
    EXPECT_EQ(port.sent, "\r\r"); // an empty clipboard sends two CRs
}

TEST_F(Transfer, ClipboardPasteEndsAtACutLineOrOnEscape) {
    struct Row {
        const char *name;
        int stopAtEventPass;
        bool staleStop; // set before the paste starts
        bool bellOnSecond;
        LineTransmission::Ending ending;
        std::string sent;
        std::size_t boxes;
    } rows[] = {
        {"all lines", -1, false, false, LineTransmission::Ending::Completed,
         "10 A=1\r20 B=2\r30 C\r\r", 0},
        {"an earlier stop request is cleared", -1, true, false, LineTransmission::Ending::Completed,
         "10 A=1\r20 B=2\r30 C\r\r", 0},
        {"Escape while the first line is answered", 1, false, false,
         LineTransmission::Ending::Stopped, "10 A=1\r", 0},
        {"the controller cuts the second line", -1, false, true, LineTransmission::Ending::LineCut,
         "10 A=1\r20 B=2\r", 1},
    };
    for (const Row &r : rows) {
        port.sent.clear();
        dialogs.boxes.clear();
        events.calls = 0;
        events.stopAt = r.stopAtEventPass;
        flags.StopRequested = r.staleStop;
        port.answer = [&](const std::string &line) {
            Chunks c = Controller(line);
            if (r.bellOnSecond && line.rfind("20", 0) == 0)
                c.front().bytes.insert(0, "\a");
            return c;
        };
        EXPECT_EQ(lines.SendClipboardLines("10 A=1\r\n20 B=2\r\n30 C"), r.ending) << r.name;
        EXPECT_EQ(port.sent, r.sent) << r.name;
        ASSERT_EQ(dialogs.boxes.size(), r.boxes) << r.name;
        if (r.boxes) {
            EXPECT_NE(dialogs.boxes[0].text.find("abgeschnitten"), std::string::npos);
            EXPECT_NE(dialogs.boxes[0].text.find("20 B=2"), std::string::npos);
        }
    }
}

TEST(KeyTable, WhatEachKeySends) {
    const std::array<std::string, 4> user = {"F5 text", "", "x", "PRINT 8"};
    struct Row {
        int key;
        std::string sent;
    } rows[] = {{112, "LIST "},   {113, "RUN \r"}, {114, "CONT\r"},  {115, "PH0. "},
                {116, "F5 text"}, {117, ""},       {119, "PRINT 8"}, {8, "\x7f"},
                {27, "\x1b"},     {13, ""},        {120, ""},        {65, ""}};
    for (const Row &r : rows)
        EXPECT_EQ(KeyDownText(r.key, user), r.sent) << r.key;
}

} // namespace
} // namespace quandel
