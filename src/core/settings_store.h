#pragma once

#include <string>

namespace quandel {

// The per-user store of string values, addressed by application, section and
// key. Texts are Windows-1252 byte strings like every text of the core.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value, or `fallback` when the key is missing or unreadable.
    virtual std::string Get(const std::string &app, const std::string &section,
                            const std::string &key, const std::string &fallback) const = 0;
    virtual void Save(const std::string &app, const std::string &section, const std::string &key,
                      const std::string &value) = 0;
};

// Every caller uses the application title as the application part.
inline constexpr const char *kAppTitle = "Quandel";

} // namespace quandel
