// The serial devices the port dialog lists: scripted enumerations in the
// real dialog with real settings, the system's own list, and a stable name
// that leads to a velnor-sim pty through the real port, lost and found again.
#include "app/cp1252_codec.h"
#include "app/status_panel.h"
#include "dialogs/frm_properties.h"
#include "port/qt_serial_device_list.h"
#include "ui/app_under_test.h"
#include "ui/port_dialog_rig.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace quandel;
using Devices = std::vector<SerialDeviceInfo>;
Q_DECLARE_METATYPE(Devices)

namespace {

const QString kNone = QStringLiteral("Keine seriellen Geräte gefunden");
const QString kAbsent = QStringLiteral("  (nicht vorhanden)");

QStringList Entries(const QComboBox *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// The user steps down the closed list with the arrow key; each step
// chooses the entry it lands on, and the list is built anew.
void StepDown(QComboBox *list, int steps) {
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

SerialDeviceInfo Ftdi(const char *n, const char *serial) {
    return {std::string("/dev/ttyUSB") + n,
            std::string("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_") + serial + "-if00-port0",
            "FT232R USB UART", "FTDI", serial};
}

QString FtdiName(const char *serial) {
    return QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_%1-if00-port0")
        .arg(QLatin1String(serial));
}

} // namespace

class TstDeviceList : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dialogListsAndStoresTheChosenDevice_data();
    void dialogListsAndStoresTheChosenDevice();
    void systemListNamesEveryDevice();
    void stableNameOfASimulatorSurvivesItsLoss();

private:
    QString stored() const { return dir_.filePath(QStringLiteral("com1")); }

    test::TempSettings *settings_ = nullptr;
    QTemporaryDir dir_;
};

void TstDeviceList::init() {
    settings_ = new test::TempSettings;
    test::MapCom1(stored()); // absent until a test makes it
}

void TstDeviceList::cleanup() {
    delete settings_;
}

void TstDeviceList::dialogListsAndStoresTheChosenDevice_data() {
    QTest::addColumn<Devices>("devices");
    QTest::addColumn<QStringList>("entries"); // when the dialog shows
    QTest::addColumn<int>("steps");           // arrow-key steps down the list
    QTest::addColumn<QString>("typed");       // then typed into the device field, if anything
    QTest::addColumn<QString>("field");       // the device field after that
    QTest::addColumn<QStringList>("after");   // the entries then

    const QString a1 = FtdiName("A1"), b2 = FtdiName("B2");
    const QString own = dir_.filePath(QStringLiteral("eigenes-geraet"));
    QTest::newRow("an adapter with a stable name")
        << Devices{Ftdi("0", "A1")}
        << QStringList{stored() + kAbsent,
                       a1 + QStringLiteral("  (ttyUSB0, FT232R USB UART, FTDI)")}
        << 1 << QString() << a1
        << QStringList{a1 + QStringLiteral("  (ttyUSB0, FT232R USB UART, FTDI)")};
    QTest::newRow("no device present: the field still takes a path")
        << Devices{} << QStringList{stored() + kAbsent, kNone} << 1 << own << own
        << QStringList{own + kAbsent, kNone};
    // The first step chooses A1, whose list then starts with it; the second B2.
    QTest::newRow("two adapters with one description")
        << Devices{Ftdi("1", "B2"), Ftdi("0", "A1")}
        << QStringList{stored() + kAbsent,
                       a1 + QStringLiteral("  (ttyUSB0, FT232R USB UART, FTDI, Seriennummer A1)"),
                       b2 + QStringLiteral("  (ttyUSB1, FT232R USB UART, FTDI, Seriennummer B2)")}
        << 2 << QString() << b2
        << QStringList{a1 + QStringLiteral("  (ttyUSB0, FT232R USB UART, FTDI, Seriennummer A1)"),
                       b2 + QStringLiteral("  (ttyUSB1, FT232R USB UART, FTDI, Seriennummer B2)")};
}

void TstDeviceList::dialogListsAndStoresTheChosenDevice() {
    QFETCH(Devices, devices);
    QFETCH(QStringList, entries);
    QFETCH(int, steps);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QStringList, after);

    test::PortDialogRig rig;
    rig.devices.devices = devices;
    rig.dlg.Load();
    rig.dlg.show();
    auto *list = rig.child<QComboBox>("cboDevices");
    auto *device = rig.child<QLineEdit>("txtDevice");
    QVERIFY(list && list->isEnabled());
    QCOMPARE(list->accessibleDescription(), QStringLiteral("cboDevices"));
    QCOMPARE(Entries(list), entries);
    QCOMPARE(list->currentIndex(), 0); // the stored device, absent
    QCOMPARE(device->text(), stored());

    StepDown(list, steps);
    if (!typed.isEmpty()) {
        device->selectAll();
        QTest::keyClicks(device, typed);
    }
    QCOMPARE(device->text(), field);
    QCOMPARE(Entries(list), after);
    QCOMPARE(list->currentText().left(field.size()), field);

