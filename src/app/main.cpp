#include "app/frm_main.h"
#include "app/german_translations.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "app/qt_user_dialogs.h"
#include "core/clock.h"
#include "port/device_map.h"
#include "port/qt_serial_port.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quandel"));
    QApplication::setOrganizationName(QStringLiteral("Quandel"));
    quandel::InstallGermanTranslations(app);

    quandel::QSettingsStore settings;
    quandel::QtUserDialogs dialogs;
    quandel::QtEventPump events;
    quandel::SteadyClock clock;
    quandel::QtSerialPort port(
        [&settings](int number) { return quandel::DeviceFor(number, settings); });

    quandel::FrmMain window({settings, dialogs, port, events, clock});
    window.Startup();
    window.show();
    return app.exec();
}
