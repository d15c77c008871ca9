#pragma once

class QCoreApplication;

namespace quandel {

// German for Qt's own texts (dialog buttons, serial port errors), whatever
// the system language is.
void InstallGermanTranslations(QCoreApplication &app);

} // namespace quandel
