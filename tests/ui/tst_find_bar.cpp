// Find, replace and go-to-line on the Editor tab of the real window, with
// the keys taking the platform's path (shortcut map, window, focus widget).
#include "editor/editor_pane.h"
#include "editor/find_bar.h"
#include "editor/go_to_line_dialog.h"
#include "ui/app_under_test.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

namespace {

const QByteArray kProgram = "10 PRINT \"A\"\n"
                            "20 print a\n"
                            "240 PRINT X\n"
                            "2400 GOTO 240\n"
                            "250 PRINTER\n";

// Polls for the modal dialog and answers it; rejects any dialog after a
// watchdog time instead of letting the test hang.
void WhenModal(std::function<void(QWidget *)> answer, int ms = 3000) {
    auto *timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        *elapsed += 10;
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
            return;
        }
        if (*elapsed > ms) {
            timer->stop();
            timer->deleteLater();
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<QDialog *>(w); d && d->isVisible())
                    d->reject();
            qWarning("no modal dialog appeared");
        }
    });
    timer->start(10);
}

// The window on the Editor tab with `bytes` opened from a file, the focus
// in the text.
struct EditorRig {
    AppUnderTest app;
    QTemporaryDir dir;
    EditorPane *pane = nullptr;
    QPlainTextEdit *text = nullptr;
    FindBar *bar = nullptr;

    bool Open(const QByteArray &bytes) {
        app.window.Startup();
        app.window.show();
        if (!QTest::qWaitForWindowExposed(&app.window))
            return false;
        pane = app.child<EditorPane>("Editor");
        text = pane->textPane();
        bar = pane->findBar();
        const QString path = dir.filePath(QStringLiteral("P.BAS"));
        if (!test::WriteFileBytes(path, bytes))
            return false;
        app.dialogs.files = {path.toStdString()};
        if (!pane->Document().OpenTextFile())
            return false;
        app.child<QTabWidget>("sstMain")->setCurrentIndex(1);
        text->setFocus();
        return QApplication::focusWidget() == text && !pane->EditorModified();
    }
    QWindow *Window() { return app.window.windowHandle(); }
    // After a modal dialog: the offscreen platform leaves activating the
    // main window again to the test (a desktop's window manager does it).
    bool Reactivate() {
        app.window.activateWindow();
        return QTest::qWaitForWindowActive(&app.window);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Window(), key, modifiers);
    }
    void Type(const QString &keys) {
        for (QChar c : keys)
            QTest::keyClick(Window(), c.toLatin1());
    }
    int Line() const { return text->textCursor().blockNumber(); }
    QString Selected() const { return text->textCursor().selectedText(); }
    QString Note() const { return bar->Note(); }
};

} // namespace

class TstFindBar : public QObject {
    Q_OBJECT
private slots:
    void init() { settings_ = new test::TempSettings; }
    void cleanup() { delete settings_; }
    void findsAsTypedAndStepsBothWays();
    void replacesOneByOneAndAllAsOneUndoStep();
    void terminalTabKeepsItsKeys();
    void goesToBasicLineOrSaysItIsMissing();
    void goToLineDialogThroughItsKey();

private:
    test::TempSettings *settings_ = nullptr;
};

