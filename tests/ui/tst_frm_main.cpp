// The main window's start-up, close request and status line, with real
// settings files and the simulated controller on a real pty.
#include "app/cp1252_codec.h"
#include "app/status_panel.h"
#include "app/terminal_page.h"
#include "core/number_text.h"
#include "core/twips.h"
#include "support/qt_support.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

namespace {

std::string Stored(const char *section, const char *key) {
    return QSettingsStore().Get(kAppTitle, section, key, "<missing>");
}

void Store(const char *section, const char *key, const std::string &value) {
    QSettingsStore().Save(kAppTitle, section, key, value);
}

} // namespace

class TstFrmMain : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartWithAnEmptyStore();
    void menuBarHasEveryItemAndShortcut_data();
    void menuBarHasEveryItemAndShortcut();
    void windowsCarryTheirNames_data();
    void windowsCarryTheirNames();
    void geometryRoundTripsInTwips();
    void maximisedStoresNothing();
    void unreadableGeometryValuesAreSkipped();
    void lostWindowPositionIsBroughtBack();
    void panesFollowTheWindowSize_data();
    void panesFollowTheWindowSize();
    void workingDirectory_data();
    void workingDirectory();
    void storedFunctionKeyTexts();
    void closeRequestWithChangedText_data();
    void closeRequestWithChangedText();
    void exitCommandsClose_data();
    void exitCommandsClose();
    void statusLineFollowsThePort();
    void hangUpShowsNotActiveAndReconnects();

private:
    test::TempSettings *settings_ = nullptr;
    QTemporaryDir dir_;
    QString savedCwd_;
    QString link_;
};

void TstFrmMain::init() {
    settings_ = new test::TempSettings;
    savedCwd_ = QDir::currentPath();
    static int count = 0;
    link_ = dir_.filePath(QStringLiteral("velnor-%1").arg(++count));
    // COM1 means a device that does not exist unless a test starts a simulator.
    test::MapCom1(link_);
}

void TstFrmMain::cleanup() {
    QDir::setCurrent(savedCwd_);
    delete settings_;
}

