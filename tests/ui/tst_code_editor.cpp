// The editor's BASIC view in the real window: colours from the syntax
// rules, the line-number gutter and the cursor position in the status line.
#include "app/cp1252_codec.h"
#include "app/status_panel.h"
#include "app/transfer_controller.h"
#include "editor/basic_highlighter.h"
#include "editor/code_editor.h"
#include "editor/editor_pane.h"
#include "editor/findings_panel.h"
#include "support/qt_support.h"
#include "terminal/controller_error.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolBar>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

namespace {

// The kind whose format covers the character at `column` of `line`, or -1.
int KindAt(EditorPane &pane, int line, int column) {
    const QTextBlock block = pane.textPane()->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange &range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length)
            for (int kind = 0; kind <= int(SyntaxKind::Remark); ++kind)
                if (range.format == pane.highlighter()->FormatFor(SyntaxKind(kind)))
                    return kind;
    return -1;
}

} // namespace

class TstCodeEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { settings_ = new test::TempSettings; }
    void cleanup() { delete settings_; }
    void openedFileIsColouredAndStaysUnchanged();
    void gutterMakesRoomForTheLineNumbers();
    void cursorPositionShowsOnTheEditorTab();
    void findingsFollowTheTyping();
    void downloadFromTheEditor();
    void controllerErrorLeadsToTheLine();
    void controllerErrorWithoutAProgram();

private:
    test::TempSettings *settings_ = nullptr;
};

void TstCodeEditor::openedFileIsColouredAndStaysUnchanged() {
    AppUnderTest app;
    app.window.Startup();
    EditorPane *pane = app.window.findChild<EditorPane *>(QStringLiteral("Editor"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("F.BAS"));
    const QByteArray bytes = "10 PRINT \"IT'S\" ' x\n20 GOTO 10\r\n30 REM Ende\n";
    QVERIFY(test::WriteFileBytes(path, bytes));
    app.dialogs.files = {path.toStdString()};
    QVERIFY(pane->Document().OpenTextFile());
    QCOMPARE(pane->textPane()->blockCount(), 4);
    QVERIFY(!pane->EditorModified());
    const int none = -1;
    struct {
        int line, column, kind;
    } cells[] = {
        {0, 0, int(SyntaxKind::LineNumber)}, {0, 3, int(SyntaxKind::Keyword)},
        {0, 9, int(SyntaxKind::String)},     {0, 12, int(SyntaxKind::Comment)},
        {0, 18, int(SyntaxKind::Comment)},   {1, 3, int(SyntaxKind::Keyword)},
        {1, 8, int(SyntaxKind::Number)},     {1, 7, none},
        {2, 3, int(SyntaxKind::Remark)},
    };
    for (const auto &c : cells)
        QVERIFY2(KindAt(*pane, c.line, c.column) == c.kind,
                 qPrintable(QStringLiteral("line %1 column %2: %3")
                                .arg(c.line)
                                .arg(c.column)
                                .arg(KindAt(*pane, c.line, c.column))));
    // Colours are no change: nothing to save, the file as it was.
    QTest::qWait(50);
    QVERIFY(!pane->EditorModified());
    QTest::keyClick(pane->textPane(), Qt::Key_X);
    QVERIFY(pane->EditorModified());
}

void TstCodeEditor::gutterMakesRoomForTheLineNumbers() {
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    app.child<QTabWidget>("sstMain")->setCurrentIndex(1);
    auto *code = app.window.findChild<CodeEditor *>(QStringLiteral("txtEdit"));
    QWidget *gutter = code->Gutter();
    QCOMPARE(gutter->objectName(), QStringLiteral("picLineNumbers"));
    const int small = code->GutterWidth();
    QVERIFY(small >= code->fontMetrics().horizontalAdvance(QStringLiteral("999")));
    QString text;
    for (int i = 1; i <= 12000; ++i)
        text += QStringLiteral("%1 A=%1\n").arg(i * 10);
    code->setPlainText(text);
    QTRY_VERIFY(gutter->width() >= code->fontMetrics().horizontalAdvance(QStringLiteral("12001")));
    QVERIFY(code->GutterWidth() > small);
    // The text starts right of the gutter.
    QVERIFY(code->viewport()->geometry().left() >= gutter->geometry().right());
}

void TstCodeEditor::cursorPositionShowsOnTheEditorTab() {
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    auto *panel = app.child<StatusPanel>("EditorPosition");
    QVERIFY(panel);
    QVERIFY(!panel->isVisible()); // the Terminal tab
    auto *tabs = app.child<QTabWidget>("sstMain");
    tabs->setCurrentIndex(1);
    QVERIFY(panel->isVisible());
    auto *code = app.window.findChild<CodeEditor *>(QStringLiteral("txtEdit"));
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("10 A=1"));
    QTest::keyClick(code, Qt::Key_Return);
    QTest::keyClicks(code, QStringLiteral("20 B"));
    QCOMPARE(panel->text(), QStringLiteral("Zeile 2, Spalte 5"));
    QTest::keyClick(code, Qt::Key_Home);
    QCOMPARE(panel->text(), QStringLiteral("Zeile 2, Spalte 1"));
    tabs->setCurrentIndex(0);
    QVERIFY(!panel->isVisible());
}

