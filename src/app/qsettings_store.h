#pragma once

#include "core/settings_store.h"

namespace quandel {

// The settings store over QSettings: INI format, user scope, organisation and
// application named after the application argument (Quandel/Quandel.ini).
class QSettingsStore final : public SettingsStore {
public:
    std::string Get(const std::string &app, const std::string &section, const std::string &key,
                    const std::string &fallback) const override;
    void Save(const std::string &app, const std::string &section, const std::string &key,
              const std::string &value) override;
};

} // namespace quandel