void TstFrmMain::firstStartWithAnEmptyStore() {
    AppUnderTest app;
    app.window.Startup();
    QCOMPARE(app.window.windowTitle(), QStringLiteral("KAVOLT Quandel"));
    const auto g = app.window.GeometryInTwips();
    QCOMPARE(g.left, 0);
    QCOMPARE(g.top, 0);
    QCOMPARE(g.width, 11250);
    QCOMPARE(g.height, 7005); // 7000 twips are 466.67 pixels at 96 dpi
    for (int i = 4; i < 8; ++i) {
        auto *key = app.child<QPushButton>(qPrintable(QStringLiteral("FTast%1").arg(i)));
        QCOMPARE(key->text(), QStringLiteral("Belegung d"));
        QCOMPARE(app.window.TerminalPageWidget().functionKeyText(i),
                 QStringLiteral("Belegung der Funktionstaste"));
        QCOMPARE(key->toolTip(), PlainTextToolTip(QStringLiteral("Belegung der Funktionstaste")));
    }
    const char *fixed[] = {"LIST", "RUN", "CONT", "PH0. "};
    for (int i = 0; i < 4; ++i) {
        auto *key = app.child<QPushButton>(qPrintable(QStringLiteral("FTast%1").arg(i)));
        QCOMPARE(key->text(), QString::fromLatin1(fixed[i]));
        QCOMPARE(key->toolTip(), QStringLiteral("Schnelltaste"));
        QCOMPARE(app.child<QLabel>(qPrintable(QStringLiteral("lblFTast%1").arg(i)))->text(),
                 QStringLiteral("F%1").arg(i + 1));
    }
    QCOMPARE(QDir::currentPath(), QDir::homePath()); // "C:\" does not exist here
    const QString lcd = app.child<QPlainTextEdit>("txtLCD")->toPlainText();
    QVERIFY(lcd.startsWith(QStringLiteral("Display Emulation\n")));
    QCOMPARE(app.child<QPlainTextEdit>("rtbTerm")->toPlainText(),
             QStringLiteral("Terminal Window"));
    QVERIFY(app.child<QRadioButton>("optDarstellung1")->isChecked());
    QCOMPARE(app.child<QRadioButton>("optDarstellung0")->text(), QStringLiteral("ASCII"));
    auto *tabs = app.child<QTabWidget>("sstMain");
    QCOMPARE(tabs->tabText(0), QStringLiteral("Terminal"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Editor"));

    auto *status = app.child<StatusPanel>("Status");
    QCOMPARE(status->text(), QStringLiteral("COM 1,9600,N,8,1 not active"));
    QCOMPARE(status->pictureName(), QStringLiteral("imgNotConnected"));
    QCOMPARE(status->toolTip(), QStringLiteral("Einstellungen des Kommunikationsanschlusses"));
    QCOMPARE(app.child<QLabel>("Meldung")->toolTip(),
             QStringLiteral("Meldungen und Erläuterungen"));
    QCOMPARE(app.child<QLabel>("ConnectTime")->toolTip(), QStringLiteral("Dauer der Verbindung"));
    QCOMPARE(app.child<QLabel>("RealTime")->text(), QStringLiteral("Zeit"));
    QVERIFY(app.dialogs.boxes.empty()); // the missing port is not reported
    QTRY_VERIFY_WITH_TIMEOUT(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                                 .match(app.child<QLabel>("RealTime")->text())
                                 .hasMatch(),
                             3000);
    QTRY_COMPARE_WITH_TIMEOUT(app.child<QLabel>("ConnectTime")->text(), QStringLiteral("00:00:01 "),
                              3000);
    QCOMPARE(app.child<QWidget>("txtLCD")->accessibleDescription(), QStringLiteral("txtLCD"));
}

void TstFrmMain::menuBarHasEveryItemAndShortcut_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    const auto row = [](const char *name, const QString &text, QKeySequence key = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << key;
    };
    row("mnuFileLoad", QStringLiteral("Programm laden"), QKeySequence(Qt::CTRL | Qt::Key_L));
    row("mnuFileLoadChanges", QStringLiteral("Änderungen laden"));
    row("mnuFileSave", QStringLiteral("Daten auslesen und speichern"),
        QKeySequence(Qt::CTRL | Qt::Key_S));
    row("mnuFileCompare", QStringLiteral("Programm vergleichen"));
    row("mnuFileSessionLog", QStringLiteral("Sitzungsprotokoll"));
    row("mnuFileLogOpen", QStringLiteral("Log-Datei öffnen"));
    row("mnuFileParamLoad", QStringLiteral("Parameterdatei laden"));
    row("mnuFileParamSave", QStringLiteral("Parameterdatei speichern"));
    row("mnuFileParamSaveAs", QStringLiteral("Parameterdatei speichern unter"));
    row("mnuFileEepromRead", QStringLiteral("EEPROM lesen"));
    row("mnuFileEepromSave", QStringLiteral("EEPROM speichern"));
    row("mnuFileExit", QStringLiteral("Ende"));
    row("mnuAscii", QStringLiteral("&ASCII-Tabelle"));
    row("mnuToolsRemkill", QStringLiteral("Remkill"), QKeySequence(Qt::CTRL | Qt::Key_R));
    row("mnuToolsDenumber", QStringLiteral("Denumber"), QKeySequence(Qt::CTRL | Qt::Key_D));
    row("mnuToolsVarlist", QStringLiteral("Variablenliste"), QKeySequence(Qt::CTRL | Qt::Key_G));
    row("mnuComOpen", QStringLiteral("Com öffnen"), QKeySequence(Qt::Key_F11));
    row("mnuComClose", QStringLiteral("Com Schließen"), QKeySequence(Qt::SHIFT | Qt::Key_F11));
    row("mnuProperties", QStringLiteral("&Einstellungen"), QKeySequence(Qt::Key_F9));
    row("mnuHelpBasic", QStringLiteral("BASIC-Manual"));
    row("mnuHelpAbout", QStringLiteral("Version"));
    row("mnuHelpInfo", QStringLiteral("Info"));
    row("mnuSpacer", QString(16, QLatin1Char(' ')));
    row("mnuEnd", QStringLiteral("&Ende"));
}

void TstFrmMain::menuBarHasEveryItemAndShortcut() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    AppUnderTest app;
    auto *action = app.window.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), shortcut);
    if (name == QLatin1String("mnuFileSave"))
        QVERIFY(action->isCheckable());
}

void TstFrmMain::windowsCarryTheirNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("command"); // the menu item that brings it up, if any
    QTest::newRow("frmMain") << "frmMain" << QString();
    QTest::newRow("frmProperties") << "frmProperties" << QString();
    QTest::newRow("frmRemkill") << "frmRemkill" << QString();
    QTest::newRow("frmAscii") << "frmAscii"
                              << "mnuAscii";
}

