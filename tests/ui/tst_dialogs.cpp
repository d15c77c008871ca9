// The port settings dialog on the real serial port (velnor-sim ptys and
// missing devices), the ASCII table window, the about box and the manual.
#include "app/cp1252_codec.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "core/number_text.h"
#include "core/twips.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_ascii.h"
#include "dialogs/frm_properties.h"
#include "dialogs/registry_reader.h"
#include "port/device_map.h"
#include "port/qt_serial_port.h"
#include "support/qt_support.h"
#include "support/scripted_devices.h"
#include "support/scripted_dialogs.h"
#include "ui/port_dialog_rig.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace quandel;

namespace {

// Texts of the core in test messages.
QString Q(const std::string &text) {
    return FromCp1252(text);
}

struct NoStart final : ProgramStarter {
    bool FileExists(const std::string &) const override { return false; }
    std::string FindProgram(const std::string &) const override { return {}; }
    bool Start(const std::string &) override { return false; }
};

} // namespace

class TstDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadShowsThePortAndOkStoresTheChoice();
    void okWithAMissingDeviceThenAnotherDevicePath();
    void scanReportsTheSimulatorsAndCancelUnloads();
    void escapeUnloadsOkKeepsLoaded();
    void okAfterAFailedLoadKeepsNoHandshaking_data();
    void okAfterAFailedLoadKeepsNoHandshaking();
    void asciiTableIsOneWindowWithItsGrid();
    void aboutBox_data();
    void aboutBox();
    void basicManual_data();
    void basicManual();

private:
    QString link(int n) const { return dir_.filePath(QStringLiteral("com%1").arg(n)); }

    test::TempSettings *settings_ = nullptr;
    QTemporaryDir dir_;
};

void TstDialogs::init() {
    settings_ = new test::TempSettings;
    QSettingsStore store;
    for (int n = 1; n <= kScanPortCount; ++n)
        store.Save(kAppTitle, kDeviceSection, DeviceKey(n), ToCp1252(link(n)));
}

void TstDialogs::cleanup() {
    delete settings_;
}

void TstDialogs::loadShowsThePortAndOkStoresTheChoice() {
    test::SimProcess sim(link(1));
    QVERIFY(sim.running());
    test::PortDialogRig rig;
    rig.store("Einstellungen", "19200,n,8,2");
    rig.store("Handshaking", "2");
    rig.dlg.Load();
    QVERIFY(!rig.dlg.isVisible());
    QVERIFY(rig.dialogs.boxes.empty());
    QCOMPARE(Q(rig.port.Settings()), QStringLiteral("19200,N,8,2"));
    QCOMPARE(rig.shown("cboPort"), QStringLiteral("Com1"));
    QCOMPARE(rig.child<QLineEdit>("txtDevice")->text(), link(1));
    QCOMPARE(rig.shown("cboSpeed"), QStringLiteral("19200"));
    QCOMPARE(rig.shown("cboParity"), QStringLiteral("None"));
    QCOMPARE(rig.shown("cboDataBits"), QStringLiteral("8"));
    QCOMPARE(rig.shown("cboStopBits"), QStringLiteral("2"));
    QVERIFY(rig.child<QRadioButton>("optFlow2")->isChecked());
    QVERIFY(rig.child<QRadioButton>("optEcho0")->isChecked());
    QCOMPARE(rig.child<QPushButton>("cmdTest")->toolTip(),
             QStringLiteral("Alle Schnittstellen 1 - 16 werden angesprochen"));

    QVERIFY(rig.port.SetPortOpen(true));
    rig.dlg.show();
    rig.child<QRadioButton>("optEcho1")->click();
    rig.child<QRadioButton>("optFlow0")->click();
    rig.child<QComboBox>("cboStopBits")->setCurrentIndex(1);
    rig.child<QPushButton>("cmdOK")->click();
    QVERIFY(rig.dialogs.boxes.empty());
    QVERIFY(!rig.dlg.isVisible());
    QVERIFY(rig.dlg.IsLoaded());
    QVERIFY(rig.port.PortOpen());
    QCOMPARE(Q(rig.dlg.ComStatus()), QStringLiteral("COM 1,19200,N,8,1.5 active"));
    QCOMPARE(Q(rig.settings.Get(kAppTitle, "Einstellungen", "Echo", "")), QStringLiteral("True"));

    test::PortDialogRig next; // the next start
    next.dlg.Load();
    QVERIFY(next.child<QRadioButton>("optEcho1")->isChecked());
    QVERIFY(next.child<QRadioButton>("optFlow0")->isChecked());
    QCOMPARE(next.shown("cboStopBits"), QStringLiteral("1.5"));
}

