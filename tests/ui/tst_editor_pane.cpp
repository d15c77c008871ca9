// The editor pane with real files, the navigator on a real folder and a
// splitter dragged with the mouse.
#include "app/cp1252_codec.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "editor/editor_pane.h"
#include "editor/navigator_pane.h"
#include "editor/splitter_bar.h"
#include "support/qt_support.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QtTest>

using namespace quandel;

namespace {

std::string Cp(const QString &path) {
    return ToCp1252(QDir::toNativeSeparators(path));
}

QByteArray AllBytesButNulAndLineEnds() {
    QByteArray b;
    for (int i = 1; i < 256; ++i)
        if (i != '\r' && i != '\n')
            b.append(char(i));
    return b;
}

void SendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TstEditorPane : public QObject {
    Q_OBJECT
private slots:
    void init() { savedCwd_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(savedCwd_); }
    void editorFiles_data();
    void editorFiles();
    void navigatorChoosesAFile_data();
    void navigatorChoosesAFile();
    void splitterDragMovesThePanes();

private:
    QString savedCwd_;
};

void TstEditorPane::editorFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("modified");

    const QByteArray crlf = "10 PRINT \"HI\"\r\n20 GOTO 10\r\n";
    const QByteArray bytes = AllBytesButNulAndLineEnds() + "\r\n" + AllBytesButNulAndLineEnds();
    QTest::newRow("empty file") << "leer.bas" << QByteArray() << "open" << QByteArray() << ""
                                << false;
    QTest::newRow("CR LF file saved again") << "prog.bas" << crlf << "open save" << crlf + "\r\n"
                                            << "" << false;
    QTest::newRow("bytes 1 to 255 round-trip")
        << "bytes.txt" << bytes << "open save" << bytes + "\r\n"
        << "" << false;
    QTest::newRow("small letters and umlaut in the name")
        << "prüfung.bas" << QByteArray("10 REM\r\n") << "open save" << QByteArray("10 REM\r\n\r\n")
        << "" << false;
    QTest::newRow("binary file refused")
        << "bin.bas" << QByteArray("AB\0CD", 5) << "open" << QByteArray("AB\0CD", 5)
        << "enthält Binärdaten" << false;
    QTest::newRow("unmappable character refused with its line")
        << "prog.bas" << crlf << "open unmappable save" << crlf
        << "Der Text wurde nicht gespeichert: Zeile 2 enthält" << true;
    QTest::newRow("btnNew on an opened file")
        << "prog.bas" << crlf << "open new" << crlf << "" << true;
    QTest::newRow("btnNew on an empty editor")
        << "" << QByteArray() << "new" << QByteArray() << "" << false;
    QTest::newRow("close of an unnamed text, save dialog cancelled")
        << "" << QByteArray() << "type close" << QByteArray()
        << "Der Text in [KAVOLT Quandel] wurde geändert.\n\rÄnderungen speichern?" << true;
}