void TstFrmMain::windowsCarryTheirNames() {
    QFETCH(QString, name);
    QFETCH(QString, command);
    AppUnderTest app;
    app.window.ToolsDialog(); // made on first use
    if (!command.isEmpty())
        app.window.findChild<QAction *>(command)->trigger();
    QWidget *found =
        app.window.objectName() == name ? &app.window : app.window.findChild<QWidget *>(name);
    QVERIFY(found);
    QVERIFY(found->isWindow());
    if (!command.isEmpty())
        found->close();
}

void TstFrmMain::geometryRoundTripsInTwips() {
    Store("Settings", "MainLeft", "1500");
    Store("Settings", "MainTop", "900");
    Store("Settings", "MainWidth", "12000");
    Store("Settings", "MainHeight", "7500");
    {
        AppUnderTest app;
        app.window.Startup();
        app.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.window));
        app.window.close();
    }
    QCOMPARE(Stored("Settings", "MainLeft"), std::string("1500"));
    QCOMPARE(Stored("Settings", "MainTop"), std::string("900"));
    QCOMPARE(Stored("Settings", "MainWidth"), std::string("12000"));
    QCOMPARE(Stored("Settings", "MainHeight"), std::string("7500"));
}

void TstFrmMain::maximisedStoresNothing() {
    Store("Settings", "MainLeft", "300");
    {
        AppUnderTest app;
        app.window.Startup();
        app.window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&app.window));
        QVERIFY(app.window.CloseRequest());
    }
    QCOMPARE(Stored("Settings", "MainLeft"), std::string("300"));
    QCOMPARE(Stored("Settings", "MainWidth"), std::string("<missing>"));
    QCOMPARE(Stored("Settings", "MyDir"), std::string("<missing>"));
}

void TstFrmMain::unreadableGeometryValuesAreSkipped() {
    Store("Settings", "MainLeft", "links");
    Store("Settings", "MainTop", "450");
    Store("Settings", "MainWidth", "-5");
    Store("Settings", "MainHeight", "99999999999");
    AppUnderTest app;
    const QSize before = app.window.size();
    app.window.Startup();
    const auto g = app.window.GeometryInTwips();
    QCOMPARE(g.top, 450);
    QCOMPARE(app.window.size(), before); // neither a negative width nor an overflowing height
    QVERIFY(app.dialogs.boxes.empty());
}

void TstFrmMain::lostWindowPositionIsBroughtBack() {
    Store("Settings", "MainLeft", "900000"); // a monitor far to the right that is gone
    Store("Settings", "MainTop", "1500");
    AppUnderTest app;
    app.window.Startup();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(app.window.pos()));
}

void TstFrmMain::panesFollowTheWindowSize_data() {
    QTest::addColumn<int>("windowHeight"); // pixels at 96 dpi
    QTest::addColumn<bool>("tall");        // a tab control over 8000 twips
    QTest::newRow("tab control under 8000 twips") << 560 << false;
    QTest::newRow("tab control over 8000 twips") << 700 << true;
}

void TstFrmMain::panesFollowTheWindowSize() {
    QFETCH(int, windowHeight);
    QFETCH(bool, tall);
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    app.window.resize(app.window.width(), windowHeight);
    auto *tabs = app.child<QTabWidget>("sstMain");
    auto *term = app.child<QWidget>("rtbTerm");
    auto *keys = app.child<QWidget>("frFTast");
    QTRY_COMPARE(app.window.height(), windowHeight);
    const int tabTwips = PixelsToTwips(tabs->height(), 96);
    QCOMPARE(tabTwips > 8000, tall);
    const auto near = [](int a, int b) {
        return std::abs(a - b) <= 1;
    };

    // Below the limit the terminal pane keeps its height from the start.
    const int termHeight = TwipsToPixels(tall ? tabTwips - 4500 : 1935, 96);
    // (The page lays itself out in a pass of its own.)
    QTRY_VERIFY2(near(term->height(), termHeight), qPrintable(QString::number(term->height())));
    QVERIFY(near(term->width(), TwipsToPixels(PixelsToTwips(tabs->width(), 96) - 300, 96)));
    // The function keys stay whole under it.
    QVERIFY(keys->y() > term->geometry().bottom());
    QVERIFY(keys->geometry().bottom() < app.window.TerminalPageWidget().height());

    tabs->setCurrentIndex(1);
    auto *edit = app.child<QWidget>("txtEdit");
    QTRY_VERIFY(edit->isVisible());
    QVERIFY(near(edit->width(), term->width()));
    QVERIFY(edit->height() <= TwipsToPixels(PixelsToTwips(tabs->height(), 96) - 600, 96) -
                                  app.child<QWidget>("tbrEditor")->height() + 1);
}

