// The real dialog implementation, answered through the widgets themselves,
// and Qt's German texts.
#include "app/cp1252_codec.h"
#include "app/german_translations.h"
#include "app/qt_user_dialogs.h"
#include "core/number_text.h"
#include "dialogs/help_texts.h"
#include "port/qt_serial_port.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
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
    void onlyUnbrokenRunsAreCut_data();
    void onlyUnbrokenRunsAreCut();
    void overviewBoxShowsTheWholeText();
    void tableBoxShowsTheRowsSideBySide();
    void fileFilters_data();
    void fileFilters();
    void fileDialogListsWhatItsTypesPromise();
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

void TstQtUserDialogs::onlyUnbrokenRunsAreCut_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    const QString run(300, QLatin1Char('x'));
    const QString sentence =
        QStringLiteral(
            "Bitte überprüfen Sie die Schnittstelle, wenn keine Verbindung möglich ist. ")
            .repeated(20);
    QTest::newRow("short lines stay") << "a\nb"
                                      << "a\nb";
    QTest::newRow("a long line with blanks stays") << sentence << sentence;
    QTest::newRow("a run of exactly the limit stays")
        << QString(240, QLatin1Char('y')) << QString(240, QLatin1Char('y'));
    QTest::newRow("only the run is cut, blanks and lines around it stay")
        << "Zeile:\n10 PRINT " + run + " \tEnde\nx"
        << "Zeile:\n10 PRINT " + run.left(240) + QString::fromUtf8(" … (60 Zeichen mehr)") +
               " \tEnde\nx";
    QTest::newRow("a character outside the BMP is not split")
        << QString(239, QLatin1Char('z')) + QString::fromUtf8("😀") + "zz"
        << QString(239, QLatin1Char('z')) + QString::fromUtf8(" … (4 Zeichen mehr)");
}

void TstQtUserDialogs::onlyUnbrokenRunsAreCut() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(ShortenLongRuns(in), out);
}

void TstQtUserDialogs::overviewBoxShowsTheWholeText() {
    QtUserDialogs dialogs;
    QString text, details;
    int width = 0;
    WhenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        text = box->text();
        details = box->detailedText();
        width = box->width();
        box->button(QMessageBox::Ok)->click();
    });
    ShowOverview(dialogs);
    QCOMPARE(text, BoxText(OverviewText()));
    QVERIFY(text.contains(QStringLiteral("entwickelt und getestet werden können.")));
    QVERIFY(details.isEmpty()); // no "Details einblenden"
    QVERIFY(width <= QApplication::primaryScreen()->availableGeometry().width());
}

void TstQtUserDialogs::tableBoxShowsTheRowsSideBySide() {
    QtUserDialogs dialogs;
    TableBoxContent content;
    content.title = Cp1252("Programm vergleichen");
    content.text = Cp1252("Der Controller enthält nicht das Programm:\r400 Unterschiede.");
    content.columns = {"Zeile", "Befund", "Datei", "Controller"};
    for (int i = 1; i <= 400; ++i)
        content.rows.push_back({std::to_string(i * 10), "verschieden",
                                Cp1252("PRINT \"Grüße\",  A") + std::string(i == 7 ? 300 : 0, 'x'),
                                "PRINT \"GR\xDC\xDF"
                                "E\",  A"});
    QString title, text, copied, copiedRow;
    QStringList captions;
    int rows = 0;
    bool fixedPitch = false, fitsTheScreen = false;
    QString cell;
    WhenModal([&](QWidget *w) {
        auto *box = qobject_cast<QDialog *>(w);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->findChild<QLabel *>(QStringLiteral("lblText"))->text();
        auto *table = box->findChild<QTableWidget *>(QStringLiteral("grdTable"));
        QVERIFY(table);
        rows = table->rowCount();
        for (int c = 0; c < table->columnCount(); ++c)
            captions << table->horizontalHeaderItem(c)->text();
        cell = table->item(1, 3)->text();
        fixedPitch = QFontInfo(table->font()).fixedPitch();
        fitsTheScreen = box->width() <= QApplication::primaryScreen()->availableSize().width() &&
                        box->height() <= QApplication::primaryScreen()->availableSize().height();
        box->findChild<QPushButton *>(QStringLiteral("cmdCopy"))->click();
        copied = QApplication::clipboard()->text();
        // Ctrl+C in the table copies only the selected row.
        table->selectRow(2);
        table->setFocus();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        copiedRow = QApplication::clipboard()->text();
        box->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    dialogs.TableBox(content);
    QCOMPARE(title, QStringLiteral("Programm vergleichen"));
    QCOMPARE(text, QStringLiteral("Der Controller enthält nicht das Programm:\n400 Unterschiede."));
    QCOMPARE(rows, 400);
    QCOMPARE(captions, (QStringList{"Zeile", "Befund", "Datei", "Controller"}));
    QCOMPARE(cell, QStringLiteral("PRINT \"GRÜßE\",  A")); // blanks kept as they are
    QVERIFY(fixedPitch);
    QVERIFY(fitsTheScreen); // a 300-character line does not widen it past the screen
    const QStringList lines = copied.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 401);
    QCOMPARE(lines[0], QStringLiteral("Zeile\tBefund\tDatei\tController"));
    QCOMPARE(lines[2], QStringLiteral("20\tverschieden\tPRINT \"Grüße\",  A\tPRINT \"GRÜßE\",  A"));
    QCOMPARE(copiedRow, QStringLiteral("Zeile\tBefund\tDatei\tController\n"
                                       "30\tverschieden\tPRINT \"Grüße\",  A\tPRINT "
                                       "\"GRÜßE\",  A\n"));
}

void TstQtUserDialogs::boxTextLineBreaks() {
    QFETCH(QByteArray, in);
    QFETCH(QString, out);
    QCOMPARE(BoxText(in.toStdString()), out);
}

void TstQtUserDialogs::fileFilters_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QStringList>("out");
    QTest::newRow("log file, default of the shared dialog")
        << "Log File (*.log)|*.log;" << QStringList{"Log File (*.log) (*.log)"};
    QTest::newRow("download and tools")
        << "BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*"
        << QStringList{"BASIC-Dateien (*.BAS) (*.BAS)", "Alle Dateien (*.*) (*)"};
    QTest::newRow("editor save") << "Text-Dateien (*.txt)|*.txt|Alle Dateien (*)|*"
                                 << QStringList{"Text-Dateien (*.txt) (*.txt)",
                                                "Alle Dateien (*) (*)"};
    QTest::newRow("several patterns, blanks and ; between them")
        << "BASIC|*.bas; *.z;;*.*" << QStringList{"BASIC (*.bas *.z *)"};
    QTest::newRow("a name without patterns is dropped")
        << "BASIC|*.bas|Rest" << QStringList{"BASIC (*.bas)"};
    QTest::newRow("no name: the patterns name it") << "|*.v" << QStringList{"*.v (*.v)"};
}

