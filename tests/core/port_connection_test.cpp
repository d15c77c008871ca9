#include "port/port_connection.h"
#include "support/fakes.h"
#include "support/scripted_dialogs.h"

#include <functional>
#include <gtest/gtest.h>

namespace quandel {
namespace {

using namespace std::chrono_literals;

struct RecordingView final : ConnectionView {
    std::string status, connectTime = "Verbindung", message;
    bool connectedIcon = false, timerRunning = false, watching = false;
    void ShowPortStatus(const std::string &t, bool c) override { status = t, connectedIcon = c; }
    void ShowConnectTime(const std::string &t) override { connectTime = t; }
    void ShowMessage(const std::string &t) override { message = t; }
    void SetConnectTimerRunning(bool r) override { timerRunning = r; }
    void SetReconnectWatch(bool w) override { watching = w; }
};

struct Fixture : ::testing::Test {
    test::FakeSerialPort port;
    test::ScriptedDialogs dialogs;
    test::FakeClock clock;
    RecordingView view;
    PortConnection connection{port, dialogs, clock, view};
    Fixture() {
        port.SetLostHandler([this] { connection.OnPortLost(); });
    }
};

TEST(ElapsedText, FormatsAndWrapsAfterADay) {
    struct Row {
        Clock::Duration d;
        const char *text;
    } rows[] = {{0s, "00:00:00"},     {59s, "00:00:59"},    {3661s, "01:01:01"},
                {86399s, "23:59:59"}, {86400s, "00:00:00"}, {90061s, "01:01:01"},
                {1500ms, "00:00:01"}, {-5s, "00:00:00"}};
    for (const Row &r : rows)
        EXPECT_EQ(ElapsedText(r.d), r.text);
}

using PortConnectionTest = Fixture;

TEST_F(PortConnectionTest, OpenShowsActiveAndStartsTheConnectTime) {
    connection.Open();
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 active");
    EXPECT_TRUE(view.connectedIcon);
    EXPECT_TRUE(view.timerRunning);
    clock.Advance(3725s);
    connection.ConnectTimeTick();
    EXPECT_EQ(view.connectTime, "01:02:05 ");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortConnectionTest, FailedOpenIsSilentButTheTimeCountsFromTheAttempt) {
    port.openFails = true;
    clock.Advance(100s);
    connection.Open();
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 not active");
    EXPECT_FALSE(view.connectedIcon);
    EXPECT_TRUE(view.timerRunning);
    clock.Advance(2s);
    connection.ConnectTimeTick();
    EXPECT_EQ(view.connectTime, "00:00:02 ");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortConnectionTest, CloseClearsTheConnectTimeUntilTheNextOpen) {
    connection.Open();
    connection.ConnectTimeTick();
    connection.Close();
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 not active");
    EXPECT_FALSE(view.connectedIcon);
    EXPECT_FALSE(view.timerRunning);
    EXPECT_EQ(view.connectTime, "");
}

TEST_F(PortConnectionTest, FailedCloseReportsThePortsTextAndChangesNothing) {
    connection.Open();
    connection.ConnectTimeTick();
    const std::string before = view.connectTime;
    port.closeError = "Zugriff verweigert";
    connection.Close();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Zugriff verweigert");
    EXPECT_EQ(dialogs.boxes[0].title, "Quandel");
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Exclamation);
    EXPECT_TRUE(view.connectedIcon);
    EXPECT_TRUE(view.timerRunning);
    EXPECT_EQ(view.connectTime, before);
}

TEST_F(PortConnectionTest, PanelClickTogglesByTheIconShown) {
    connection.Open();
    connection.TogglePanel();
    EXPECT_FALSE(port.open);
    connection.TogglePanel();
    EXPECT_TRUE(port.open);
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 active");
}

TEST_F(PortConnectionTest, LostPortIsWatchedForAndReopenedWhenBack) {
    connection.Open();
    port.Vanish();
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 not active");
    EXPECT_FALSE(view.connectedIcon);
    EXPECT_EQ(view.connectTime, "");
    EXPECT_TRUE(view.watching);
    EXPECT_TRUE(dialogs.boxes.empty());

    port.openFails = true; // device still missing
    connection.ReconnectTick();
    EXPECT_FALSE(port.open);
    EXPECT_TRUE(view.watching);

    port.openFails = false;
    connection.ReconnectTick();
    EXPECT_TRUE(port.open);
    EXPECT_FALSE(view.watching);
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 active");
    EXPECT_TRUE(view.timerRunning);
    EXPECT_NE(view.message.find("wiederhergestellt"), std::string::npos);
}

TEST_F(PortConnectionTest, PortClosedByTheUserStaysClosed) {
    connection.Open();
    port.Vanish();
    connection.Close(); // the user gives up on it
    EXPECT_FALSE(view.watching);
    connection.ReconnectTick();
    EXPECT_FALSE(port.open);
}

TEST_F(PortConnectionTest, WatchForALostDeviceEndsOnlyWhenTheUserGivesUpOnIt) {
    struct Row {
        const char *name;
        std::function<void(PortConnection &)> act;
        bool stillWatching;
    } rows[] = {
        {"F11 while the device is away", [](PortConnection &c) { c.Open(); }, true},
        {"status panel click", [](PortConnection &c) { c.TogglePanel(); }, true},
        {"port dialog, same device",
         [](PortConnection &c) {
             c.PauseWatch();
             c.AfterSettingsDialog(true);
         },
         true},
        {"port dialog, another device",
         [](PortConnection &c) {
             c.PauseWatch();
             c.AfterSettingsDialog(false);
         },
         false},
        {"closed by the user", [](PortConnection &c) { c.Close(); }, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        port.openFails = false;
        connection.Open();
        port.Vanish();
        port.openFails = true;
        r.act(connection);
        EXPECT_EQ(view.watching, r.stillWatching);
        EXPECT_EQ(connection.WatchingForDevice(), r.stillWatching);
        EXPECT_EQ(view.message.find("warte auf das Ger") != std::string::npos, r.stillWatching)
            << view.message;
        // The device comes back: only a live watch takes it.
        port.openFails = false;
        connection.ReconnectTick();
        EXPECT_EQ(port.open, r.stillWatching);
        connection.StopWatching();
        port.open = false;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortConnectionTest, WatchPausesWhileThePortDialogIsShown) {
    connection.Open();
    port.Vanish();
    connection.PauseWatch();
    EXPECT_FALSE(view.watching); // the timer stands
    EXPECT_TRUE(connection.WatchingForDevice());
    port.open = true; // the dialog opened the device itself
    connection.AfterSettingsDialog(true);
    EXPECT_FALSE(connection.WatchingForDevice());
    EXPECT_EQ(view.message, "");
}

TEST_F(PortConnectionTest, RefusedOpenIsExplainedToTheUserButSilentAtStartUp) {
    port.openFails = true;
    port.refusal = PortResult::Refused(
        OpenRefusal::Permission, "Keine Berechtigung für /dev/ttyUSB0.\rDas Gerät gehört ...");
    struct Row {
        PortConnection::OpenBy by;
        std::size_t boxes;
    } rows[] = {{PortConnection::OpenBy::Startup, 0}, {PortConnection::OpenBy::User, 1}};
    for (const Row &r : rows) {
        dialogs.boxes.clear();
        connection.Open(r.by);
        EXPECT_EQ(view.message, "Keine Berechtigung für /dev/ttyUSB0.");
        ASSERT_EQ(dialogs.boxes.size(), r.boxes);
        if (r.boxes) {
            EXPECT_EQ(dialogs.boxes[0].text, port.refusal.error);
            EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Exclamation);
        }
    }
    // Mended (the user joined the group): the explanation goes.
    port.openFails = false;
    connection.Open();
    EXPECT_EQ(view.message, "");
    EXPECT_EQ(view.status, "COM 1,9600,N,8,1 active");
}

} // namespace
} // namespace quandel
