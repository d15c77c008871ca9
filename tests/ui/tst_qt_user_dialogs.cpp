// The real dialog implementation, answered through the widgets themselves,
// and Qt's German texts.
#include "app/german_translations.h"
#include "app/qt_user_dialogs.h"
#include "core/number_text.h"
#include "port/qt_serial_port.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace quandel;

namespace {

// Polls for the modal dialog and answers it; rejects any dialog after a
// watchdog time instead of letting the test hang.
void WhenModal(std::function<void(QWidget *)> answer, int ms = 3000) {
    auto *timer = new QTimer;
    auto *elapsed = new int(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        *elapsed += 10;
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
            answer(modal);
            return;
        }
        if (*elapsed > ms) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<QDialog *>(w); d && d->isVisible())
                    d->reject();
            qWarning("no modal dialog appeared");
        }
    });
    timer->start(10);
}

} // namespace

class TstQtUserDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallGermanTranslations(*qApp); }
    void messageBoxShowsGermanButtonsAndAnswers();
    void inputBoxReturnsTheTextOrNothing();
    void boxTextLineBreaks_data();
    void boxTextLineBreaks();
    void longBoxLinesAreCut_data();
    void longBoxLinesAreCut();
    void fileFilters_data();
    void fileFilters();
    void serialPortErrorsAreGerman();
};

void TstQtUserDialogs::messageBoxShowsGermanButtonsAndAnswers() {
    QtUserDialogs dialogs;
    QString title, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        box->button(QMessageBox::No)->click();
    });
    const BoxAnswer answer =
        dialogs.MessageBox(Cp1252("Erste Zeile\rÄnderungen speichern?"), "Quandel",
                           BoxIcon::Exclamation, BoxButtons::YesNoCancel);
    QCOMPARE(answer, BoxAnswer::No);
    QCOMPARE(title, QStringLiteral("Quandel"));
    QCOMPARE(text, QStringLiteral("Erste Zeile\nÄnderungen speichern?"));
    QCOMPARE(icon, QMessageBox::Warning);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"),
                                   QStringLiteral("Abbrechen")}));

    // A line too long for the screen is cut in the box and whole in its details.
    const std::string line = "10 PRINT \"" + std::string(4000, 'A') + "\"";
    QString details;
    WhenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        text = box->text();
        details = box->detailedText();
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.MessageBox("Abgeschnitten:\r" + line, "Quandel", BoxIcon::Exclamation, BoxButtons::Ok);
    QVERIFY(text.size() < 300);
    QCOMPARE(details, "Abgeschnitten:\n" + QString::fromStdString(line));
}

void TstQtUserDialogs::inputBoxReturnsTheTextOrNothing() {
    QtUserDialogs dialogs;
    QString proposal;
    WhenModal([&](QWidget *w) {
        auto *d = qobject_cast<QInputDialog *>(w);
        QVERIFY(d);
        proposal = d->textValue();
        d->findChild<QLineEdit *>()->setText(QStringLiteral("PRINT \"Grüße\""));
        d->accept();
    });
    QCOMPARE(dialogs.InputBox("Text", "Funktionstaste 5", "alt"),
             std::optional(Cp1252("PRINT \"Grüße\"")));
    QCOMPARE(proposal, QStringLiteral("alt"));
    WhenModal([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    QCOMPARE(dialogs.InputBox("Text", "Funktionstaste 5", "alt"), std::nullopt);
}

void TstQtUserDialogs::boxTextLineBreaks_data() {
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("CR") << QByteArray("a\rb") << "a\nb";
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << "a\nb";
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << "a\nb";
    QTest::newRow("two CR LF keep the empty line") << QByteArray("a\r\n\r\nb") << "a\n\nb";
}

void TstQtUserDialogs::longBoxLinesAreCut_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    const QString l200(200, QLatin1Char('x'));
    QTest::newRow("short lines stay") << "a\nb"
                                      << "a\nb";
    QTest::newRow("exactly the limit stays")
        << QString(160, QLatin1Char('y')) << QString(160, QLatin1Char('y'));
    QTest::newRow("only the long line is cut")
        << "Zeile:\n" + l200 + "\nEnde"
        << "Zeile:\n" + l200.left(160) + QString::fromUtf8(" … (40 Zeichen mehr)") + "\nEnde";
}

void TstQtUserDialogs::longBoxLinesAreCut() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(ShortenBoxLines(in), out);
}

void TstQtUserDialogs::boxTextLineBreaks() {
    QFETCH(QByteArray, in);
    QFETCH(QString, out);
    QCOMPARE(BoxText(in.toStdString()), out);
}

void TstQtUserDialogs::fileFilters_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("log") << "Log File (*.log)|*.log;"
                         << "Log File (*.log) (*.log)";
    QTest::newRow("two entries") << "BASIC|*.bas;*.z|Alle|*.*"
                                 << "BASIC (*.bas *.z);;Alle (*.*)";
    QTest::newRow("dangling name") << "BASIC|*.bas|Rest"
                                   << "BASIC (*.bas)";
}

void TstQtUserDialogs::fileFilters() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(QtFileFilter(in.toStdString()), out);
}

void TstQtUserDialogs::serialPortErrorsAreGerman() {
    QtSerialPort port([](int) { return std::string("/nonexistent/ttyQuandel"); });
    const PortResult r = port.SetPortOpen(true);
    QVERIFY(!r.ok);
    QVERIFY2(QString::fromLatin1(r.error.c_str()).contains(QStringLiteral("nicht")),
             r.error.c_str());
}

QTEST_MAIN(TstQtUserDialogs)
#include "tst_qt_user_dialogs.moc"
