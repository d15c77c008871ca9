// Soak and fault tests of the whole window against the simulated controller:
// a long read-out, the controller hanging up in the middle of each transfer,
// and input that is not what it should be.
#include "app/cp1252_codec.h"
#include "app/status_panel.h"
#include "app/terminal_controller.h"
#include "app/transfer_controller.h"
#include "basictools/tool_runner.h"
#include "dialogs/frm_remkill.h"
#include "editor/navigator_pane.h"
#include "support/qt_support.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>
#include <memory>

using namespace quandel;
using test::AppUnderTest;
using test::FileBytes;

namespace {

// The program of the soak: `count` numbered lines "Z n", then READY.
QByteArray CountingProgram(int count) {
    return "10 FOR I=1 TO " + QByteArray::number(count) + "\r\n20 PRINT \"Z\",I\r\n30 NEXT I\r\n";
}

// The numbers of the "Z n" lines of a read-out file, in file order.
QList<int> CountedLines(const QByteArray &file) {
    QList<int> numbers;
    for (const QByteArray &line : file.split('\n'))
        if (line.startsWith("Z ") && !line.mid(2).trimmed().isEmpty())
            numbers << line.mid(2).trimmed().toInt();
    return numbers;
}

// True when this process holds `path` open.
bool HeldOpen(const QString &path) {
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == wanted)
            return true;
    return false;
}

} // namespace

class TstFaults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete rig_; }
    void readoutKeepsEveryLineOfALongRun();
    void hangUpMidTransfer_data();
    void hangUpMidTransfer();
    void garbageSettingsFile();
    void navigatorFolderGoneAfterListing_data();
    void navigatorFolderGoneAfterListing();
    void sourceThatIsNoProgram_data();
    void sourceThatIsNoProgram();

private:
    QAction *Readout(AppUnderTest &app) {
        return app.window.findChild<QAction *>(QStringLiteral("mnuFileSave"));
    }

    test::SimRig *rig_ = nullptr;
};

void TstFaults::init() {
    rig_ = new test::SimRig;
}

void TstFaults::readoutKeepsEveryLineOfALongRun() {
    constexpr int kLines = 20000;
    test::SimProcess sim(rig_->link,
                         {"--busy-scale", "0", "--statement-ms", "0", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("zaehler.bas"), CountingProgram(kLines)).toStdString());

    const QString target = rig_->dir.filePath(QStringLiteral("lauf.txt"));
    app.dialogs.files = {target.toStdString()};
    Readout(app)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(FileBytes(target).endsWith("NEXT I\r\n\r\nREADY\r"), 5000);
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F2); // RUN
    const QByteArray last = "Z " + QByteArray::number(kLines) + " \r\n\r\nREADY\r";
    QTRY_VERIFY_WITH_TIMEOUT(FileBytes(target).endsWith(last), 60000);
    // Closing the window ends the read-out like choosing it again.
    QVERIFY(app.window.close());
    QVERIFY(!HeldOpen(target));
    QVERIFY(FileBytes(target).endsWith(last + "\n"));

    const QList<int> numbers = CountedLines(FileBytes(target));
    QCOMPARE(numbers.size(), kLines);
    for (int i = 0; i < kLines; ++i)
        QCOMPARE(numbers[i], i + 1);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1)); // only the EEPROM question
}

void TstFaults::hangUpMidTransfer_data() {
    QTest::addColumn<QString>("transfer");
    QTest::addColumn<int>("hangUpAfter"); // lines the controller answers; 0: it is ended mid-run
    QTest::addColumn<QString>("box");     // the one box; %1 names the read-out file
    const QString transfer = QStringLiteral(
        "Die Verbindung zum Controller ist unterbrochen.\rDie Übertragung wurde abgebrochen.");
    const QString readout = QStringLiteral(
        "Die Verbindung zum Controller ist unterbrochen.\rDas Auslesen wurde beendet; die Datei "
        "%1 enthält alles bis dahin Empfangene.");
    // The download's opening and three program lines are 8 lines; the
    // read-out's opening 3 more: RUN is line 12.
    QTest::newRow("download") << "download" << 7 << transfer;
    QTest::newRow("read-out, after the run") << "readout" << 12 << readout;
    QTest::newRow("read-out, mid-run") << "readout" << 0 << readout;
    QTest::newRow("paste") << "paste" << 40 << transfer;
}

