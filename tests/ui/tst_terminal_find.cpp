// Finding text in the terminal pane of the real window against the simulated
// controller, the keys taking the platform's path (shortcut map, window,
// focus widget). What the simulator received is the proof that the bar's
// keys stay in the bar.
#include "app/terminal_controller.h"
#include "app/terminal_page.h"
#include "app/transfer_controller.h"
#include "editor/editor_pane.h"
#include "editor/find_bar.h"
#include "editor/navigator_pane.h"
#include "ui/app_under_test.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>
#include <algorithm>

using namespace quandel;
using test::AppUnderTest;

namespace {

constexpr int kGap = 40; // lines between two hits, more than the pane shows
// The hits for "wert", one every kGap + 1 lines after the banner line.
const char *const kHits[] = {">PRINT \"Wert\"", "Wert", ">print wert", "WERT"};

int HitLine(int index) {
    return (index + 1) * (kGap + 1);
}

// The pane's text as the controller might have sent it; only the banner's
// "Window" also begins with a "w".
std::string KnownText() {
    std::string text = "Terminal Window\r\n";
    for (const char *hit : kHits) {
        for (int i = 0; i < kGap; ++i)
            text += "READY\r\n";
        text += std::string(hit) + "\r\n";
    }
    return text + ">";
}

} // namespace

class TstTerminalFind : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ctrlFOpensTheBarAndSendsNothing_data();
    void ctrlFOpensTheBarAndSendsNothing();
    void findsAndStepsWithoutSending();
    void keysInTheBarStayThere_data();
    void keysInTheBarStayThere();
    void escapeClosesTheBarAndStopsNothing();
    void f3OutsideTheBarSendsCont_data();
    void f3OutsideTheBarSendsCont();
    void textArrivingWhileTheBarIsOpen();

private:
    // The window on the Terminal tab against a simulator started with `args`.
    bool Start(const QStringList &args = {"--busy-scale", "0.1", "--signon-delay", "0"});
    // What the controller has received so far.
    QByteArray Sent() const {
        const QByteArray log = rig_->Log();
        return log == "<missing>" ? QByteArray() : log;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(app_->window.windowHandle(), key, modifiers);
    }
    void Type(const char *keys) {
        for (const char *c = keys; *c; ++c)
            QTest::keyClick(app_->window.windowHandle(), *c);
    }
    // The known text in the pane, the bar open with "wert" found in it.
    bool FindWert();
    int HitBlock() const { return term_->textCursor().block().blockNumber(); }
    QString Selected() const { return term_->textCursor().selectedText(); }
    bool HitInView() const { return term_->viewport()->rect().contains(term_->cursorRect()); }

    test::SimRig *rig_ = nullptr;
    test::SimProcess *sim_ = nullptr;
    AppUnderTest *app_ = nullptr;
    FindBar *bar_ = nullptr;
    QPlainTextEdit *term_ = nullptr;
    QPlainTextEdit *lcd_ = nullptr;
};

void TstTerminalFind::init() {
    rig_ = new test::SimRig;
}

void TstTerminalFind::cleanup() {
    delete app_;
    app_ = nullptr;
    delete sim_;
    sim_ = nullptr;
    delete rig_;
    rig_ = nullptr;
}

bool TstTerminalFind::Start(const QStringList &args) {
    sim_ = new test::SimProcess(rig_->link, QStringList{"--log", rig_->log} + args);
    app_ = new AppUnderTest;
    if (!test::StartAgainst(*app_, *sim_))
        return false;
    bar_ = app_->window.TerminalPageWidget().findBar();
    term_ = app_->child<QPlainTextEdit>("rtbTerm");
    lcd_ = app_->child<QPlainTextEdit>("txtLCD");
    return app_->child<QTabWidget>("sstMain")->currentIndex() == 0 &&
           QApplication::focusWidget() == lcd_ && bar_->isHidden() && Sent().isEmpty();
}

bool TstTerminalFind::FindWert() {
    app_->window.Terminal().SetTerminalText(KnownText());
    Key(Qt::Key_F, Qt::ControlModifier);
    Type("wert");
    return bar_->isVisible() && HitBlock() == HitLine(0) && Selected() == QLatin1String("Wert");
}

void TstTerminalFind::ctrlFOpensTheBarAndSendsNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("LCD pane") << QStringLiteral("txtLCD");
    // The file list has no use for Ctrl+F; on this tab it means the pane's search.
    QTest::newRow("file list") << QStringLiteral("filDateien");
    QTest::newRow("find field") << QStringLiteral("txtFind");
}

