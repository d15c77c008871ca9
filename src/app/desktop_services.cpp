#include "app/desktop_services.h"

#include "app/german_translations.h"
#include "port/device_map.h"

#include <QApplication>

namespace quandel {

void SetUpApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Quandel"));
    QApplication::setOrganizationName(QStringLiteral("Quandel"));
    InstallGermanTranslations(app);
}

DesktopServices::DesktopServices()
    : port_([this](int number) { return DeviceFor(number, settings_); }) {}

} // namespace quandel
