#include "dialogs/registry_reader.h"

#include <cstdio>

#ifdef _WIN32
// Only here: <windows.h> defines MessageBox and friends as macros, which
// would clash with UserDialogs elsewhere.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#endif

namespace quandel {

namespace {

constexpr std::size_t kValueBufferSize = 1024;

#ifdef _WIN32
class WindowsRegistry final : public RegistryReader {
public:
    std::optional<RegistryValue> Read(std::uint32_t root, const std::string &keyName,
                                      const std::string &valueName) override {
        // Predefined root handles are sign-extended 32-bit values.
        const HKEY rootKey = reinterpret_cast<HKEY>(
            static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::int32_t>(root))));
        HKEY key = nullptr;
        // Read access is all this needs; asking for write rights on the
        // machine-wide keys fails for every user without administrator rights.
        if (RegOpenKeyExA(rootKey, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0;
        DWORD size = 0;
        std::optional<RegistryValue> value;
        if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS) {
            std::string data(size, '\0');
            if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE *>(data.data()), &size) == ERROR_SUCCESS) {
                data.resize(size);
                value = RegistryValue{type, std::move(data)};
            }
        }
        RegCloseKey(key);
        return value;
    }
};
using PlatformRegistryReader = WindowsRegistry;
#else
class NoRegistry final : public RegistryReader {
public:
    std::optional<RegistryValue> Read(std::uint32_t, const std::string &,
                                      const std::string &) override {
        return std::nullopt;
    }
};
using PlatformRegistryReader = NoRegistry;
#endif

} // namespace

RegistryReader &PlatformRegistry() {
    static PlatformRegistryReader registry;
    return registry;
}

bool GetKeyValue(RegistryReader &registry, std::uint32_t keyRoot, const std::string &keyName,
                 const std::string &subKeyRef, std::string &keyVal) {
    const std::optional<RegistryValue> value = registry.Read(keyRoot, keyName, subKeyRef);
    if (!value || value->data.size() > kValueBufferSize) {
        keyVal.clear();
        return false;
    }
    switch (value->type) {
    case kRegString: {
        std::string text = value->data;
        if (!text.empty() && text.back() == '\0')
            text.pop_back();
        keyVal = text;
        break;
    }
    case kRegDword: {
        std::uint32_t number = 0;
        for (std::size_t i = value->data.size(); i-- > 0;)
            number = number << 8 | static_cast<unsigned char>(value->data[i]);
        char digits[16];
        std::snprintf(digits, sizeof digits, "&h%08X", unsigned(number));
        keyVal = digits;
        break;
    }
    default:
        break;
    }
    return true;
}

} // namespace quandel