void TstDialogs::okWithAMissingDeviceThenAnotherDevicePath() {
    test::SimProcess sim(link(1));
    QVERIFY(sim.running());
    test::PortDialogRig rig;
    rig.dlg.Load();
    QVERIFY(rig.port.SetPortOpen(true));
    rig.dlg.show();
    rig.child<QComboBox>("cboPort")->setCurrentIndex(2);
    QCOMPARE(rig.child<QLineEdit>("txtDevice")->text(), link(3));
    rig.child<QPushButton>("cmdOK")->click();
    QCOMPARE(rig.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(rig.dialogs.boxes[0].icon, BoxIcon::Exclamation);
    QCOMPARE(Q(rig.dialogs.boxes[0].title), QStringLiteral("Quandel"));
    QVERIFY(rig.dlg.isVisible());
    QCOMPARE(rig.port.CommPort(), 1);
    QVERIFY(!rig.port.PortOpen());

    // COM3 now means the simulator: the port moves there and opens.
    auto *device = rig.child<QLineEdit>("txtDevice");
    device->selectAll();
    QTest::keyClicks(device, link(1));
    rig.child<QPushButton>("cmdOK")->click();
    QCOMPARE(rig.dialogs.boxes.size(), std::size_t(1));
    QVERIFY(!rig.dlg.isVisible());
    QCOMPARE(rig.port.CommPort(), 3);
    QCOMPARE(Q(rig.settings.Get(kAppTitle, kDeviceSection, "COM3", "")), link(1));
    QCOMPARE(Q(rig.settings.Get(kAppTitle, "Einstellungen", Cp1252("COM-Anschluß"), "")),
             QStringLiteral("3"));
}

void TstDialogs::scanReportsTheSimulatorsAndCancelUnloads() {
    test::SimProcess two(link(2)), five(link(5));
    QVERIFY(two.running() && five.running());
    test::PortDialogRig rig;
    rig.dlg.Load();
    rig.dlg.show();
    rig.child<QPushButton>("cmdTest")->click();
    QCOMPARE(rig.dialogs.boxes.size(), std::size_t(1));
    QCOMPARE(Q(rig.dialogs.boxes[0].text),
             QStringLiteral(" COM 2 verfügbar!\r COM 5 verfügbar!\r"));
    QCOMPARE(Q(rig.dialogs.boxes[0].title), QStringLiteral("Einstellungen"));
    QVERIFY(rig.child<QLabel>("lblNr")->isHidden());
    QCOMPARE(rig.child<QLabel>("lblNr")->text(), QString());
    QCOMPARE(rig.shown("cboPort"), QStringLiteral("Com1")); // the lists are untouched
    QVERIFY(rig.child<QPushButton>("cmdOK")->isEnabled());

    rig.child<QPushButton>("cmdCancel")->click();
    QVERIFY(!rig.dlg.IsLoaded());
    QVERIFY(!rig.dlg.isVisible());
    QCOMPARE(Q(rig.dlg.ComStatus()), QStringLiteral("COM 64,9600,N,8,1 not active"));
}

void TstDialogs::escapeUnloadsOkKeepsLoaded() {
    test::PortDialogRig rig;
    rig.dlg.Load();
    QTimer::singleShot(0, &rig.dlg, [&] { QTest::keyClick(&rig.dlg, Qt::Key_Escape); });
    rig.dlg.ShowModal();
    QVERIFY(!rig.dlg.IsLoaded());
    QTimer::singleShot(0, &rig.dlg, [&] { rig.child<QPushButton>("cmdOK")->click(); });
    rig.dlg.ShowModal(); // loads afresh
    QVERIFY(rig.dlg.IsLoaded());
    QVERIFY(!rig.dlg.isVisible());
    QCOMPARE(Q(rig.settings.Get(kAppTitle, "Einstellungen", "Einstellungen", "")),
             QStringLiteral("9600,N,8,1"));
}

void TstDialogs::okAfterAFailedLoadKeepsNoHandshaking_data() {
    QTest::addColumn<QByteArray>("lines"); // of section [Einstellungen], as found in the file
    QTest::newRow("handshaking the port refuses") << QByteArray("Handshaking=-7\n");
    QTest::newRow("unreadable port number") << QByteArray("COM-Anschlu%DF=zwei\nHandshaking=2\n");
    QTest::newRow("settings text the port refuses")
        << QByteArray("Einstellungen=9600,X,8,1\nHandshaking=3\n");
    QTest::newRow("bytes instead of a settings text")
        << QByteArray("Einstellungen=@ByteArray(\xff\x01)\nHandshaking=1\n");
}

void TstDialogs::okAfterAFailedLoadKeepsNoHandshaking() {
    QFETCH(QByteArray, lines);
    QByteArray ini = test::FileBytes(settings_->iniPath());
    QVERIFY(ini != "<missing>");
    QVERIFY(test::WriteFileBytes(settings_->iniPath(), ini + "\n[Einstellungen]\n" + lines));
    test::PortDialogRig rig;
    rig.dlg.Load();
    QCOMPARE(rig.dialogs.boxes.size(), std::size_t(1)); // the refusal
    QVERIFY(!rig.dlg.Form()->ListsBuilt());
    QVERIFY(rig.child<QRadioButton>("optFlow0")->isChecked()); // what OK applies

    rig.dlg.show();
    rig.child<QPushButton>("cmdOK")->click();
    QCOMPARE(rig.dialogs.boxes.size(), std::size_t(1));
    QVERIFY(!rig.dlg.isVisible());
    QCOMPARE(rig.port.Handshaking(), 0);
    QCOMPARE(Q(rig.settings.Get(kAppTitle, "Einstellungen", "Handshaking", "")),
             QStringLiteral("0"));
    QCOMPARE(Q(rig.settings.Get(kAppTitle, "Einstellungen", "Echo", "")), QStringLiteral("False"));
}

void TstDialogs::asciiTableIsOneWindowWithItsGrid() {
    QWidget owner;
    FrmAscii *table = FrmAscii::ShowTable(&owner);
    QCOMPARE(FrmAscii::ShowTable(&owner), table);
    QCOMPARE(owner.findChildren<FrmAscii *>().size(), qsizetype(1));
    QVERIFY(table->isVisible());
    QCOMPARE(table->windowTitle(), QStringLiteral("ASCII-Tabelle"));
    const struct {
        int row, column;
        QString text;
    } cells[] = {{0, 2, "Zeichen"}, {1, 2, "NULL"}, {1, 10, "€"}, {33, 2, "SPACE"},
                 {34, 0, "21"},     {34, 1, " 33"}, {34, 2, "!"}, {64, 12, "FF"},
                 {64, 13, " 255"},  {64, 14, "ÿ"},  {2, 10, "□"}, {64, 6, "□"}};
    for (const auto &c : cells)
        QCOMPARE(table->CellText(c.row, c.column), c.text);
    QCOMPARE(table->Grid()->item(1, 10)->toolTip(), QStringLiteral("nicht belegt"));
    const double dpi = table->screen()->logicalDotsPerInchX();
    QCOMPARE(table->Grid()->columnWidth(2), TwipsToPixels(800, dpi));
    QCOMPARE(table->Grid()->columnWidth(3), TwipsToPixels(100, dpi));

    const QRect before = table->Grid()->geometry();
    table->resize(table->size() + QSize(60, 40));
    QTRY_COMPARE(table->Grid()->geometry().size(), before.size() + QSize(60, 40));
    QCOMPARE(table->Grid()->geometry().topLeft(), before.topLeft());
    table->resize(1, 1);
    QVERIFY(table->Grid()->width() > 0 && table->Grid()->height() > 0);

    QPointer<FrmAscii> closed = table;
    table->close();
    QTRY_VERIFY(closed.isNull());
    QVERIFY(FrmAscii::ShowTable(&owner) != nullptr);
}

void TstDialogs::aboutBox_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
}

