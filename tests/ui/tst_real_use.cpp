// The program with what a user on Linux really has: files and clipboards
// with LF line ends, the focus in the file list, a controller slower than
// the simulator's defaults, a port closed or gone at the wrong moment.
#include "app/status_panel.h"
#include "app/terminal_controller.h"
#include "app/transfer_controller.h"
#include "editor/navigator_pane.h"
#include "support/qt_support.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

namespace {

// A program as a Linux editor writes it: LF line ends, comments included.
const QByteArray kLfProgram = "' Kopf\n10 PRINT \"A\" ' Kommentar\n\n20 A=A+1\n30 IF A<5 THEN 10\n"
                              "40 END :REM Ende\n";
const QByteArray kLfProgramSent = "10 PRINT \"A\"\r20 A=A+1\r30 IF A<5 THEN 10\r40 END\r";
// The lines the controller lists for it, without blanks.
const QStringList kLfProgramListed = {QStringLiteral("10PRINT\"A\""), QStringLiteral("20A=A+1"),
                                      QStringLiteral("30IFA<5THEN10"), QStringLiteral("40END")};

// The numbered lines of a listing, blanks removed.
QStringList ListedLines(const QByteArray &listing) {
    QStringList lines;
    for (const QByteArray &line : listing.split('\n'))
        if (!line.isEmpty() && line.at(0) >= '1' && line.at(0) <= '9')
            lines << QString::fromLatin1(line).remove(QLatin1Char(' ')).remove(QLatin1Char('\r'));
    return lines;
}

// Reads the controller's program into `target` with the read-out command
// and returns what the file holds once the listing has ended.
QByteArray ReadOut(AppUnderTest &app, const QString &target) {
    app.dialogs.files = {target.toStdString()};
    app.window.ReadoutAction().trigger();
    if (!app.window.ReadoutAction().isChecked())
        return "<not started>";
    (void)QTest::qWaitFor([&] { return test::FileBytes(target).contains("READY\r\n"); }, 8000);
    app.window.ReadoutAction().trigger();
    return test::FileBytes(target);
}

QListWidgetItem *SelectFile(QListWidget *files, const QString &name) {
    const auto items = files->findItems(name, Qt::MatchExactly);
    if (items.isEmpty())
        return nullptr;
    files->setCurrentItem(items.first());
    return items.first();
}

} // namespace

class TstRealUse : public QObject {
    Q_OBJECT
private slots:
    void init() { rig_ = new test::SimRig; }
    void cleanup() { delete rig_; }
    void lfFileDownloadsEveryLine_data();
    void lfFileDownloadsEveryLine();
    void clipboardCopiedFromTheEditorGoesOutLineByLine();
    void escapeInTheFileListStopsTheDownload();
    void fileListKeepsItsKeysAndPassesTheTerminals();
    void readoutSurvivesASlowController_data();
    void readoutSurvivesASlowController();
    void readoutWithThePortClosed();
    void failedOpenKeepsWaitingForTheDevice();

private:
    test::SimRig *rig_ = nullptr;
};

void TstRealUse::lfFileDownloadsEveryLine_data() {
    QTest::addColumn<bool>("fromNavigator");
    QTest::newRow("Programm laden") << false;
    QTest::newRow("Enter in the file list") << true;
}

void TstRealUse::lfFileDownloadsEveryLine() {
    QFETCH(bool, fromNavigator);
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString file = rig_->Write(QStringLiteral("LF.BAS"), kLfProgram);
    if (fromNavigator) {
        const QString savedCwd = QDir::currentPath();
        auto *navigator = app.window.findChild<NavigatorPane *>(QStringLiteral("picLeft"));
        QVERIFY(navigator->changeDirectory(rig_->dir.path()));
        QListWidget *files = navigator->fileList();
        files->setFocus();
        QVERIFY(SelectFile(files, QStringLiteral("LF.BAS")));
        app.dialogs.answers = {BoxAnswer::Yes, BoxAnswer::No}; // load it; no EEPROM
        QTest::keyClick(files, Qt::Key_Return);
        QDir::setCurrent(savedCwd);
    } else {
        app.dialogs.answers = {BoxAnswer::No};
        app.dialogs.files = {file.toStdString()};
        app.window.Transfers().LoadCommand();
    }
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(fromNavigator ? 2 : 1));
    QCOMPARE(rig_->Log(), QByteArray("\r\rMTOP=7FFFH\rRAM\rNew\r") + kLfProgramSent);
    QCOMPARE(ListedLines(ReadOut(app, rig_->dir.filePath(QStringLiteral("back.txt")))),
             kLfProgramListed);
    QCOMPARE(test::FileBytes(file), kLfProgram); // the source stays as it was
}

