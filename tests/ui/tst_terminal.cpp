// The terminal tab with the simulated controller on a real pty: both panes
// show what the controller sends.
#include "app/terminal_controller.h"
#include "app/terminal_page.h"
#include "support/fakes.h"
#include "support/qt_support.h"
#include "terminal/terminal_text.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

class TstTerminal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete rig_; }
    void renderingOfReceivedText_data();
    void renderingOfReceivedText();
    void panesRefreshOncePerBatch_data();
    void panesRefreshOncePerBatch();
    void signOnReachesBothPanes();
    void codeDisplayClearAndFocus();
    void lcdPaneShowsNineLinesOf80Columns();
    void functionKeyTooltipsShowTheTextLiterally_data();
    void functionKeyTooltipsShowTheTextLiterally();
    void terminalPaneDrawsControlPictures();

private:
    test::SimRig *rig_ = nullptr;
};

void TstTerminal::init() {
    rig_ = new test::SimRig;
}

void TstTerminal::renderingOfReceivedText_data() {
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR LF is one break") << QByteArray("A\r\nB") << QByteArray() << "A\nB";
    QTest::newRow("CR LF split over two chunks")
        << QByteArray("A\r") << QByteArray("\nB") << "A\nB";
    QTest::newRow("lone CR and lone LF") << QByteArray("A\rB\nC") << QByteArray() << "A\nB\nC";
    QTest::newRow("LF CR is two breaks") << QByteArray("A\n\rB") << QByteArray() << "A\n\nB";
    QTest::newRow("controls as pictures")
        << QByteArray("\x0c\x1bY!") << QByteArray("\x7f") << QString::fromUtf8("␌␛Y!␡");
    QTest::newRow("Windows-1252 letters")
        << QByteArray("\xc4\x80\x9a") << QByteArray() << QString::fromUtf8("Ä€š");
}

void TstTerminal::renderingOfReceivedText() {
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QString, shown);
    bool afterCr = false;
    QString out = RenderReceivedText(first.toStdString(), afterCr);
    out += RenderReceivedText(second.toStdString(), afterCr);
    QCOMPARE(out, shown);
}

void TstTerminal::panesRefreshOncePerBatch_data() {
    QTest::addColumn<QByteArrayList>("chunks");
    QByteArrayList small;
    for (int i = 0; i < 200; ++i)
        small << QByteArray("line ") + QByteArray::number(i) + (i % 2 ? "\r" : "\n\r\x0c");
    QTest::newRow("many chunks, CR LF split between them") << small;
    QByteArrayList past;
    for (int i = 0; i < 40; ++i)
        past << QByteArray(700, char('A' + i % 26)) + "\r\n";
    QTest::newRow("appends past the trim limit") << past;
    QTest::newRow("trimmed, then appended") << QByteArrayList{QByteArray(17000, 'x'), "\nEnd"};
}

// Appends between two refreshes reach the pane as one change, and what it
// shows is the text as if rendered whole.
void TstTerminal::panesRefreshOncePerBatch() {
    QFETCH(QByteArrayList, chunks);
    test::FakeSerialPort port;
    test::CountingEventPump events;
    test::FakeClock clock;
    TerminalPage page;
    TerminalController controller(page, port, events, clock);
    controller.SetTerminalText("Terminal Window");
    QPlainTextEdit *pane = page.terminalPane();
    QCOMPARE(pane->toPlainText(), QStringLiteral("Terminal Window"));

    TerminalText expected;
    expected.SetText("Terminal Window");
    int changes = 0;
    connect(pane->document(), &QTextDocument::contentsChange, this, [&] { ++changes; });
    for (const QByteArray &chunk : chunks) {
        controller.Receive().AppendTerminalText(chunk.toStdString());
        expected.AppendTerminalText(chunk.toStdString());
        controller.Lcd().LcdParse(chunk.toStdString());
    }
    QCOMPARE(changes, 0);
    QTRY_VERIFY(changes > 0);
    bool afterCr = false;
    QCOMPARE(pane->toPlainText(), RenderReceivedText(expected.Text(), afterCr));
    QVERIFY(changes <= 2); // setPlainText clears, then fills
    QVERIFY(!page.lcdPane()->toPlainText().isEmpty());
}

void TstTerminal::signOnReachesBothPanes() {
    test::SimProcess sim(rig_->link, {QStringLiteral("--busy-scale"), QStringLiteral("0"),
                                      QStringLiteral("--signon-delay"), QStringLiteral("0")});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    auto *lcd = app.child<QPlainTextEdit>("txtLCD");
    auto *term = app.child<QPlainTextEdit>("rtbTerm");
    QTRY_VERIFY_WITH_TIMEOUT(term->toPlainText().contains(QStringLiteral("READY\n>")), 5000);
    QVERIFY(term->toPlainText().startsWith(QStringLiteral("Terminal Window")));
    const QStringList lines = lcd->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 9);
    QVERIFY2(lines[0].startsWith(QStringLiteral("KAVOLT VELNOR BASIC")), qPrintable(lines[0]));
    for (const QString &line : lines)
        QCOMPARE(line.size(), 80);

    // A line typed at the controller comes back through the same road.
    app.port.Output("PRINT 6*7\r");
    QTRY_VERIFY_WITH_TIMEOUT(term->toPlainText().contains(QStringLiteral("PRINT 6*7\n 42")), 5000);
    QVERIFY(term->textCursor().atEnd());

    // With the feed off the display stands still.
    app.window.Terminal().Receive().SetLcdFeedEnabled(false);
    const QString lcdBefore = lcd->toPlainText();
    app.port.Output("PRINT 1\r");
    QTRY_VERIFY_WITH_TIMEOUT(term->toPlainText().endsWith(QStringLiteral(" 1 \n\n>")), 5000);
    QCOMPARE(lcd->toPlainText(), lcdBefore);
}

