// Download, read-out and keys against the simulated controller on a real
// pty; the controller's byte log shows what it received.
#include "app/cp1252_codec.h"
#include "app/status_panel.h"
#include "app/terminal_controller.h"
#include "app/terminal_keys.h"
#include "app/transfer_controller.h"
#include "core/number_text.h"
#include "editor/navigator_pane.h"
#include "support/qt_support.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

class TstTransfer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete rig_; }
    void downloadDialogueIsByteExact();
    void longProgramArrivesCompleteAndReadsBack();
    void downloadEndings_data();
    void downloadEndings();
    void escapeStopsALongDownload();
    void keysReachTheController();
    void clipboardLinesGoOutOnceEach();
    void navigatorEnterOnTheEditorTabDownloads();

private:
    test::SimRig *rig_ = nullptr;
};

void TstTransfer::init() {
    rig_ = new test::SimRig;
}

void TstTransfer::downloadDialogueIsByteExact() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString file = rig_->Write(QStringLiteral("p.bas"),
                                     "' Kopf\r\n10 PRINT \"A\" ' x\r\n\r\n   ; nur Kommentar\r\n"
                                     "20 IF A>B THEN 10\r\n30 GOTO 10 :REM Ende\r\n");
    app.dialogs.answers = {BoxAnswer::Yes};
    app.window.Transfers().DownloadProg(file.toStdString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QTRY_COMPARE_WITH_TIMEOUT(rig_->Log(),
                              QByteArray("\r\rMTOP=7FFFH\rRAM\rNew\r10 PRINT \"A\"\r"
                                         "20 IF A>B THEN 10\r30 GOTO 10\rPROG\r"),
                              3000);
    // The display hides while the controller programs and shows its end.
    QTRY_VERIFY_WITH_TIMEOUT(app.child<QPlainTextEdit>("txtLCD")->toPlainText().contains(
                                 QStringLiteral("PROGRAMMING SUCCESSFULL")),
                             5000);
    QVERIFY(app.window.Terminal().Receive().LcdFeedEnabled());
    QCOMPARE(app.child<QLabel>("Meldung")->text(), QString());
}

void TstTransfer::longProgramArrivesCompleteAndReadsBack() {
    // Default busy times: only the handshake keeps lines from being lost.
    test::SimProcess sim(rig_->link, {"--log", rig_->log, "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    QByteArray source;
    QStringList expected;
    for (int i = 1; i <= 200; ++i) {
        QByteArray line = QByteArray::number(i * 10) + " ";
        switch (i % 3) {
        case 0:
            line += "IF A>B THEN PRINT \">\"";
            break;
        case 1:
            line += "PRINT \"" + QByteArray(60, char('A' + i % 26)) + "\"";
            break;
        default:
            line += "A=A+" + QByteArray::number(i);
            break;
        }
        source += line + "\r\n";
        expected << QString::fromLatin1(line).remove(QLatin1Char(' '));
    }
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("long.bas"), source).toStdString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1)); // only the EEPROM question

    // Read the program back, into a file that held something else before.
    const QString target = rig_->Write(QStringLiteral("readout.txt"), "old content");
    app.dialogs.files = {target.toStdString()};
    QAction *readout = app.window.findChild<QAction *>(QStringLiteral("mnuFileSave"));
    readout->trigger();
    QVERIFY(readout->isChecked());
    const auto fileHolds = [&](const QByteArray &what) {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains(what);
    };
    QTRY_VERIFY_WITH_TIMEOUT(fileHolds("\r\n2000 "), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(fileHolds("\r\nREADY\r"), 5000);
    readout->trigger();
    QVERIFY(!readout->isChecked());
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray got = file.readAll();
    QVERIFY(got.startsWith("\r\n>\r\n>LIST\r\n"));
    QVERIFY(got.endsWith("\r\nREADY\r\n")); // no trailing prompt
    QStringList listed;
    for (const QByteArray &line : got.split('\n'))
        if (!line.isEmpty() && line.at(0) >= '1' && line.at(0) <= '9')
            listed << QString::fromLatin1(line).remove(QLatin1Char(' ')).remove(QLatin1Char('\r'));
    QCOMPARE(listed, expected);
    QVERIFY(app.window.Terminal().Receive().LcdFeedEnabled());
}