void TstRealUse::clipboardCopiedFromTheEditorGoesOutLineByLine() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    // Copied from the Editor tab, the clipboard holds the lines with LF.
    auto *editor = app.child<QPlainTextEdit>("txtEdit");
    editor->setPlainText(QString::fromLatin1(kLfProgram));
    editor->selectAll();
    editor->copy();
    QVERIFY(QApplication::clipboard()->text().contains(QLatin1Char('\n')));
    QVERIFY(!QApplication::clipboard()->text().contains(QLatin1Char('\r')));
    app.child<QPlainTextEdit>("txtLCD")->setFocus();
    QTest::keyClick(app.window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(rig_->Log().contains("40 END\r"), 5000);
    QVERIFY(app.dialogs.boxes.empty());
    QCOMPARE(ListedLines(ReadOut(app, rig_->dir.filePath(QStringLiteral("back.txt")))),
             kLfProgramListed);
}

void TstRealUse::escapeInTheFileListStopsTheDownload() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.2", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    QByteArray program;
    for (int i = 1; i <= 100; ++i)
        program += QByteArray::number(i) + " A=" + QByteArray::number(i) + "\n";
    QVERIFY(!rig_->Write(QStringLiteral("LANG.BAS"), program).isEmpty());
    const QString savedCwd = QDir::currentPath();
    auto *navigator = app.window.findChild<NavigatorPane *>(QStringLiteral("picLeft"));
    QVERIFY(navigator->changeDirectory(rig_->dir.path()));
    QListWidget *files = navigator->fileList();
    QCOMPARE(app.child<QTabWidget>("sstMain")->currentIndex(), 0);
    files->setFocus();
    QVERIFY(SelectFile(files, QStringLiteral("LANG.BAS")));
    // The user presses Escape once the second line has reached the
    // controller, the focus still in the file list.
    QTimer poll;
    bool focusWasInList = false;
    QObject::connect(&poll, &QTimer::timeout, &app.window, [&] {
        if (rig_->Log().contains("\r2 A=2\r")) {
            poll.stop();
            focusWasInList = QApplication::focusWidget() == files;
            QTest::keyClick(app.window.windowHandle(), Qt::Key_Escape);
        }
    });
    poll.start(10);
    app.dialogs.answers = {BoxAnswer::Yes}; // "laden?"; an EEPROM question would get Yes too
    QTest::keyClick(files, Qt::Key_Return);
    QDir::setCurrent(savedCwd);
    QVERIFY(focusWasInList);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1)); // no EEPROM question
    QVERIFY(!app.window.Flags().StopRequested);
    const QByteArray log = rig_->Log();
    QVERIFY(!log.contains("PROG"));
    // At most the line being answered completes after the Escape.
    QVERIFY2(!log.contains("\r4 A=4\r"), log.constData());
}

void TstRealUse::fileListKeepsItsKeysAndPassesTheTerminals() {
    // A silent controller: only what it receives counts.
    test::SimProcess sim(rig_->link, {"--log", rig_->log, "--mute-after", "0"});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    for (const char *name : {"ALPHA.BAS", "BETA.BAS", "GAMMA.BAS"})
        QVERIFY(!rig_->Write(QString::fromLatin1(name), "10 END\n").isEmpty());
    const QString savedCwd = QDir::currentPath();
    auto *navigator = app.window.findChild<NavigatorPane *>(QStringLiteral("picLeft"));
    QVERIFY(navigator->changeDirectory(rig_->dir.path()));
    QDir::setCurrent(savedCwd);
    QListWidget *files = navigator->fileList();
    QWindow *w = app.window.windowHandle();
    files->setFocus();
    QVERIFY(SelectFile(files, QStringLiteral("ALPHA.BAS")));
    // The list's own keys: arrows and type-ahead letters.
    QTest::keyClick(w, Qt::Key_Down);
    QCOMPARE(files->currentItem()->text(), QStringLiteral("BETA.BAS"));
    QTest::keyClick(w, Qt::Key_G);
    QCOMPARE(files->currentItem()->text(), QStringLiteral("GAMMA.BAS"));
    QTest::qWait(200);
    QVERIFY(rig_->Log().isEmpty() || rig_->Log() == "<missing>");
    // The terminal's keys, whatever pane has the focus.
    QTest::keyClick(w, Qt::Key_F1);
    files->setFocus();
    QTest::keyClick(w, Qt::Key_F3);
    // Ctrl+C drops what is still queued for the line: let the rest go first.
    QTRY_COMPARE_WITH_TIMEOUT(rig_->Log(), QByteArray("LIST CONT\r"), 3000);
    files->setFocus();
    QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(app.window.Flags().StopRequested);
    QTRY_COMPARE_WITH_TIMEOUT(rig_->Log(), QByteArray("LIST CONT\r\x03"), 3000);
}

