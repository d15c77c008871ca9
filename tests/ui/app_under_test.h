#pragma once

#include "app/frm_main.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "core/clock.h"
#include "port/device_map.h"
#include "port/qt_serial_port.h"
#include "support/qt_support.h"
#include "support/scripted_devices.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace quandel::test {

// The real main window with real settings (in the caller's temporary folder)
// and a real serial port; only the modal boxes and the list of the serial
// devices present are scripted.
struct AppUnderTest {
    QSettingsStore settings;
    ScriptedDialogs dialogs;
    QtEventPump events;
    SteadyClock clock;
    QtSerialPort port{[this](int number) {
        return DeviceFor(number, settings);
    }};
    ScriptedDeviceList devices; // what the port dialog lists
    FrmMain window{{settings, dialogs, port, events, clock, devices}};

    template <typename T = QWidget> T *child(const char *name) {
        return window.findChild<T *>(QString::fromLatin1(name));
    }
};

// Maps COM1 to `device` in the store the next app will read.
inline void MapCom1(const QString &device) {
    QSettingsStore store;
    store.Save(kAppTitle, kDeviceSection, "COM1", device.toStdString());
}

// One test's surroundings for the app against the simulator: settings in a
// fresh folder with COM1 mapped to the simulator's link, a path for the
// simulator's log of what it received, and a folder for the test's files.
struct SimRig {
    TempSettings settings;
    QTemporaryDir dir;
    QString link = dir.filePath(QStringLiteral("velnor"));
    QString log = dir.filePath(QStringLiteral("received.log"));

    SimRig() { MapCom1(link); }
    // What the simulator has received so far ("<missing>" before its first byte).
    QByteArray Log() const { return FileBytes(log); }
    // Writes a file into the folder; its path, or empty when that failed.
    QString Write(const QString &name, const QByteArray &bytes) const {
        const QString path = dir.filePath(name);
        return WriteFileBytes(path, bytes) ? path : QString();
    }
};

// Starts the whole app against a running simulator and waits for its sign-on.
inline bool StartAgainst(AppUnderTest &app, const SimProcess &sim) {
    if (!sim.running())
        return false;
    app.window.Startup();
    app.window.show();
    if (!QTest::qWaitForWindowExposed(&app.window))
        return false;
    auto *term = app.window.findChild<QPlainTextEdit *>(QStringLiteral("rtbTerm"));
    return QTest::qWaitFor([&] { return term->toPlainText().contains(QStringLiteral("READY")); },
                           5000);
}

} // namespace quandel::test
