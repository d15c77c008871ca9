#pragma once

#include "app/app_services.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "app/qt_user_dialogs.h"
#include "core/clock.h"
#include "port/qt_serial_device_list.h"
#include "port/qt_serial_port.h"

class QApplication;

namespace quandel {

// Names the application (they place the settings file) and installs the
// German texts of Qt's own dialogs.
void SetUpApplication(QApplication &app);

// The real outside world of the desktop program: the user's settings, modal
// boxes, the event loop, the clock, the serial port whose numbers map to
// devices through those settings, and the serial devices present.
class DesktopServices {
public:
    DesktopServices();
    AppServices Services() { return {settings_, dialogs_, port_, events_, clock_, devices_}; }

private:
    QSettingsStore settings_;
    QtUserDialogs dialogs_;
    QtEventPump events_;
    SteadyClock clock_;
    QtSerialPort port_;
    QtSerialDeviceList devices_;
};

} // namespace quandel