void TstFaults::hangUpMidTransfer() {
    QFETCH(QString, transfer);
    QFETCH(int, hangUpAfter);
    QFETCH(QString, box);
    QStringList options{"--busy-scale", "0", "--statement-ms", "0", "--signon-delay", "0"};
    if (hangUpAfter > 0)
        options << "--hangup-after" << QString::number(hangUpAfter);
    auto sim = std::make_unique<test::SimProcess>(rig_->link, options);
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, *sim));
    const QString program =
        rig_->Write(QStringLiteral("p.bas"), CountingProgram(hangUpAfter ? 3000 : 1000000));
    const QString target = rig_->dir.filePath(QStringLiteral("lauf.txt"));
    if (transfer == QLatin1String("download")) {
        app.window.Transfers().DownloadProg(program.toStdString());
    } else if (transfer == QLatin1String("readout")) {
        app.dialogs.answers = {BoxAnswer::No};
        app.window.Transfers().DownloadProg(program.toStdString());
        app.dialogs.boxes.clear();
        app.dialogs.files = {target.toStdString()};
        Readout(app)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(FileBytes(target).endsWith("NEXT I\r\n\r\nREADY\r"), 5000);
        QTest::keyClick(app.window.windowHandle(), Qt::Key_F2); // RUN
        if (!hangUpAfter) {
            QTRY_VERIFY_WITH_TIMEOUT(FileBytes(target).contains("\r\nZ 1000 \r\n"), 10000);
            sim->hangUp();
        }
    } else {
        QString lines;
        for (int i = 1; i <= 100; ++i)
            lines += QStringLiteral("%1 A=%1\r\n").arg(i);
        QApplication::clipboard()->setText(lines);
        QTest::keyClick(app.window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
    }
    auto *status = app.child<StatusPanel>("Status");
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 not active"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(app.dialogs.boxes.size(), std::size_t(1), 5000);
    QCOMPARE(FromCp1252(app.dialogs.boxes[0].text), box.replace(QLatin1String("%1"), target));
    QVERIFY(!app.window.Transfers().Busy());
    QVERIFY(!Readout(app)->isChecked());
    QVERIFY(!app.window.Terminal().Receive().ReadoutActive());
    QVERIFY(app.window.Terminal().Receive().LcdFeedEnabled());
    QVERIFY(app.child<QLabel>("Meldung")->text().contains(QStringLiteral("warte auf das Gerät")));
    QVERIFY(!HeldOpen(program));
    if (transfer == QLatin1String("readout")) {
        QVERIFY(!HeldOpen(target));
        // Everything up to the loss, each line once and in order.
        const QByteArray file = FileBytes(target);
        const QList<int> numbers = CountedLines(file);
        QVERIFY(numbers.size() >= 1000);
        for (int i = 0; i + 1 < numbers.size(); ++i)
            QCOMPARE(numbers[i], i + 1);
        // The controller may have gone in the middle of the last line.
        QVERIFY(QByteArray::number(numbers.size()).startsWith(QByteArray::number(numbers.back())));
        if (hangUpAfter) {
            QCOMPARE(numbers.size(), 3000);
            QVERIFY(file.endsWith("Z 3000 \r\n\r\nREADY\r\n"));
        }
    }

    // The controller comes back: the port reopens and a download goes through.
    sim.reset();
    test::SimProcess again(rig_->link,
                           {"--busy-scale", "0", "--signon-delay", "0", "--log", rig_->log});
    QVERIFY(again.running());
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"), 5000);
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("kurz.bas"), "10 A=1\r\n").toStdString());
    QTRY_VERIFY_WITH_TIMEOUT(rig_->Log().endsWith("New\r10 A=1\r"), 5000);
}