void TstTerminalFind::ctrlFOpensTheBarAndSendsNothing() {
    QFETCH(QString, focus);
    QVERIFY(Start());
    QLineEdit *field = bar_->findField();
    if (focus == QLatin1String("txtFind")) {
        Key(Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(field, QStringLiteral("READY"));
        field->deselect();
    } else if (focus == QLatin1String("filDateien")) {
        app_->window.Navigator().fileList()->setFocus();
    } else {
        lcd_->setFocus();
    }
    Key(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar_->isVisible());
    QCOMPARE(QApplication::focusWidget(), field);
    // The field's text, if any, is selected: typing replaces it.
    QCOMPARE(field->selectedText(), field->text());
    QVERIFY(app_->window.Editor().findBar()->isHidden());
    QVERIFY(term_->isReadOnly());
    QTest::qWait(200);
    QCOMPARE(Sent(), QByteArray());
}

void TstTerminalFind::findsAndStepsWithoutSending() {
    QVERIFY(Start());
    const QString before =
        QString::fromLatin1(KnownText()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    app_->window.Terminal().SetTerminalText(KnownText());
    Key(Qt::Key_F, Qt::ControlModifier);
    // Searched as typed from the caret at the end: round to the banner first.
    Type("w");
    QCOMPARE(HitBlock(), 0);
    QCOMPARE(bar_->Note(), QStringLiteral("Am Ende angekommen, vom Anfang fortgesetzt"));
    Type("ert");
    QCOMPARE(HitBlock(), HitLine(0));
    QCOMPARE(Selected(), QStringLiteral("Wert"));
    QVERIFY(bar_->Note().isEmpty());
    QVERIFY(HitInView());

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int hit;
        const char *note;
    } steps[] = {
        {Qt::Key_F3, Qt::NoModifier, 1, ""},
        {Qt::Key_F3, Qt::NoModifier, 2, ""},
        {Qt::Key_Return, Qt::NoModifier, 3, ""},
        {Qt::Key_Enter, Qt::NoModifier, 0, "Am Ende angekommen, vom Anfang fortgesetzt"},
        {Qt::Key_F3, Qt::ShiftModifier, 3, "Am Anfang angekommen, vom Ende fortgesetzt"},
        {Qt::Key_Return, Qt::ShiftModifier, 2, ""},
        {Qt::Key_Enter, Qt::ShiftModifier, 1, ""},
        {Qt::Key_F3, Qt::ShiftModifier, 0, ""},
    };
    for (const auto &s : steps) {
        Key(s.key, s.modifiers);
        QCOMPARE(HitBlock(), HitLine(s.hit));
        QCOMPARE(term_->textCursor().block().text(), QString::fromLatin1(kHits[s.hit]));
        QCOMPARE(Selected().toLower(), QStringLiteral("wert"));
        QCOMPARE(bar_->Note(), QString::fromUtf8(s.note));
        QVERIFY(HitInView());
    }
    QCOMPARE(QApplication::focusWidget(), bar_->findField());

    // With case, only the lower-case one is left.
    auto *matchCase = bar_->findChild<QCheckBox *>(QStringLiteral("chkMatchCase"));
    QCOMPARE(matchCase->text(), QStringLiteral("Groß-/Kleinschreibung"));
    QVERIFY(!bar_->findChild<QCheckBox *>(QStringLiteral("chkWholeWords"))->isVisible());
    matchCase->click();
    QCOMPARE(HitBlock(), HitLine(2));
    bar_->findField()->setFocus();
    Key(Qt::Key_F3);
    QCOMPARE(HitBlock(), HitLine(2));
    QCOMPARE(bar_->Note(), QStringLiteral("Am Ende angekommen, vom Anfang fortgesetzt"));
    Type("x");
    QCOMPARE(bar_->Note(), QStringLiteral("Nicht gefunden"));
    QVERIFY(bar_->NotFoundShown());
    QVERIFY(!term_->textCursor().hasSelection());
    Key(Qt::Key_Backspace);
    QCOMPARE(HitBlock(), HitLine(2));

    QCOMPARE(term_->toPlainText(), before); // searching changes nothing
    QTest::qWait(200);
    QCOMPARE(Sent(), QByteArray());
}

void TstTerminalFind::keysInTheBarStayThere_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    // Keys the controller would get from the LCD pane, some of them from any pane.
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier);
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier);
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier);
    QTest::newRow("F2") << int(Qt::Key_F2) << int(Qt::NoModifier);
    QTest::newRow("F8") << int(Qt::Key_F8) << int(Qt::NoModifier);
    // In the field it copies the field's selection; the controller's break
    // is a key outside the bar or the toolbar's button.
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << int(Qt::ControlModifier);
}

void TstTerminalFind::keysInTheBarStayThere() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(Start());
    QVERIFY(FindWert());
    // From the case box too: it is inside the bar.
    for (const char *name : {"txtFind", "chkMatchCase"}) {
        bar_->findChild<QWidget *>(QString::fromLatin1(name))->setFocus();
        Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY2(bar_->isAncestorOf(QApplication::focusWidget()), name);
    }
    QVERIFY(bar_->isVisible());
    QVERIFY(!app_->window.Flags().StopRequested);
    QTest::qWait(200);
    QCOMPARE(Sent(), QByteArray());
}

