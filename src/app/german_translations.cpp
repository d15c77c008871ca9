#include "app/german_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quandel {

void InstallGermanTranslations(QCoreApplication &app) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_de", "qtserialport_de"}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), dir))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace quandel