void TstFindBar::findsAsTypedAndStepsBothWays() {
    EditorRig rig;
    QVERIFY(rig.Open(kProgram));
    QVERIFY(!rig.bar->isVisible());
    rig.Key(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(rig.bar->isVisible());
    QVERIFY(!rig.bar->ReplaceRowShown());
    QCOMPARE(QApplication::focusWidget(), rig.bar->findField());

    // Each letter searches; case does not count yet, parts of words do.
    rig.Type(QStringLiteral("p"));
    QCOMPARE(rig.text->textCursor().selectionStart(), 3);
    rig.Type(QStringLiteral("rint"));
    QCOMPARE(rig.Selected(), QStringLiteral("PRINT"));
    QCOMPARE(rig.Line(), 0);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int line;
        QString selected, note;
    } steps[] = {
        {Qt::Key_F3, Qt::NoModifier, 1, QStringLiteral("print"), QString()},
        {Qt::Key_F3, Qt::NoModifier, 2, QStringLiteral("PRINT"), QString()},
        {Qt::Key_Return, Qt::NoModifier, 4, QStringLiteral("PRINT"), QString()},
        {Qt::Key_F3, Qt::NoModifier, 0, QStringLiteral("PRINT"),
         QStringLiteral("Am Ende angekommen, vom Anfang fortgesetzt")},
        {Qt::Key_F3, Qt::ShiftModifier, 4, QStringLiteral("PRINT"),
         QStringLiteral("Am Anfang angekommen, vom Ende fortgesetzt")},
        {Qt::Key_Return, Qt::ShiftModifier, 2, QStringLiteral("PRINT"), QString()},
        {Qt::Key_Enter, Qt::ShiftModifier, 1, QStringLiteral("print"), QString()},
    };
    for (const auto &s : steps) {
        rig.Key(s.key, s.modifiers);
        QCOMPARE(rig.Line(), s.line);
        QCOMPARE(rig.Selected(), s.selected);
        QCOMPARE(rig.Note(), s.note);
    }
    QCOMPARE(QApplication::focusWidget(), rig.bar->findField()); // the keys leave it there

    // Whole words: PRINTER no longer counts; with case, only "print" does.
    rig.bar->findChild<QCheckBox *>(QStringLiteral("chkWholeWords"))->click();
    QCOMPARE(rig.Line(), 1); // the hit still is one
    rig.Key(Qt::Key_F3);
    QCOMPARE(rig.Line(), 2);
    rig.Key(Qt::Key_F3);
    QCOMPARE(rig.Line(), 0);
    QVERIFY(!rig.Note().isEmpty()); // round the end: PRINTER was skipped
    rig.bar->findChild<QCheckBox *>(QStringLiteral("chkMatchCase"))->click();
    QCOMPARE(rig.Line(), 1);
    rig.Key(Qt::Key_F3);
    QCOMPARE(rig.Line(), 1); // the only one, found again round the end
    QCOMPARE(rig.Note(), QStringLiteral("Am Ende angekommen, vom Anfang fortgesetzt"));

    // A miss says so in the bar, the field turns reddish, no box.
    const QColor normal = rig.bar->findField()->palette().color(QPalette::Base);
    rig.Type(QStringLiteral("Z"));
    QCOMPARE(rig.Note(), QStringLiteral("Nicht gefunden"));
    QVERIFY(rig.bar->NotFoundShown());
    const QColor red = rig.bar->findField()->palette().color(QPalette::Base);
    QVERIFY(red != normal && red.red() > red.green() && red.red() > red.blue());
    QVERIFY(!rig.text->textCursor().hasSelection());
    rig.Key(Qt::Key_Backspace);
    QCOMPARE(rig.Line(), 1); // from where the miss left the search
    QCOMPARE(rig.Selected(), QStringLiteral("print"));
    QVERIFY(rig.Note().isEmpty());
    QCOMPARE(rig.bar->findField()->palette().color(QPalette::Base), normal);
    QVERIFY(rig.app.dialogs.boxes.empty());
    QVERIFY(!rig.pane->EditorModified()); // searching is no change

    rig.Key(Qt::Key_Escape);
    QVERIFY(!rig.bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), rig.text);
    // F3 goes on with the closed bar's text; the bar shows its notes again,
    // the focus stays in the text.
    rig.Key(Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(rig.Line(), 1);
    QVERIFY(rig.bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), rig.text);
}