void TstTransfer::downloadEndings_data() {
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QString>("box"); // the one box expected
    QTest::addColumn<QByteArray>(
        "logIs"); // what the controller received (prefix when it ends in *)
    QTest::addColumn<bool>("portOpenAfter");
    QTest::newRow("no answer at all: one real 5 s time-out")
        << QStringList{"--mute-after", "0"} << QByteArray("10 A=1\r\n")
        << QStringLiteral("Timeout Error\nIst die Schnittstelle bereit? ") << QByteArray("\r")
        << true;
    QTest::newRow("an 85-character line is cut: no EEPROM question")
        << QStringList{"--busy-scale", "0.1"}
        << QByteArray("10 A=1\r\n20 PRINT \"" + QByteArray(78, 'X') + "\"\r\n30 B=2\r\n")
        << QStringLiteral("Der Controller hat diese Zeile abgeschnitten") << QByteArray("*")
        << true;
    QTest::newRow("the controller hangs up mid-download")
        << QStringList{"--busy-scale", "0.1", "--hangup-after", "7"}
        << QByteArray("10 A=1\r\n20 B=2\r\n30 C=3\r\n40 D=4\r\n")
        << QStringLiteral("Die Verbindung zum Controller ist unterbrochen.")
        << QByteArray("\r\rMTOP=7FFFH\rRAM\rNew\r10 A=1\r20 B=2\r") << false;
}

void TstTransfer::downloadEndings() {
    QFETCH(QStringList, simOptions);
    QFETCH(QByteArray, program);
    QFETCH(QString, box);
    QFETCH(QByteArray, logIs);
    QFETCH(bool, portOpenAfter);
    test::SimProcess sim(rig_->link,
                         QStringList{"--log", rig_->log, "--signon-delay", "0"} + simOptions);
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    QTest::qWait(300);
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("e.bas"), program).toStdString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QVERIFY2(QString::fromLatin1(app.dialogs.boxes[0].text)
                 .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                 .startsWith(box),
             app.dialogs.boxes[0].text.c_str());
    if (logIs != "*")
        QCOMPARE(rig_->Log(), logIs);
    QVERIFY(!rig_->Log().contains("PROG"));
    QCOMPARE(app.port.PortOpen(), portOpenAfter);
    if (!portOpenAfter)
        QCOMPARE(app.child<StatusPanel>("Status")->text(),
                 QStringLiteral("COM 1,9600,N,8,1 not active"));
    QVERIFY(app.window.Terminal().Receive().LcdFeedEnabled());
}

void TstTransfer::escapeStopsALongDownload() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.2", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    QByteArray program;
    for (int i = 1; i <= 100; ++i)
        program += QByteArray::number(i) + " A=" + QByteArray::number(i) + "\r\n";
    // Escape once the first program line has reached the controller.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app.window, [&] {
        if (rig_->Log().contains("\r1 A=1\r")) {
            poll.stop();
            QTest::keyClick(app.window.windowHandle(), Qt::Key_Escape);
        }
    });
    poll.start(10);
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("s.bas"), program).toStdString());
    QVERIFY2(app.dialogs.boxes.empty(),
             app.dialogs.boxes.empty() ? ""
                                       : app.dialogs.boxes[0].text.c_str()); // no EEPROM question
    QVERIFY(!app.window.Flags().StopRequested);
    const QByteArray log = rig_->Log();
    QVERIFY(log.contains("1 A=1\r"));
    QVERIFY(!log.contains("100 A=100\r"));
    // The stop cleared what had come in; only the controller's echo of the
    // Escape itself can arrive after that, late on a loaded machine.
    const std::string rest = app.port.Input();
    QVERIFY2(rest.find_first_not_of('\x1b') == std::string::npos, rest.c_str());
}