    rig.child<QPushButton>("cmdOK")->click();
    QVERIFY(rig.dialogs.boxes.empty());
    QVERIFY(!rig.dlg.isVisible());
    QCOMPARE(FromCp1252(QSettingsStore().Get(kAppTitle, kDeviceSection, "COM1", "")), field);

    // The next showing asks again: the adapter was pulled meanwhile.
    rig.devices.devices.clear();
    rig.dlg.show();
    QCOMPARE(Entries(list), (QStringList{field + kAbsent, kNone}));
    QCOMPARE(device->text(), field);
    // Plugged in again while the dialog shows: "Neu einlesen" finds it.
    rig.devices.devices = devices;
    rig.child<QPushButton>("cmdRefresh")->click();
    QCOMPARE(Entries(list), after);
}

void TstDeviceList::systemListNamesEveryDevice() {
    // Whatever this machine has (often nothing): every entry has a path, and
    // a stable name is a link in the by-id folder that leads to it.
    const Devices present = QtSerialDeviceList().Present();
    for (const SerialDeviceInfo &device : present) {
        QVERIFY(!device.path.empty());
        if (!device.stablePath.empty()) {
            QVERIFY(device.stablePath.starts_with(std::string(kByIdFolder) + "/"));
            QVERIFY(SameDevice(device.stablePath, device.path));
        }
    }
    // An empty folder of stable names gives none, and the same devices.
    const Devices plain = QtSerialDeviceList(ToCp1252(dir_.path())).Present();
    QCOMPARE(plain.size(), present.size());
    for (const SerialDeviceInfo &device : plain)
        QVERIFY(device.stablePath.empty());
}

void TstDeviceList::stableNameOfASimulatorSurvivesItsLoss() {
    const QString byId = dir_.filePath(QStringLiteral("by-id"));
    QVERIFY(QDir().mkpath(byId));
    const QString stable = byId + QStringLiteral("/usb-Velnor_KV-Simulator_0001-if00-port0");
    const QStringList quick{QStringLiteral("--busy-scale"), QStringLiteral("0")};
    auto sim = std::make_unique<test::SimProcess>(stable, quick);
    QVERIFY(sim->running());
    // The simulator's pty is found under the name in the folder, as udev's
    // adapters are under /dev/serial/by-id.
    const std::string pty = ToCp1252(sim->ptyPath());
    QCOMPARE(FromCp1252(StableNameFor(pty, ToCp1252(byId))), stable);

    test::AppUnderTest app;
    app.devices.devices = {
        {pty, StableNameFor(pty, ToCp1252(byId)), "KV-Simulator", "Velnor", "0001"}};
    auto *status = app.child<StatusPanel>("Status");
    auto *message = app.child<QLabel>("Meldung");
    app.window.Startup();
    QVERIFY(!app.port.PortOpen()); // COM1 means a device that is not there

    // The user picks the simulator in the port dialog and opens the port.
    QStringList shown;
    QTimer::singleShot(0, &app.window, [&] {
        FrmProperties &dlg = app.window.Properties();
        auto *list = dlg.findChild<QComboBox *>(QStringLiteral("cboDevices"));
        shown = Entries(list);
        StepDown(list, 1);
        dlg.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    app.window.findChild<QAction *>(QStringLiteral("mnuProperties"))->trigger();
    QCOMPARE(
        shown,
        (QStringList{
            stored() + kAbsent,
            stable + QStringLiteral("  (%1, KV-Simulator, Velnor)").arg(sim->ptyPath().mid(5))}));
    QCOMPARE(FromCp1252(app.settings.Get(kAppTitle, kDeviceSection, "COM1", "")), stable);
    app.window.findChild<QAction *>(QStringLiteral("mnuComOpen"))->trigger();
    QVERIFY(app.dialogs.boxes.empty());
    QCOMPARE(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"));

    // Unplugged: the stable name goes with the device.
    sim.reset();
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 not active"), 5000);
    QVERIFY(!QFileInfo(stable).isSymLink());
    QVERIFY(app.window.Connection().WatchingForDevice());
    // The dialog says so, and leaving it keeps the watch.
    app.devices.devices.clear();
    QString current;
    QTimer::singleShot(0, &app.window, [&] {
        FrmProperties &dlg = app.window.Properties();
        current = dlg.findChild<QComboBox *>(QStringLiteral("cboDevices"))->currentText();
        dlg.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
    });
    app.window.findChild<QAction *>(QStringLiteral("mnuProperties"))->trigger();
    QCOMPARE(current, stable + kAbsent);
    QVERIFY(app.window.Connection().WatchingForDevice());
    QVERIFY(message->text().contains(QStringLiteral("warte auf das Gerät")));

    // Plugged in again (another pty, the same stable name): reconnected.
    test::SimProcess again(stable, quick);
    QVERIFY(again.running());
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM 1,9600,N,8,1 active"), 5000);
    QVERIFY(message->text().contains(QStringLiteral("wiederhergestellt")));
    QVERIFY(app.dialogs.boxes.empty());
}

QTEST_MAIN(TstDeviceList)
#include "tst_device_list.moc"
