// "Programm vergleichen" against the simulated controller: after a download
// the controller holds the file's program; a line lost on the way is named.
#include "app/cp1252_codec.h"
#include "app/transfer_controller.h"
#include "support/qt_support.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QTimer>
#include <QtTest>

using namespace quandel;
using test::AppUnderTest;

namespace {

const QByteArray kProgram = "' Zaehler\n10 a=0 ' Start\n20 PRINT \"A=\", a\n30 a=a+1E0\n"
                            "40 IF A<1000 THEN 20\n50 END\n";

QStringList TableRows(const TableBoxContent &table) {
    QStringList rows;
    for (const std::vector<std::string> &row : table.rows) {
        QStringList cells;
        for (const std::string &cell : row)
            cells << FromCp1252(cell);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class TstCompare : public QObject {
    Q_OBJECT
private slots:
    void init() { rig_ = new test::SimRig; }
    void cleanup() { delete rig_; }
    void comparisonAfterADownload_data();
    void comparisonAfterADownload();
    void comparisonWithThePortClosed();
    void comparisonWithASilentController();
    void loadChangesSendsOnlyWhatDiffers();
    void loadChangesStopsWhenALineStaysDifferent();
    void escapeStopsLoadingChanges();

private:
    test::SimRig *rig_ = nullptr;
};

void TstCompare::comparisonAfterADownload_data() {
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("rows"); // the table's rows, cells joined by "|"
    QTest::newRow("every line arrived")
        << QStringList{}
        << QStringLiteral("Der Controller enthält genau das Programm aus %1 (5 Zeilen).")
        << QStringList{};
    // A real controller at 9600 baud with its own busy times: the listing
    // trickles in far slower than the simulator's test pace.
    QTest::newRow("a controller at 9600 baud")
        << QStringList{"--busy-scale", "1", "--char-delay", "1.04"}
        << QStringLiteral("Der Controller enthält genau das Programm aus %1 (5 Zeilen).")
        << QStringList{};
    QTest::newRow("a noisy line lost the second one")
        << QStringList{"--drop-line", "2"}
        << QStringLiteral("Der Controller enthält nicht das Programm aus %1: 1 Unterschied.")
        << QStringList{"20|fehlt im Controller|PRINT \"A=\", a|"};
}

void TstCompare::comparisonAfterADownload() {
    QFETCH(QStringList, simOptions);
    QFETCH(QString, result);
    QFETCH(QStringList, rows);
    test::SimProcess sim(
        rig_->link,
        QStringList{"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"} + simOptions);
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString path = rig_->Write(QStringLiteral("Z.BAS"), kProgram);
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(path.toStdString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    const QByteArray sent = rig_->Log();

    // From the terminal's toolbar, as from the menu.
    app.dialogs.files = {path.toStdString()};
    app.window.findChild<QAction *>(QStringLiteral("btnCompare"))->trigger();
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(2));
    QCOMPARE(FromCp1252(app.dialogs.boxes[1].text), result.arg(path));
    // Equal programs say so in a box; differences come as a table.
    QCOMPARE(app.dialogs.tables.size(), std::size_t(rows.isEmpty() ? 0 : 1));
    if (!rows.isEmpty())
        QCOMPARE(TableRows(app.dialogs.tables[0]), rows);
    // The comparison sent a CR and LIST, nothing that changes the program.
    QCOMPARE(rig_->Log(), sent + "\rLIST\r");
    QCOMPARE(test::FileBytes(path), kProgram);
}

void TstCompare::comparisonWithThePortClosed() {
    AppUnderTest app;
    app.window.Startup();
    app.window.findChild<QAction *>(QStringLiteral("mnuFileCompare"))->trigger();
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(app.dialogs.boxes[0].text, std::string("Keine Verbindung"));
    QVERIFY(app.dialogs.fileDialogs.empty());
}

void TstCompare::comparisonWithASilentController() {
    test::SimProcess sim(rig_->link, QStringList{"--log", rig_->log, "--mute-after", "0"});
    QVERIFY(sim.running());
    AppUnderTest app;
    app.window.Startup();
    const QString path = rig_->Write(QStringLiteral("Z.BAS"), kProgram);
    app.dialogs.files = {path.toStdString()};
    app.window.findChild<QAction *>(QStringLiteral("mnuFileCompare"))->trigger();
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QVERIFY2(app.dialogs.boxes[0].text.find("keine Antwort auf LIST") != std::string::npos,
             app.dialogs.boxes[0].text.c_str());
    QCOMPARE(test::FileBytes(path), kProgram);
}

void TstCompare::loadChangesSendsOnlyWhatDiffers() {
    test::SimProcess sim(
        rig_->link, QStringList{"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString path = rig_->Write(QStringLiteral("Z.BAS"), kProgram);
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(path.toStdString());
    const QByteArray sent = rig_->Log();
    // The user changes line 30, adds 45 and drops 50 (and a comment).
    const QByteArray edited = "' Zaehler, neu\n10 a=0 ' Start\n20 PRINT \"A=\", a\n30 a=a+2\n"
                              "40 IF A<1000 THEN 20\n45 PRINT \"Ende\"\n";
    QVERIFY(test::WriteFileBytes(path, edited));
    app.dialogs.boxes.clear();
    app.dialogs.files = {path.toStdString()};
    app.dialogs.answers = {BoxAnswer::Ok, BoxAnswer::No}; // the report; no EEPROM
    app.window.findChild<QAction *>(QStringLiteral("mnuFileLoadChanges"))->trigger();
    QVERIFY2(app.dialogs.boxes.size() == 2,
             rig_->Log().mid(sent.size()).toPercentEncoding().constData());
    QCOMPARE(FromCp1252(app.dialogs.boxes[0].text),
             QStringLiteral("2 Zeilen geladen, 1 Zeile gelöscht.\rDer Controller enthält jetzt "
                            "das Programm aus %1.")
                 .arg(path));
    QCOMPARE(app.dialogs.boxes[1].text, std::string(" Ins EEPROM Programmieren?"));
    // Exactly the three lines between the two listings.
    QCOMPARE(rig_->Log(), sent + "\rLIST\r30 a=a+2\r45 PRINT \"Ende\"\r50\r\rLIST\r");
    // And the comparison now finds nothing.
    app.dialogs.boxes.clear();
    app.dialogs.files = {path.toStdString()};
    app.window.findChild<QAction *>(QStringLiteral("mnuFileCompare"))->trigger();
    QCOMPARE(
        FromCp1252(app.dialogs.boxes.at(0).text),
        QStringLiteral("Der Controller enthält genau das Programm aus %1 (5 Zeilen).").arg(path));
}

void TstCompare::loadChangesStopsWhenALineStaysDifferent() {
    // The download's five lines arrive; the sixth program line the
    // controller gets, the changed line 30, is lost on the way.
    test::SimProcess sim(rig_->link, QStringList{"--log", rig_->log, "--busy-scale", "0.1",
                                                 "--signon-delay", "0", "--drop-line", "6"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    const QString path = rig_->Write(QStringLiteral("Z.BAS"), kProgram);
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(path.toStdString());
    QByteArray edited = kProgram;
    edited.replace("30 a=a+1E0", "30 a=a+2");
    QVERIFY(test::WriteFileBytes(path, edited));
    app.dialogs.boxes.clear();
    app.dialogs.files = {path.toStdString()};
    app.window.findChild<QAction *>(QStringLiteral("mnuFileLoadChanges"))->trigger();
    // One table, no success report, no EEPROM question.
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(app.dialogs.tables.size(), std::size_t(1));
    QCOMPARE(FromCp1252(app.dialogs.tables[0].title), QStringLiteral("Änderungen laden"));
    QCOMPARE(FromCp1252(app.dialogs.boxes[0].text),
             QStringLiteral("Nach dem Laden der Änderungen bleiben Unterschiede.\r"
                            "Der Controller enthält nicht das Programm aus %1: 1 Unterschied.")
                 .arg(path));
    QCOMPARE(TableRows(app.dialogs.tables[0]), QStringList{"30|verschieden|a=a+2|A=A+1E0"});
    QVERIFY(!rig_->Log().contains("PROG"));
}

void TstCompare::escapeStopsLoadingChanges() {
    test::SimProcess sim(
        rig_->link, QStringList{"--log", rig_->log, "--busy-scale", "0.2", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    QByteArray program, edited;
    for (int i = 1; i <= 60; ++i) {
        program += QByteArray::number(i) + " A=" + QByteArray::number(i) + "\n";
        edited += QByteArray::number(i) + " B=" + QByteArray::number(i) + "\n";
    }
    const QString path = rig_->Write(QStringLiteral("L.BAS"), program);
    app.dialogs.answers = {BoxAnswer::No};
    app.window.Transfers().DownloadProg(path.toStdString());
    QVERIFY(test::WriteFileBytes(path, edited));
    app.dialogs.boxes.clear();
    app.dialogs.files = {path.toStdString()};
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app.window, [&] {
        if (rig_->Log().contains("\r2 B=2\r")) {
            poll.stop();
            QTest::keyClick(app.window.windowHandle(), Qt::Key_Escape);
        }
    });
    poll.start(10);
    app.window.findChild<QAction *>(QStringLiteral("mnuFileLoadChanges"))->trigger();
    QVERIFY(app.dialogs.boxes.empty()); // no report, no EEPROM question
    const QByteArray log = rig_->Log();
    QVERIFY(log.contains("\r1 B=1\r"));
    QVERIFY2(!log.contains("\r5 B=5\r"), log.right(200).constData());
    QVERIFY(!app.window.Flags().StopRequested);
}

QTEST_MAIN(TstCompare)
#include "tst_compare.moc"
