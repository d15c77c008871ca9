#include "app/path_report.h"

#include "dialogs/manual_lookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace quandel {

int ReportPaths(std::ostream &out) {
    const QString exeFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    const ManualLookup manual = FindManual(exeFolder.toStdString());
    if (manual.found.empty()) {
        out << "Handbuch: nicht gefunden, gesucht:";
        for (const std::string &path : manual.searched)
            out << ' ' << path;
        out << '\n';
    } else {
        out << "Handbuch: " << manual.found << '\n';
    }
    // The same text the message boxes' "Yes" button takes from qtbase_de.
    const bool german =
        QCoreApplication::translate("QPlatformTheme", "&Yes") == QLatin1String("&Ja");
    out << "Qt-Übersetzungen: " << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString()
        << (german ? " (deutsch)" : " (nicht geladen)") << '\n';
    return !manual.found.empty() && german ? 0 : 1;
}

} // namespace quandel
