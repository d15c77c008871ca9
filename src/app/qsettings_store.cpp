#include "app/qsettings_store.h"

#include "app/cp1252_codec.h"

#include <QSettings>
#include <QStringList>

namespace quandel {

namespace {

QString KeyPath(const std::string &section, const std::string &key) {
    return FromCp1252(section) + QLatin1Char('/') + FromCp1252(key);
}

} // namespace

std::string QSettingsStore::Get(const std::string &app, const std::string &section,
                                const std::string &key, const std::string &fallback) const {
    const QString name = FromCp1252(app);
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, name, name);
    const QVariant value = settings.value(KeyPath(section, key));
    if (!value.isValid())
        return fallback;
    // A hand-edited file may hold an unquoted value with commas, which
    // QSettings reads as a list: give it back as the text it was.
    if (value.typeId() == QMetaType::QStringList)
        return ToCp1252(value.toStringList().join(QLatin1Char(',')));
    if (!value.canConvert<QString>())
        return fallback;
    return ToCp1252(value.toString());
}

void QSettingsStore::Save(const std::string &app, const std::string &section,
                          const std::string &key, const std::string &value) {
    const QString name = FromCp1252(app);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, name, name);
    settings.setValue(KeyPath(section, key), FromCp1252(value));
    settings.sync();
}

} // namespace quandel