void TstFrmMain::workingDirectory_data() {
    QTest::addColumn<QString>("stored");   // "<none>": nothing stored
    QTest::addColumn<QString>("expected"); // "<unchanged>", "<home>" or a path
    QTest::newRow("nothing stored") << "<none>"
                                    << "<home>";
    QTest::newRow("empty leaves the directory alone") << ""
                                                      << "<unchanged>";
    QTest::newRow("existing folder") << "<temp>"
                                     << "<temp>";
    QTest::newRow("folder that is gone") << "/no/such/folder/here"
                                         << "<unchanged>";
}

void TstFrmMain::workingDirectory() {
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    const QString temp = QDir(dir_.path()).canonicalPath();
    if (stored == QLatin1String("<temp>"))
        stored = temp;
    if (stored != QLatin1String("<none>"))
        Store("Settings", "MyDir", ToCp1252(stored));
    const QString before = QDir::currentPath();
    AppUnderTest app;
    app.window.Startup();
    const QString want = expected == QLatin1String("<unchanged>") ? before
                         : expected == QLatin1String("<home>")    ? QDir::homePath()
                                                                  : temp;
    QCOMPARE(QDir::currentPath(), want);
    QVERIFY(app.window.CloseRequest());
    QCOMPARE(Stored("Settings", "MyDir"), ToCp1252(QDir::toNativeSeparators(want)));
}

void TstFrmMain::storedFunctionKeyTexts() {
    Store("FTaste6", "FTast(5).ToolTipText", Cp1252("PRINT \"Größe\" & A"));
    AppUnderTest app;
    app.window.Startup();
    auto *f6 = app.child<QPushButton>("FTast5");
    QCOMPARE(app.window.TerminalPageWidget().functionKeyText(5),
             QStringLiteral("PRINT \"Größe\" & A"));
    QCOMPARE(f6->toolTip(), PlainTextToolTip(QStringLiteral("PRINT \"Größe\" & A")));
    QCOMPARE(f6->text(), QStringLiteral("PRINT \"Grö"));
    QCOMPARE(app.child<QPushButton>("FTast4")->text(), QStringLiteral("Belegung d"));
}

void TstFrmMain::closeRequestWithChangedText_data() {
    QTest::addColumn<int>("answer");         // BoxAnswer
    QTest::addColumn<QString>("saveDialog"); // "" = cancelled, else a file name in the temp dir
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("fileWritten");
    QTest::newRow("cancel keeps the window") << int(BoxAnswer::Cancel) << "" << false << false;
    QTest::newRow("no closes without saving") << int(BoxAnswer::No) << "" << true << false;
    QTest::newRow("yes saves under the chosen name")
        << int(BoxAnswer::Yes) << "prog.bas" << true << true;
    QTest::newRow("yes but the save dialog cancelled keeps the window")
        << int(BoxAnswer::Yes) << "" << false << false;
}

void TstFrmMain::closeRequestWithChangedText() {
    QFETCH(int, answer);
    QFETCH(QString, saveDialog);
    QFETCH(bool, closes);
    QFETCH(bool, fileWritten);
    const QString target =
        dir_.filePath(saveDialog.isEmpty() ? QStringLiteral("none") : saveDialog);
    QFile::remove(target);

    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    app.child<QPlainTextEdit>("txtEdit")->setPlainText(QStringLiteral("10 PRINT \"Ä\"\n20 END"));
    QVERIFY(app.window.EditorModified());
    app.dialogs.answers.push_back(BoxAnswer(answer));
    app.dialogs.files.push_back(saveDialog.isEmpty() ? std::nullopt
                                                     : std::optional(target.toStdString()));
    app.window.close();

    QCOMPARE(app.window.isVisible(), !closes);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    const auto &box = app.dialogs.boxes[0];
    QCOMPARE(box.text,
             Cp1252("Der Text in [KAVOLT Quandel] wurde geändert.\n\rÄnderungen speichern?"));
    QCOMPARE(box.title, std::string("Quandel"));
    QCOMPARE(box.icon, BoxIcon::Exclamation);
    QCOMPARE(box.buttons, BoxButtons::YesNoCancel);
    if (answer == int(BoxAnswer::Yes)) {
        QCOMPARE(app.dialogs.fileDialogs.size(), std::size_t(1));
        QCOMPARE(app.dialogs.fileDialogs[0].fileName, std::string("Unbenannt.txt"));
    }
    QCOMPARE(QFile::exists(target), fileWritten);
    if (fileWritten) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("10 PRINT \"\xC4\"\r\n20 END\r\n"));
    }
    // The geometry is stored even when the close was cancelled.
    QCOMPARE(Stored("Settings", "MainWidth"), std::string("11250"));
}