void TstRealUse::readoutSurvivesASlowController_data() {
    QTest::addColumn<QString>("emptyLineMs");
    QTest::newRow("40 ms") << QStringLiteral("40");
    QTest::newRow("300 ms") << QStringLiteral("300");
}

void TstRealUse::readoutSurvivesASlowController() {
    QFETCH(QString, emptyLineMs);
    // The controller takes its time over a bare CR and loses what arrives
    // meanwhile.
    test::SimProcess sim(rig_->link, {"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay",
                                      "0", "--empty-line-ms", emptyLineMs});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("P.BAS"), kLfProgram).toStdString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    const QByteArray got = ReadOut(app, rig_->dir.filePath(QStringLiteral("back.txt")));
    QVERIFY2(got.contains("LIST\r\n"), got.constData());
    QCOMPARE(ListedLines(got), kLfProgramListed);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
}

void TstRealUse::readoutWithThePortClosed() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString target = rig_->Write(QStringLiteral("alt.txt"), "alter Inhalt");
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11, Qt::ShiftModifier);
    QVERIFY(!app.port.PortOpen());
    app.dialogs.files = {target.toStdString()};
    app.window.ReadoutAction().trigger();
    QVERIFY(!app.window.ReadoutAction().isChecked());
    QVERIFY(app.dialogs.fileDialogs.empty()); // refused before the file dialog
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(app.dialogs.boxes[0].text, std::string("Keine Verbindung"));
    QCOMPARE(test::FileBytes(target), QByteArray("alter Inhalt"));

    // Closed by the user while a read-out runs: it ends, without a word of
    // a lost connection.
    app.dialogs.boxes.clear();
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11);
    QVERIFY(app.port.PortOpen());
    app.window.ReadoutAction().trigger();
    QVERIFY(app.window.ReadoutAction().isChecked());
    // The controller signs on again after the reopen; the listing follows.
    QTRY_VERIFY_WITH_TIMEOUT(test::FileBytes(target).contains("LIST\r\n\r\nREADY\r"), 5000);
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11, Qt::ShiftModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!app.window.ReadoutAction().isChecked(), 3000);
    QVERIFY(app.dialogs.boxes.empty());
}

void TstRealUse::failedOpenKeepsWaitingForTheDevice() {
    AppUnderTest app;
    auto *status = app.child<StatusPanel>("Status");
    auto *message = app.child<QLabel>("Meldung");
    {
        test::SimProcess sim(rig_->link, {"--busy-scale", "0"});
        QVERIFY(sim.running());
        app.window.Startup();
        QVERIFY(app.port.PortOpen());
        sim.hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 not active"),
                                  5000);
    }
    QVERIFY(message->text().contains(QStringLiteral("warte auf das Gerät")));
    // The user tries at once: F11 and the status panel fail, the wait goes on.
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11);
    QTest::mouseClick(status, Qt::LeftButton);
    QVERIFY(!app.port.PortOpen());
    QVERIFY(message->text().contains(QStringLiteral("warte auf das Gerät")));
    QVERIFY(app.window.Connection().WatchingForDevice());

    test::SimProcess again(rig_->link, {"--busy-scale", "0"});
    QVERIFY(again.running());
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"), 5000);
    QVERIFY(message->text().contains(QStringLiteral("wiederhergestellt")));

    // The user closes it: the watch is over and says nothing more.
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11, Qt::ShiftModifier);
    QVERIFY(!app.window.Connection().WatchingForDevice());
    QVERIFY(!message->text().contains(QStringLiteral("warte")));
}

QTEST_MAIN(TstRealUse)
#include "tst_real_use.moc"