void TstFaults::garbageSettingsFile() {
    QByteArray ini;
    QRandomGenerator random(20240611);
    for (int i = 0; i < 4096; ++i)
        ini += char(random.bounded(256));
    ini += "\n[Settings\n[]\n=\n[Settings]\n";
    ini += "MainLeft=@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff\\xffgarbage)\nMainTop=@Rect(1 2 3 4)\n";
    ini += "MainWidth=2000000000\nMainHeight=2000000000\nMyDir=\x01\x02\xff/nirgends\n";
    ini += "[FTaste5]\nFTast(4).ToolTipText=" + QByteArray(1 << 13, 'X') + "\n";
    ini += "[FTaste6]\nFTast(5).ToolTipText=@ByteArray(" + QByteArray("\xff\0", 2) + ")\n";
    ini += "[Einstellungen]\nEinstellungen=@Size(99999999999 -1)\n";
    ini += "COM-Anschlu%DF=99999999999999999999\nHandshaking=-7\n";
    ini += "Echo=" + QByteArray(1 << 13, '\x80') + "\n";
    QDir().mkpath(QFileInfo(rig_->settings.iniPath()).path());
    QVERIFY(test::WriteFileBytes(rig_->settings.iniPath(), ini));
    const QString cwd = QDir::currentPath();
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));

    // Unreadable values are defaults; a size beyond the screens is cut to them.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(app.window.width() <= screen.width() && app.window.height() <= screen.height());
    QCOMPARE(QDir::currentPath(), cwd);
    QCOMPARE(app.child<StatusPanel>("Status")->text(),
             QStringLiteral("COM 1,9600,N,8,1 not active"));
    for (const auto &box : app.dialogs.boxes) // the stored port values that were refused
        QVERIFY2(box.text.starts_with("Ung\xfcltig"), box.text.c_str());
    QVERIFY(app.window.CloseRequest());
    // What the window stored over the damage reads back.
    QCOMPARE(app.settings.Get(kAppTitle, "Settings", "MainWidth", ""),
             std::to_string(app.window.GeometryInTwips().width));
}

void TstFaults::navigatorFolderGoneAfterListing_data() {
    QTest::addColumn<QString>("change"); // what becomes of a listed folder before it is chosen
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("parentShown"); // else the folder that was shown
    QTest::newRow("sub-folder removed") << "remove"
                                        << "Es ist nicht mehr vorhanden." << false;
    QTest::newRow("sub-folder replaced by a file") << "file"
                                                   << "Es ist kein Verzeichnis." << false;
    QTest::newRow("the shown folder itself removed") << "shown"
                                                     << "Es ist nicht mehr vorhanden." << true;
}

void TstFaults::navigatorFolderGoneAfterListing() {
    QFETCH(QString, change);
    QFETCH(QString, reason);
    QFETCH(bool, parentShown);
    const QString cwd = QDir::currentPath();
    QTemporaryDir top;
    const QString shown = QDir(top.path()).filePath(QStringLiteral("prog"));
    const QString sub = QDir(shown).filePath(QStringLiteral("alt"));
    QVERIFY(QDir().mkpath(sub));
    QVERIFY(test::WriteFileBytes(QDir(shown).filePath(QStringLiteral("P.BAS")), "10 END\r\n"));
    AppUnderTest app;
    app.window.Startup();
    auto *navigator = app.window.findChild<NavigatorPane *>(QStringLiteral("picLeft"));
    QVERIFY(navigator->changeDirectory(shown));
    QListWidget *dirs = navigator->directoryList();
    const auto entry = [&](const QString &path) -> QListWidgetItem * {
        for (int i = 0; i < dirs->count(); ++i)
            if (dirs->item(i)->data(Qt::UserRole).toString() == QDir::toNativeSeparators(path))
                return dirs->item(i);
        return nullptr;
    };
    const QString chosen = change == QLatin1String("shown") ? shown : sub;
    QVERIFY(QDir(chosen).removeRecursively());
    if (change == QLatin1String("file"))
        QVERIFY(test::WriteFileBytes(sub, "kein Verzeichnis"));
    dirs->setCurrentItem(entry(chosen));
    dirs->setFocus();

    QTest::keyClick(dirs, Qt::Key_Return);

    const QString now = QDir::currentPath();
    QDir::setCurrent(cwd);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(FromCp1252(app.dialogs.boxes[0].text),
             QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden.\r%2")
                 .arg(QDir::toNativeSeparators(chosen), reason));
    // The lists show what is there now; the working folder is one that exists.
    const QString expected = QDir::toNativeSeparators(parentShown ? top.path() : shown);
    QCOMPARE(navigator->currentPath(), expected);
    QCOMPARE(QDir::toNativeSeparators(now), expected);
    QVERIFY(!entry(chosen));
    QCOMPARE(navigator->fileList()->count(), parentShown ? 0 : 1);
}