void TstCodeEditor::findingsFollowTheTyping() {
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    app.child<QTabWidget>("sstMain")->setCurrentIndex(1);
    auto *code = app.window.findChild<CodeEditor *>(QStringLiteral("txtEdit"));
    auto *list = app.child<QListWidget>("lstHinweise");
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("10 GOTO 500"));
    QTest::keyClick(code, Qt::Key_Return);
    QTest::keyClicks(code, QStringLiteral("20 PRINT \"IT'S\""));
    QTRY_COMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Zeile 1: Sprungziel  500 nicht vorhanden."));
    QVERIFY(list->item(1)->text().startsWith(QStringLiteral("Zeile 2: '''")));
    // Both are underlined, besides the mark of the cursor's line.
    QCOMPARE(code->extraSelections().size(), 3);
    QCOMPARE(code->extraSelections().at(1).cursor.selectedText(), QStringLiteral("500"));
    // A click on an entry puts the cursor there.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(code->CursorLine(), 1);
    QCOMPARE(code->CursorColumn(), 9);
    QVERIFY(code->hasFocus());
    // Fixed, the findings go.
    QTest::keyClick(code, Qt::Key_End);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClicks(code, QStringLiteral("20"));
    code->moveCursor(QTextCursor::End);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClicks(code, QStringLiteral("HI\""));
    QTRY_COMPARE(list->count(), 0);
    QCOMPARE(code->extraSelections().size(), 1);
}

void TstCodeEditor::downloadFromTheEditor() {
    test::SimRig rig;
    test::SimProcess sim(rig.link,
                         {"--log", rig.log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString path = rig.Write(QStringLiteral("E.BAS"), "10 PRINT \"E\" ' x\n20 GOTO 10\n");
    auto *tabs = app.child<QTabWidget>("sstMain");
    tabs->setCurrentIndex(1);
    EditorPane *pane = app.window.findChild<EditorPane *>(QStringLiteral("Editor"));
    QVERIFY(pane->Document().OpenFile(path.toStdString()));
    auto *code = pane->codeEditor();
    code->moveCursor(QTextCursor::End);
    QTest::keyClicks(code, QStringLiteral("30 END"));
    QAction *download = pane->toolbar()->findChild<QAction *>(QStringLiteral("btnDownload"));
    QVERIFY(download);
    QCOMPARE(download->toolTip(), QStringLiteral("In den Controller laden"));
    app.dialogs.answers = {BoxAnswer::No}; // no EEPROM
    download->trigger();
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(rig.Log(),
             QByteArray("\r\rMTOP=7FFFH\rRAM\rNew\r10 PRINT \"E\"\r20 GOTO 10\r30 END\r"));
    QVERIFY(!pane->EditorModified());
    QVERIFY(test::FileBytes(path).contains("30 END"));
    // Unchanged, the file is sent as it is, without another save.
    const QByteArray saved = test::FileBytes(path);
    app.dialogs.answers = {BoxAnswer::No};
    download->trigger();
    QCOMPARE(test::FileBytes(path), saved);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(2));
}

void TstCodeEditor::controllerErrorLeadsToTheLine() {
    test::SimRig rig;
    test::SimProcess sim(rig.link, {"--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString path =
        rig.Write(QStringLiteral("F.BAS"), "' Fehler in 240\n10 A=1\n20 GOSUB 240\n30 END\n"
                                           "240 PRINT 1+*A\n250 RETURN\n");
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(path.toStdString());
    // Meanwhile the editor holds a text of its own, changed.
    EditorPane *pane = app.window.findChild<EditorPane *>(QStringLiteral("Editor"));
    pane->codeEditor()->setPlainText(QStringLiteral("10 REM anderes"));
    QVERIFY(pane->EditorModified());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1)); // the EEPROM question
    auto *term = app.child<QPlainTextEdit>("rtbTerm");
    QTRY_VERIFY(term->toPlainText().endsWith(QLatin1Char('>')));
    for (Qt::Key key : {Qt::Key_R, Qt::Key_U, Qt::Key_N})
        QTest::keyClick(app.window.windowHandle(), key, Qt::ShiftModifier);
    QTest::keyClick(app.window.windowHandle(), Qt::Key_Return);
    QTRY_VERIFY2_WITH_TIMEOUT(term->toPlainText().contains(QStringLiteral("IN LINE  240")),
                              qPrintable(term->toPlainText().right(300)), 5000);
    QTextCursor at = term->document()->find(QStringLiteral("ERROR: BAD SYNTAX"));
    QVERIFY(!at.isNull());
    term->setTextCursor(at);
    const QPoint point = term->cursorRect(at).center();
    app.dialogs.answers = {BoxAnswer::No}; // do not save the other text
    QTest::mouseDClick(term->viewport(), Qt::LeftButton, {}, point);
    QCOMPARE(app.child<QTabWidget>("sstMain")->currentIndex(), 1);
    QCOMPARE(FromCp1252(pane->Document().FileName()), path);
    QCOMPARE(pane->codeEditor()->CursorLine(), 5); // "240 PRINT 1+*A"
    auto *list = app.child<QListWidget>("lstHinweise");
    QVERIFY(list->count() >= 1);
    QCOMPARE(list->item(0)->text(),
             QStringLiteral("Zeile 5: Controller: BAD SYNTAX in BASIC-Zeile 240"));
}

void TstCodeEditor::controllerErrorWithoutAProgram() {
    AppUnderTest app;
    app.window.Startup();
    ControllerError error{"BAD SYNTAX", 240};
    app.window.OpenControllerError(error);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QVERIFY(app.dialogs.boxes[0].text.find("Fehlerzeile 240") != std::string::npos);
    QCOMPARE(app.child<QTabWidget>("sstMain")->currentIndex(), 0);
}

QTEST_MAIN(TstCodeEditor)
#include "tst_code_editor.moc"
