#pragma once

#include "app/cp1252_codec.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "dialogs/frm_properties.h"
#include "port/device_map.h"
#include "port/qt_serial_port.h"
#include "support/scripted_devices.h"
#include "support/scripted_dialogs.h"

#include <QComboBox>

namespace quandel::test {

// The port settings dialog over the real serial port, with the settings of
// the test's temporary folder and a scripted device list (empty until the
// test fills it).
struct PortDialogRig {
    QSettingsStore settings;
    ScriptedDialogs dialogs;
    QtEventPump events{0};
    QtSerialPort port{[this](int n) {
        return DeviceFor(n, settings);
    }};
    ScriptedDeviceList devices;
    FrmProperties dlg{port, settings, dialogs, events, devices};

    template <typename T = QWidget> T *child(const char *name) {
        return dlg.findChild<T *>(QString::fromLatin1(name));
    }
    QString shown(const char *list) { return child<QComboBox>(list)->currentText(); }
    void store(const char *key, const char *value) {
        settings.Save(kAppTitle, "Einstellungen", Cp1252(key), value);
    }
};

} // namespace quandel::test