void TstFrmMain::exitCommandsClose_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer"); // to the save prompt; -1: text unchanged, no prompt
    QTest::addColumn<bool>("closes");
    QTest::newRow("Datei/Ende") << "mnuFileExit" << -1 << true;
    QTest::newRow("top-level Ende") << "mnuEnd" << -1 << true;
    QTest::newRow("Ende, changed text, No") << "mnuEnd" << int(BoxAnswer::No) << true;
    QTest::newRow("Ende, changed text, Cancel keeps the work")
        << "mnuEnd" << int(BoxAnswer::Cancel) << false;
}

void TstFrmMain::exitCommandsClose() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    if (answer >= 0) {
        app.child<QPlainTextEdit>("txtEdit")->setPlainText(QStringLiteral("10 REM"));
        app.dialogs.answers.push_back(BoxAnswer(answer));
    }
    app.window.findChild<QAction *>(command)->trigger();
    QCOMPARE(app.window.isVisible(), !closes);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(answer >= 0 ? 1 : 0));
}

void TstFrmMain::statusLineFollowsThePort() {
    test::SimProcess sim(link_, {QStringLiteral("--busy-scale"), QStringLiteral("0")});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    auto *status = app.child<StatusPanel>("Status");
    QCOMPARE(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"));
    QCOMPARE(status->pictureName(), QStringLiteral("imgConnected"));
    // The controller's sign-on reaches the terminal pane.
    QTRY_VERIFY_WITH_TIMEOUT(
        app.child<QPlainTextEdit>("rtbTerm")->toPlainText().contains(QStringLiteral("READY")),
        5000);

    QTest::mouseClick(status, Qt::LeftButton);
    QCOMPARE(status->text(), QStringLiteral("COM 1,9600,N,8,1 not active"));
    QCOMPARE(status->pictureName(), QStringLiteral("imgNotConnected"));
    QCOMPARE(app.child<QLabel>("ConnectTime")->text(), QString());
    QTest::mouseClick(app.child<QWidget>("Meldung"), Qt::LeftButton);
    QTest::mouseClick(app.child<QWidget>("RealTime"), Qt::LeftButton);
    QVERIFY(!app.port.PortOpen()); // other panels do nothing
    QTest::mouseClick(status, Qt::LeftButton);
    QCOMPARE(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"));

    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11, Qt::ShiftModifier);
    QVERIFY(!app.port.PortOpen());
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11);
    QVERIFY(app.port.PortOpen());
    QCOMPARE(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"));
    QVERIFY(app.dialogs.boxes.empty());
}

void TstFrmMain::hangUpShowsNotActiveAndReconnects() {
    AppUnderTest app;
    {
        test::SimProcess sim(link_);
        QVERIFY(sim.running());
        app.window.Startup();
        QVERIFY(app.port.PortOpen());
        sim.hangUp();
        auto *status = app.child<StatusPanel>("Status");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 not active"),
                                  5000);
        QCOMPARE(status->pictureName(), QStringLiteral("imgNotConnected"));
        QVERIFY(app.dialogs.boxes.empty());
        const double before = test::ProcessCpuSeconds();
        QTest::qWait(1000);
        const double used = test::ProcessCpuSeconds() - before;
        QVERIFY2(used < 0.3, qPrintable(QStringLiteral("CPU seconds while lost: %1").arg(used)));
    }
    test::SimProcess again(link_, {QStringLiteral("--busy-scale"), QStringLiteral("0")});
    QVERIFY(again.running());
    auto *status = app.child<StatusPanel>("Status");
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"), 5000);
    QCOMPARE(status->pictureName(), QStringLiteral("imgConnected"));
    QVERIFY(app.child<QLabel>("Meldung")->text().contains(QStringLiteral("wiederhergestellt")));
    QTRY_VERIFY_WITH_TIMEOUT(
        app.child<QPlainTextEdit>("rtbTerm")->toPlainText().contains(QStringLiteral("READY")),
        5000);

    // Closed by the user: no reconnect, even though the device is there.
    QTest::mouseClick(status, Qt::LeftButton);
    QTest::qWait(1200);
    QVERIFY(!app.port.PortOpen());
}

QTEST_MAIN(TstFrmMain)
#include "tst_frm_main.moc"