void TstTransfer::keysReachTheController() {
    // A silent controller: what it would do with RUN or CONT cannot get in
    // the way of what it receives.
    test::SimProcess sim(rig_->link, {"--log", rig_->log, "--mute-after", "0"});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    QWindow *w = app.window.windowHandle();
    app.dialogs.inputs = {std::string("PRINT 5")};
    app.child<QPushButton>("FTast4")->click(); // F5 gets a text of its own
    QCOMPARE(app.child<QPushButton>("FTast4")->text(), QStringLiteral("PRINT 5"));
    QCOMPARE(QSettingsStore().Get(kAppTitle, "FTaste5", "FTast(4).ToolTipText", ""),
             std::string("PRINT 5"));
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6})
        QTest::keyClick(w, key);
    QTest::keyClick(w, Qt::Key_Backspace);
    QTest::keyClick(w, Qt::Key_Escape);
    // Ctrl+C discards what is still queued for the line: let it go out first.
    QTRY_COMPARE_WITH_TIMEOUT(rig_->Log().size(), 58, 3000);
    QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_A);
    QTest::keyClick(w, Qt::Key_Return);
    QVERIFY(app.window.Flags().StopRequested);
    const QByteArray keys =
        "LIST RUN \rCONT\rPH0. PRINT 5Belegung der Funktionstaste\x7f\b\x1b\x1b\x03"
        "a\r";
    QTRY_COMPARE_WITH_TIMEOUT(rig_->Log(), keys, 3000);

    app.child<QTabWidget>("sstMain")->setCurrentIndex(1); // the editor: nothing to the controller
    app.child<QWidget>("txtEdit")->setFocus();
    QTest::keyClick(w, Qt::Key_F2);
    QTest::keyClick(w, Qt::Key_X);
    QTest::qWait(300);
    QCOMPARE(rig_->Log(), keys);
    QCOMPARE(app.child<QPlainTextEdit>("txtEdit")->toPlainText(), QStringLiteral("x"));
}

void TstTransfer::clipboardLinesGoOutOnceEach() {
    test::SimProcess sim(rig_->link, {"--log", rig_->log, "--busy-scale", "0", "--no-signon"});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    QApplication::clipboard()->setText(QStringLiteral("10 A=1\r\n20 B=2 ' x\r\n"));
    QTest::keyClick(app.window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(rig_->Log(), QByteArray("10 A=1\r20 B=2\r\r\r"), 3000);
    QVERIFY(app.dialogs.boxes.empty());
}

void TstTransfer::navigatorEnterOnTheEditorTabDownloads() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("LAUF.BAS")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("10 PRINT \"N\" ' Navigator\r\n20 END\r\n");
    file.close();
    const QString savedCwd = QDir::currentPath();
    auto *navigator = app.window.findChild<NavigatorPane *>(QStringLiteral("picLeft"));
    QVERIFY(navigator->changeDirectory(folder.path()));
    app.child<QTabWidget>("sstMain")->setCurrentIndex(1);
    QListWidget *files = navigator->fileList();
    files->setFocus();
    files->findItems(QStringLiteral("LAUF.BAS"), Qt::MatchExactly).first()->setSelected(true);
    app.dialogs.answers = {BoxAnswer::Yes, BoxAnswer::No}; // load it; no EEPROM

    QTest::keyClick(files, Qt::Key_Return);

    QDir::setCurrent(savedCwd);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(2));
    const QString path = QDir::toNativeSeparators(folder.path()) + QDir::separator();
    QCOMPARE(FromCp1252(app.dialogs.boxes[0].text),
             QStringLiteral("Datei %1LAUF.BAS laden?").arg(path));
    // The Enter key chose the file and did not go to the controller.
    QTRY_COMPARE_WITH_TIMEOUT(
        rig_->Log(), QByteArray("\r\rMTOP=7FFFH\rRAM\rNew\r10 PRINT \"N\"\r20 END\r"), 3000);
}

QTEST_MAIN(TstTransfer)
#include "tst_transfer.moc"