void TstTerminalFind::escapeClosesTheBarAndStopsNothing() {
    QVERIFY(Start());
    QVERIFY(FindWert());
    Key(Qt::Key_Escape);
    QVERIFY(bar_->isHidden());
    QCOMPARE(QApplication::focusWidget(), lcd_);
    QVERIFY(!app_->window.Flags().StopRequested);
    // From the LCD pane, Escape is the controller's again.
    Key(Qt::Key_Escape);
    QVERIFY(app_->window.Flags().StopRequested);
    QTRY_COMPARE_WITH_TIMEOUT(Sent(), QByteArray("\x1b\x1b"), 3000);
    // The closed bar keeps its text for the next time, when the echo of the
    // Escapes has taken the hit away.
    QTRY_VERIFY_WITH_TIMEOUT(term_->toPlainText().endsWith(QString(2, QChar(0x241B))), 3000);
    QVERIFY(!term_->textCursor().hasSelection());
    Key(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(bar_->findField()->text(), QStringLiteral("wert"));
}

void TstTerminalFind::f3OutsideTheBarSendsCont_data() {
    QTest::addColumn<bool>("barOpen");
    QTest::addColumn<QString>("focus");
    QTest::newRow("bar closed") << false << QStringLiteral("txtLCD");
    QTest::newRow("bar open, click into the terminal pane") << true << QStringLiteral("rtbTerm");
    QTest::newRow("bar open, file list") << true << QStringLiteral("filDateien");
}

void TstTerminalFind::f3OutsideTheBarSendsCont() {
    QFETCH(bool, barOpen);
    QFETCH(QString, focus);
    QVERIFY(Start());
    QVERIFY(FindWert());
    if (!barOpen)
        Key(Qt::Key_Escape);
    if (focus == QLatin1String("rtbTerm"))
        QTest::mouseClick(term_->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    else if (focus == QLatin1String("filDateien"))
        app_->window.Navigator().fileList()->setFocus();
    QVERIFY(!bar_->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(bar_->isVisible(), barOpen);
    Key(Qt::Key_F3);
    QTRY_COMPARE_WITH_TIMEOUT(Sent(), QByteArray("CONT\r"), 3000);
    QCOMPARE(bar_->isVisible(), barOpen);
    QCOMPARE(app_->window.Editor().findBar()->isHidden(), true);
}

void TstTerminalFind::textArrivingWhileTheBarIsOpen() {
    // Fast enough that the pane is cut at its front again and again.
    QVERIFY(Start({"--busy-scale", "0.1", "--signon-delay", "0", "--statement-ms", "0.05"}));
    app_->dialogs.answers = {BoxAnswer::No}; // no EEPROM
    app_->window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("X.BAS"), "10 PRINT \"X\"\n20 GOTO 10\n").toStdString());
    QCOMPARE(app_->dialogs.boxes.size(), std::size_t(1));
    lcd_->setFocus();
    Key(Qt::Key_F2);
    QTRY_VERIFY_WITH_TIMEOUT(term_->toPlainText().count(QLatin1String("X\n")) > 20, 5000);
    const QByteArray sentBefore = Sent();
    QVERIFY(sentBefore.endsWith("RUN \r"));

    Key(Qt::Key_F, Qt::ControlModifier);
    Type("x");
    // Each key finds an X; the pane changes under it before the next one:
    // appended to, which keeps the hit, or cut at its front and set anew,
    // which may lose it.
    QSignalSpy changes(term_->document(), &QTextDocument::contentsChange);
    int appendsKeptTheHit = 0;
    int rewrites = 0;
    const Qt::Key keys[] = {Qt::Key_F3, Qt::Key_Return, Qt::Key_F3};
    for (int round = 0; round < 300 && (rewrites < 2 || appendsKeptTheHit < 5); ++round) {
        const bool back = round % 4 == 3;
        Key(keys[round % 3], back ? Qt::ShiftModifier : Qt::NoModifier);
        const QTextCursor hit = term_->textCursor();
        QCOMPARE(hit.selectedText().toUpper(), QStringLiteral("X"));
        changes.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!changes.isEmpty(), 3000);
        const bool rewritten =
            std::any_of(changes.cbegin(), changes.cend(),
                        [](const QList<QVariant> &c) { return c.at(1).toInt() > 0; });
        if (rewritten) {
            ++rewrites;
            continue;
        }
        QCOMPARE(term_->textCursor().anchor(), hit.anchor());
        QCOMPARE(term_->textCursor().position(), hit.position());
        ++appendsKeptTheHit;
    }
    QVERIFY(rewrites >= 2);
    QVERIFY(appendsKeptTheHit >= 5);
    QCOMPARE(QApplication::focusWidget(), bar_->findField());
    QCOMPARE(Sent(), sentBefore);

    // Escape closes the bar and leaves the program running; Ctrl+C from the
    // LCD pane breaks it.
    Key(Qt::Key_Escape);
    QVERIFY(bar_->isHidden());
    QCOMPARE(QApplication::focusWidget(), lcd_);
    QTest::qWait(100);
    QCOMPARE(Sent(), sentBefore);
    Key(Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(term_->toPlainText().contains(QLatin1String("STOP - IN LINE")), 5000);
    QCOMPARE(Sent(), sentBefore + "\x03");
}

QTEST_MAIN(TstTerminalFind)
#include "tst_terminal_find.moc"