void TstTerminal::codeDisplayClearAndFocus() {
    test::SimProcess sim(rig_->link, {QStringLiteral("--busy-scale"), QStringLiteral("0"),
                                      QStringLiteral("--no-signon")});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    auto *term = app.child<QPlainTextEdit>("rtbTerm");
    app.window.findChild<QAction *>(QStringLiteral("btnClear"))->trigger();
    QCOMPARE(term->toPlainText(), QString());
    app.child<QRadioButton>("optDarstellung0")->click();
    app.port.Output("\r");
    QTRY_COMPARE_WITH_TIMEOUT(term->toPlainText(), QStringLiteral("<13><10><62>"), 5000);
    app.child<QRadioButton>("optDarstellung1")->click();
    app.port.Output("\r");
    QTRY_COMPARE_WITH_TIMEOUT(term->toPlainText(), QStringLiteral("<13><10><62>\n>"), 5000);

    QTest::mouseClick(term->viewport(), Qt::LeftButton);
    QTRY_COMPARE(QApplication::focusWidget(), app.child<QWidget>("txtLCD"));
    app.window.findChild<QAction *>(QStringLiteral("btnLive"))->trigger();
    QVERIFY(!term->isVisible());
    app.window.findChild<QAction *>(QStringLiteral("btnLive"))->trigger();
    QVERIFY(term->isVisible());
}

void TstTerminal::lcdPaneShowsNineLinesOf80Columns() {
    AppUnderTest app;
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    auto *lcd = app.child<QPlainTextEdit>("txtLCD");
    QVERIFY(lcd->isReadOnly());
    QCOMPARE(lcd->cursorWidth(), 0);
    QVERIFY(lcd->font().fixedPitch());
    const QFontMetrics fm(lcd->font());
    QVERIFY(lcd->viewport()->height() >= 9 * fm.lineSpacing());
    QVERIFY(lcd->viewport()->width() >= fm.horizontalAdvance(QString(80, QLatin1Char('M'))));
    QCOMPARE(lcd->toPlainText().split(QLatin1Char('\n')).first(),
             QStringLiteral("Display Emulation"));
}

void TstTerminal::functionKeyTooltipsShowTheTextLiterally_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("a comparison and a tag") << QStringLiteral("IF A<B THEN PRINT \"<b>\"");
    QTest::newRow("an entity") << QStringLiteral("PRINT \"A &lt; B\"");
    QTest::newRow("a whole document") << QStringLiteral("<html><i>kursiv</i></html>");
    QTest::newRow("ampersand and umlauts") << QStringLiteral("PRINT \"Größe\" & A");
    QTest::newRow("blanks around and inside") << QStringLiteral("  LIST   10-20  ");
}

void TstTerminal::functionKeyTooltipsShowTheTextLiterally() {
    QFETCH(QString, text);
    TerminalPage page;
    page.setFunctionKeyText(6, text);
    QCOMPARE(page.functionKeyText(6), text);
    // As a tooltip label shows it: as rich text when it looks like some.
    const QString tip = page.functionKey(6)->toolTip();
    QString shown = tip;
    if (Qt::mightBeRichText(tip)) {
        QTextDocument doc;
        doc.setHtml(tip);
        shown = doc.toPlainText();
    }
    QCOMPARE(shown, text);
}

void TstTerminal::terminalPaneDrawsControlPictures() {
    TerminalPage page;
    const QFont font = page.terminalPane()->font();
    QVERIFY(font.families().contains(QStringLiteral("DejaVu Sans Mono")));
    QVERIFY(font.families().contains(QStringLiteral("FreeMono")));
    // NUL, ESC, CR, LF, the last control code and DEL as the pane shows them.
    const QString pictures = QStringLiteral("\u2400\u241B\u240D\u240A\u241F\u2421");
    QTextLayout layout(pictures, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun &run : layout.glyphRuns()) {
        QVERIFY2(font.families().contains(run.rawFont().familyName()),
                 qPrintable(run.rawFont().familyName()));
        for (quint32 index : run.glyphIndexes()) {
            QVERIFY(index != 0); // glyph 0 is the empty box
            ++glyphs;
        }
    }
    QCOMPARE(glyphs, int(pictures.size()));
    QVERIFY(QFontMetrics(font).inFontUcs4(0x241B));
}

QTEST_MAIN(TstTerminal)
#include "tst_terminal.moc"