void TstFaults::sourceThatIsNoProgram_data() {
    QTest::addColumn<QString>("use");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("box"); // the one box; %1 names the source
    QByteArray binary;
    QRandomGenerator random(7);
    for (int i = 0; i < 65536; ++i)
        binary += char(random.bounded(256));
    const QByteArray longLine = "10 PRINT \"" + QByteArray(10 << 20, 'A') + "\"\r\n20 GOTO 10\r\n";
    const QString isBinary =
        QStringLiteral("Die Datei %1 enthält Binärdaten (Nullbytes) und ist kein BASIC-Programm.");
    const QString isLong = QStringLiteral(
        "Die Datei %1 ist kein BASIC-Programm: Zeile 1 ist länger als 4096 Zeichen.");
    for (const char *use : {"REMKILL", "DENUMBER", "VARLIST", "download"}) {
        QTest::addRow("%s, binary data", use) << use << binary << isBinary;
        QTest::addRow("%s, a 10 MB line", use) << use << longLine << isLong;
    }
    // The editor has limits of its own.
    QTest::newRow("editor, binary data")
        << "editor" << binary
        << QStringLiteral("Datei kann nicht geöffnet werden: %1\rDie Datei enthält Binärdaten "
                          "(Nullbytes).");
    QTest::newRow("editor, a 10 MB line")
        << "editor" << longLine
        << QStringLiteral("Datei kann nicht geöffnet werden: %1\rDie Datei ist größer als 8 MB.");
    QTest::newRow("paste, a 10 MB line")
        << "paste" << longLine
        << QStringLiteral("Der Text in der Zwischenablage ist kein BASIC-Programm: Zeile 1 ist "
                          "länger als 4096 Zeichen.");
}

void TstFaults::sourceThatIsNoProgram() {
    QFETCH(QString, use);
    QFETCH(QByteArray, source);
    QFETCH(QString, box);
    const QString cwd = QDir::currentPath();
    const QString path = rig_->Write(QStringLiteral("QUELLE.BAS"), source);
    AppUnderTest app;
    std::unique_ptr<test::SimProcess> sim;
    QString target; // what a tool would have written
    if (use == QLatin1String("download") || use == QLatin1String("paste")) {
        sim = std::make_unique<test::SimProcess>(
            rig_->link,
            QStringList{"--busy-scale", "0", "--signon-delay", "0", "--log", rig_->log});
        QVERIFY(test::StartAgainst(app, *sim));
        if (use == QLatin1String("download")) {
            app.window.Transfers().DownloadProg(path.toStdString());
        } else {
            QApplication::clipboard()->setText(QString::fromLatin1(source));
            app.window.Transfers().SendClipboardLines();
        }
    } else if (use == QLatin1String("editor")) {
        app.window.Startup();
        app.dialogs.files = {path.toStdString()};
        app.window.findChild<QAction *>(QStringLiteral("btnOpen"))->trigger();
        QVERIFY(app.child<QPlainTextEdit>("txtEdit")->toPlainText().isEmpty());
        QVERIFY(!app.window.EditorModified());
    } else {
        app.window.Startup();
        auto *navigator = app.window.findChild<NavigatorPane *>(QStringLiteral("picLeft"));
        QVERIFY(navigator->changeDirectory(rig_->dir.path()));
        navigator->fileList()
            ->findItems(QStringLiteral("QUELLE.BAS"), Qt::MatchExactly)
            .first()
            ->setSelected(true);
        FrmRemkill &tools = app.window.ToolsDialog();
        tools.Activate(*ModeFromWord(use.toStdString()));
        tools.show();
        tools.findChild<QPushButton *>(QStringLiteral("Start"))->click();
        target = tools.findChild<QLineEdit *>(QStringLiteral("Ziel"))->text();
    }
    QDir::setCurrent(cwd);

    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(FromCp1252(app.dialogs.boxes[0].text),
             box.replace(QLatin1String("%1"), QDir::toNativeSeparators(path)));
    QCOMPARE(FileBytes(path), source);
    if (!target.isEmpty())
        QVERIFY(!QFile::exists(target));
    if (sim) // nothing went out, not even the opening that erases the controller's program
        QVERIFY(!rig_->Log().contains("New") && !rig_->Log().contains("PRINT"));
}

QTEST_MAIN(TstFaults)
#include "tst_faults.moc"