void TstDialogs::aboutBox() {
    QFETCH(int, key);
    QFETCH(int, result);
    test::ScriptedDialogs dialogs;
    NoStart starter;
    FrmAbout box(dialogs, PlatformRegistry(), starter);
    QCOMPARE(box.windowTitle(), QStringLiteral("Info zu Quandel"));
    QCOMPARE(box.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Quandel"));
    QCOMPARE(box.findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 1.10.7"));
    QCOMPARE(box.findChild<QLabel *>("lblDescription")->text(),
             QStringLiteral("Softwaretool zum Lesen und Schreiben von Parametern in den Velnor."));
    QCOMPARE(box.findChild<QFrame *>("linSeparator")->frameShadow(), QFrame::Sunken);
    box.show();
    box.findChild<QPushButton *>("cmdSysInfo")->click();
    QCOMPARE(dialogs.boxes.size(), std::size_t(1)); // no registry, nothing installed
    QVERIFY(box.isVisible());
    QTest::keyClick(&box, Qt::Key(key));
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), result);
}

void TstDialogs::basicManual_data() {
    QTest::addColumn<QString>("manual"); // relative to the prefix; empty for none
    QTest::addColumn<bool>("opens");
    QTest::newRow("missing") << QString() << true;
    QTest::newRow("maker's beside the program")
        << QStringLiteral("bin/Veno-Help/index.html") << true;
    QTest::newRow("shipped") << QStringLiteral("share/quandel/manual/index.html") << true;
    QTest::newRow("present, no viewer")
        << QStringLiteral("share/quandel/manual/index.html") << false;
}