void TstEditorPane::editorFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QString, action);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QString, box);
    QFETCH(bool, modified);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!name.isEmpty())
        QVERIFY(test::WriteFileBytes(path, file));
    test::ScriptedDialogs dialogs;
    FileDialogState openLog;
    SharedFlags flags;
    EditorPane pane(dialogs, openLog, flags);
    QString caption = QStringLiteral("KAVOLT Quandel");
    connect(&pane, &EditorPane::captionChanged, [&](const QString &c) { caption = c; });
    const auto click = [&](const char *key) {
        pane.findChild<QAction *>(QString::fromLatin1(key))->trigger();
    };
    QPlainTextEdit *text = pane.textPane();

    for (const QString &step : action.split(QLatin1Char(' '))) {
        if (step == QLatin1String("open")) {
            dialogs.files.push_back(Cp(path));
            click("btnOpen");
        } else if (step == QLatin1String("save")) {
            click("btnSave");
        } else if (step == QLatin1String("new")) {
            click("btnNew");
        } else if (step == QLatin1String("unmappable")) {
            QTextCursor c(text->document()->findBlockByNumber(1));
            c.insertText(QStringLiteral("Ω"));
        } else if (step == QLatin1String("type")) {
            text->insertPlainText(QStringLiteral("10 PRINT"));
        } else if (step == QLatin1String("close")) {
            dialogs.answers.push_back(BoxAnswer::Yes);
            dialogs.files.push_back(std::nullopt);
            QVERIFY(!pane.SaveBeforeClose()); // the text would be lost: the window stays
            QCOMPARE(dialogs.fileDialogs.back().fileName, std::string("Unbenannt.txt"));
        }
    }

    if (!name.isEmpty())
        QCOMPARE(test::FileBytes(path), fileAfter);
    if (box.isEmpty()) {
        QVERIFY2(dialogs.boxes.empty(), dialogs.boxes.empty() ? "" : dialogs.boxes[0].text.c_str());
    } else {
        QVERIFY(!dialogs.boxes.empty());
        QVERIFY2(FromCp1252(dialogs.boxes.back().text).contains(box),
                 qPrintable(FromCp1252(dialogs.boxes.back().text)));
    }
    QCOMPARE(pane.EditorModified(), modified);
    const bool opened = action.startsWith(QLatin1String("open")) && box.isEmpty();
    if (opened && !action.contains(QLatin1String("new")))
        QCOMPARE(caption, QStringLiteral("EDITOR - ") + QDir::toNativeSeparators(path).toUpper());
    else if (!action.contains(QLatin1String("unmappable")))
        QCOMPARE(caption, QStringLiteral("KAVOLT Quandel"));
    if (action == QLatin1String("open new"))
        QVERIFY(text->toPlainText().isEmpty());
}

void TstEditorPane::navigatorChoosesAFile_data() {
    QTest::addColumn<QString>("select");
    QTest::addColumn<bool>("terminalTab");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");

    QTest::newRow("double-click on the Terminal tab")
        << "prog.bas" << true << false << true << "Programm %1prog.bas laden?";
    QTest::newRow("Enter on the Editor tab")
        << "A.Z" << false << true << true << "Datei %1A.Z laden?";
    QTest::newRow("No loads nothing")
        << "x.mod" << true << false << false << "Programm %1x.mod laden?";
    QTest::newRow("no file selected is refused")
        << "" << true << false << true << "Bitte zuerst in der Dateiliste eine Datei auswählen.";
}