void TstFindBar::replacesOneByOneAndAllAsOneUndoStep() {
    EditorRig rig;
    QVERIFY(rig.Open(kProgram));
    // Ctrl+H takes the selection as the text to find.
    QTextCursor word = rig.text->textCursor();
    word.setPosition(3);
    word.setPosition(8, QTextCursor::KeepAnchor);
    rig.text->setTextCursor(word);
    rig.Key(Qt::Key_H, Qt::ControlModifier);
    QVERIFY(rig.bar->isVisible());
    QVERIFY(rig.bar->ReplaceRowShown());
    QCOMPARE(rig.bar->findField()->text(), QStringLiteral("PRINT"));
    QCOMPARE(QApplication::focusWidget(), rig.bar->findField());
    rig.bar->findChild<QCheckBox *>(QStringLiteral("chkWholeWords"))->click();
    QTest::keyClicks(rig.bar->replaceField(), QStringLiteral("DRUCK"));

    // "Ersetzen" replaces the hit and selects the next one.
    auto *replace = rig.bar->findChild<QPushButton *>(QStringLiteral("btnReplace"));
    QCOMPARE(replace->text(), QStringLiteral("Ersetzen"));
    replace->click();
    QCOMPARE(rig.text->document()->findBlockByNumber(0).text(), QStringLiteral("10 DRUCK \"A\""));
    QCOMPARE(rig.Line(), 1);
    QCOMPARE(rig.Selected(), QStringLiteral("print"));
    QVERIFY(rig.pane->EditorModified());
    rig.text->undo();
    QCOMPARE(rig.text->toPlainText(), QString::fromLatin1(kProgram));

    auto *all = rig.bar->findChild<QPushButton *>(QStringLiteral("btnReplaceAll"));
    QCOMPARE(all->text(), QStringLiteral("Alle ersetzen"));
    all->click();
    QCOMPARE(rig.Note(), QStringLiteral("3 Stellen ersetzt"));
    QCOMPARE(rig.text->toPlainText(), QStringLiteral("10 DRUCK \"A\"\n"
                                                     "20 DRUCK a\n"
                                                     "240 DRUCK X\n"
                                                     "2400 GOTO 240\n"
                                                     "250 PRINTER\n"));
    QVERIFY(rig.pane->EditorModified());
    // One undo takes all three back, and there is nothing before it.
    rig.text->setFocus();
    QTest::keyClick(rig.Window(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.text->toPlainText(), QString::fromLatin1(kProgram));
    QVERIFY(!rig.text->document()->isUndoAvailable());

    // Nothing left to replace: said in the bar.
    rig.bar->findField()->setText(QStringLiteral("LPRINT"));
    QCOMPARE(rig.bar->ReplaceAll(), 0);
    QCOMPARE(rig.Note(), QStringLiteral("Nicht gefunden"));
    // Ctrl+F drops the replace row again.
    rig.Key(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!rig.bar->ReplaceRowShown());
}

void TstFindBar::terminalTabKeepsItsKeys() {
    test::SimRig sim;
    // A silent controller: only what it receives counts.
    test::SimProcess controller(sim.link, {"--log", sim.log, "--mute-after", "0"});
    QVERIFY(controller.running());
    EditorRig rig;
    QVERIFY(rig.Open(kProgram));
    rig.Key(Qt::Key_F, Qt::ControlModifier); // the editor's bar, with a text to find
    rig.Type(QStringLiteral("print"));
    rig.Key(Qt::Key_Escape);
    QVERIFY(!rig.bar->isVisible());
    const int line = rig.Line();

    rig.app.child<QTabWidget>("sstMain")->setCurrentIndex(0);
    rig.app.child<QWidget>("rtbTerm")->setFocus();
    rig.Key(Qt::Key_H, Qt::ControlModifier);
    rig.Key(Qt::Key_J, Qt::ControlModifier);
    rig.Key(Qt::Key_F3);
    QTRY_COMPARE_WITH_TIMEOUT(sim.Log(),
                              QByteArray("\x08\x0a"
                                         "CONT\r"),
                              3000);
    // Ctrl+F there opens the terminal pane's own bar, not the editor's.
    rig.Key(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(rig.app.child<QWidget>("picTermFind")->isVisible());
    QVERIFY(rig.bar->isHidden());
    QCOMPARE(rig.Line(), line);
    QVERIFY(!QApplication::activeModalWidget());
}

void TstFindBar::goesToBasicLineOrSaysItIsMissing() {
    // Far enough down that the line must be scrolled to.
    QByteArray bytes;
    for (int i = 1; i <= 300; ++i)
        bytes += QByteArray::number(i * 10) + " A=" + QByteArray::number(i) + "\n";
    bytes += "  3010 GOTO 240\n";
    EditorRig rig;
    QVERIFY(rig.Open(bytes));
    QTextCursor middle(rig.text->document()->findBlockByNumber(5));
    middle.movePosition(QTextCursor::EndOfBlock);
    rig.text->setTextCursor(middle);

    QVERIFY(!rig.pane->GoToBasicLine(241));
    QCOMPARE(rig.text->textCursor().position(), middle.position());
    QVERIFY(rig.pane->GoToBasicLine(3010));
    QCOMPARE(rig.Line(), 300);
    QVERIFY(rig.pane->GoToBasicLine(2900));
    QCOMPARE(rig.Line(), 289);
    QCOMPARE(rig.text->textCursor().positionInBlock(), 0);
    QVERIFY(rig.text->viewport()->rect().contains(rig.text->cursorRect()));

    // The dialog, shown without blocking: a miss stays in it, a hit ends it.
    GoToLineDialog dialog(EditorLines(*rig.text), rig.Line(), &rig.app.window);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Gehe zu Zeile"));
    auto *number = dialog.findChild<QLineEdit *>(QStringLiteral("txtLine"));
    QCOMPARE(number->text(), QStringLiteral("290"));
    auto *basic = dialog.findChild<QRadioButton *>(QStringLiteral("optBasicLine"));
    QCOMPARE(basic->text(), QStringLiteral("BASIC-Zeilennummer"));
    QCOMPARE(dialog.findChild<QRadioButton *>(QStringLiteral("optFileLine"))->text(),
             QStringLiteral("Zeile der Datei"));
    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    basic->click();
    number->setText(QStringLiteral("245"));
    ok->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.Message(), QStringLiteral("BASIC-Zeile 245 gibt es nicht."));
    number->setText(QStringLiteral("240"));
    ok->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.TargetLine(), 23);
    QVERIFY(rig.app.dialogs.boxes.empty());
}

void TstFindBar::goToLineDialogThroughItsKey() {
    EditorRig rig;
    QVERIFY(rig.Open(kProgram));
    QString seen;
    WhenModal([&](QWidget *modal) {
        seen = modal->windowTitle();
        modal->findChild<QRadioButton *>(QStringLiteral("optBasicLine"))->click();
        modal->findChild<QLineEdit *>(QStringLiteral("txtLine"))->setText(QStringLiteral("240"));
        modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    rig.Key(Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(seen, QStringLiteral("Gehe zu Zeile"));
    QCOMPARE(rig.Line(), 2); // 240, not 2400
    QCOMPARE(rig.text->textCursor().positionInBlock(), 0);
    QVERIFY(rig.Reactivate());
    QCOMPARE(QApplication::focusWidget(), rig.text);
}

QTEST_MAIN(TstFindBar)
#include "tst_find_bar.moc"