void TstDialogs::basicManual() {
    QFETCH(QString, manual);
    QFETCH(bool, opens);
    QTemporaryDir prefix;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString path = manual.isEmpty() ? QString() : prefix.filePath(manual);
    if (!manual.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    test::ScriptedDialogs dialogs;
    QList<QUrl> opened;
    ShowBasicManual(dialogs, bin, [&](const QUrl &url) {
        opened << url;
        return opens;
    });
    QCOMPARE(opened, manual.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(path)});
    const bool message = manual.isEmpty() || !opens;
    QCOMPARE(dialogs.boxes.size(), std::size_t(message ? 1 : 0));
    if (!message)
        return;
    const QString text = FromCp1252(dialogs.boxes[0].text);
    if (manual.isEmpty())
        QCOMPARE(text, QStringLiteral("Das BASIC-Manual wurde nicht gefunden:\r") + bin +
                           QStringLiteral("/Veno-Help/index.html\r") + prefix.path() +
                           QStringLiteral("/share/quandel/manual/index.html"));
    else
        QVERIFY2(
            text.startsWith(QStringLiteral("Das BASIC-Manual konnte nicht geöffnet werden:\r") +
                            path + QStringLiteral("\r\rEs ist kein Webbrowser")),
            qPrintable(text));
}

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