void TstEditorPane::navigatorChoosesAFile() {
    QFETCH(QString, select);
    QFETCH(bool, terminalTab);
    QFETCH(bool, byEnter);
    QFETCH(bool, yes);
    QFETCH(QString, question);

    QTemporaryDir dir;
    for (const char *name : {"prog.bas", "A.Z", "notes.TXT", "x.mod", "readme.md"})
        QVERIFY(test::WriteFileBytes(dir.filePath(QString::fromLatin1(name)), "10 END\r\n"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    NavigatorPane pane(dialogs, flags);
    pane.setTerminalTabQuery([&] { return terminalTab; });
    QSignalSpy chosen(&pane, &NavigatorPane::programChosen);
    QSignalSpy preview(&pane, &NavigatorPane::keyPreviewWanted);

    QVERIFY(pane.changeDirectory(dir.path()));
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    QCOMPARE(preview.first().first().toBool(), false);
    QStringList shown;
    for (int i = 0; i < pane.fileList()->count(); ++i)
        shown << pane.fileList()->item(i)->text();
    QCOMPARE(shown, QStringList({"A.Z", "notes.TXT", "prog.bas", "x.mod"}));

    if (!select.isEmpty())
        pane.fileList()->findItems(select, Qt::MatchExactly).first()->setSelected(true);
    flags.StopRequested = true;
    dialogs.answers.push_back(yes ? BoxAnswer::Yes : BoxAnswer::No);
    if (byEnter)
        QTest::keyClick(pane.fileList(), Qt::Key_Return);
    else
        pane.chooseFile();

    const QString folder = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    QCOMPARE(dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(FromCp1252(dialogs.boxes[0].text),
             question.contains(QLatin1String("%1")) ? question.arg(folder) : question);
    const bool loads = yes && !select.isEmpty();
    QCOMPARE(chosen.size(), loads ? 1 : 0);
    if (loads) {
        QCOMPARE(chosen.first().first().toString(), folder + select);
        QCOMPARE(pane.programFileName(), folder + select);
        QVERIFY(!flags.StopRequested);
    }
}

void TstEditorPane::splitterDragMovesThePanes() {
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    QMainWindow window;
    auto *central = new QWidget;
    window.setCentralWidget(central);
    window.statusBar()->showMessage(QStringLiteral("Status:"));
    auto *navigator = new NavigatorPane(dialogs, flags, central);
    auto *tabs = new QTabWidget(central);
    tabs->addTab(new QWidget, QStringLiteral("Terminal"));
    WindowLayoutHost host({&window, central, navigator, tabs, window.statusBar()});
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    host.StartupPlacement();

    const int before = navigator->width();
    SplitterHandle *handle = host.splitterHandle();
    QVERIFY(handle->isVisible());
    SendMouse(handle, QEvent::MouseButtonPress, {3, 40}, Qt::LeftButton);
    QVERIFY(host.splitterBar()->isVisible());
    SendMouse(handle, QEvent::MouseMove, {103, 40}, Qt::LeftButton);
    QVERIFY(std::abs(host.splitterBar()->x() - (handle->x() + 103)) <= 1);
    QCOMPARE(navigator->width(), before); // nothing moves before the release
    SendMouse(handle, QEvent::MouseButtonRelease, {103, 40}, Qt::NoButton);
    QVERIFY(!host.splitterBar()->isVisible());
    QVERIFY2(std::abs(navigator->width() - (handle->x() - 0)) <= 1, "handle follows the pane");
    QVERIFY(std::abs(navigator->width() - (before + 103)) <= 1);
    QVERIFY(std::abs(tabs->x() - navigator->width() - 5) <= 1); // 80 twips
    QVERIFY(std::abs(tabs->geometry().right() + 1 - central->width()) <= 1);
    QCOMPARE(navigator->fileList()->width(), navigator->directoryList()->width());

    // Dragged far to the left the pane keeps its least width of 1500 twips.
    SendMouse(handle, QEvent::MouseButtonPress, {3, 40}, Qt::LeftButton);
    SendMouse(handle, QEvent::MouseMove, {-2000, 40}, Qt::LeftButton);
    SendMouse(handle, QEvent::MouseButtonRelease, {-2000, 40}, Qt::NoButton);
    QVERIFY(std::abs(navigator->width() - 100) <= 1);

    // The horizontal splitter: the file list follows the directory list.
    SplitterHandle *quer = host.querHandle();
    const int dirBottom = navigator->directoryList()->geometry().bottom();
    SendMouse(quer, QEvent::MouseButtonPress, {10, 2}, Qt::LeftButton);
    SendMouse(quer, QEvent::MouseMove, {10, 62}, Qt::LeftButton);
    SendMouse(quer, QEvent::MouseButtonRelease, {10, 62}, Qt::NoButton);
    QVERIFY(navigator->directoryList()->geometry().bottom() > dirBottom + 30);
    QCOMPARE(quer->y(), navigator->directoryList()->geometry().bottom() + 1);
    QVERIFY(std::abs(navigator->fileList()->y() - (quer->geometry().bottom() + 1)) <= 1);
    QVERIFY(std::abs(navigator->fileList()->geometry().bottom() + 1 - navigator->height()) <= 1);
}

QTEST_MAIN(TstEditorPane)
#include "tst_editor_pane.moc"