void TstQtUserDialogs::fileFilters() {
    QFETCH(QString, in);
    QFETCH(QStringList, out);
    QCOMPARE(QtNameFilters(in.toStdString()), out);
}

void TstQtUserDialogs::fileDialogListsWhatItsTypesPromise() {
    QTemporaryDir dir;
    for (const char *name : {"PROG", "zaehler.bas", "LAUF.BAS", "notes.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QtUserDialogs dialogs;
    FileDialogState state;
    state.filter = "BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*";
    state.fileName = ToCp1252(dir.filePath(QStringLiteral("LAUF.BAS")));
    QStringList types;
    QMap<QString, QStringList> listed; // type → files shown
    WhenModal([&](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        QVERIFY(fd);
        auto *combo = fd->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *view = fd->findChild<QListView *>(QStringLiteral("listView"));
        for (int i = 0; combo && i < combo->count(); ++i)
            types << combo->itemText(i);
        for (const QString &filter : fd->nameFilters()) {
            fd->selectNameFilter(filter);
            const auto files = [&] {
                QStringList names;
                const QModelIndex root = view->rootIndex();
                for (int r = 0; r < view->model()->rowCount(root); ++r)
                    names << view->model()->index(r, 0, root).data().toString();
                names.sort();
                return names;
            };
            // The model lists the folder from a thread of its own.
            (void)QTest::qWaitFor([&] { return !files().isEmpty(); }, 3000);
            QTest::qWait(100);
            listed[combo->currentText()] = files();
        }
        fd->reject();
    });
    QVERIFY(!dialogs.OpenFileDialog(state));
    QCOMPARE(types, (QStringList{"BASIC-Dateien (*.BAS)", "Alle Dateien (*.*)"}));
    QCOMPARE(listed.value("BASIC-Dateien (*.BAS)"), (QStringList{"LAUF.BAS", "zaehler.bas"}));
    QCOMPARE(listed.value("Alle Dateien (*.*)"),
             (QStringList{"LAUF.BAS", "PROG", "notes.txt", "zaehler.bas"}));

    // The shared dialog's save default keeps its extension as given.
    state = FileDialogState{};
    QString suffix;
    WhenModal([&](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        suffix = fd->defaultSuffix();
        fd->reject();
    });
    QVERIFY(!dialogs.SaveFileDialog(state));
    QCOMPARE(suffix, QStringLiteral("LOG"));

    // Saving asks before an existing file is replaced, unless the caller appends.
    for (const bool confirm : {true, false}) {
        state.confirmOverwrite = confirm;
        bool asks = !confirm;
        WhenModal([&](QWidget *w) {
            auto *fd = qobject_cast<QFileDialog *>(w);
            asks = !fd->testOption(QFileDialog::DontConfirmOverwrite);
            fd->reject();
        });
        QVERIFY(!dialogs.SaveFileDialog(state));
        QCOMPARE(asks, confirm);
    }
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
