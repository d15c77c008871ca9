#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quandel {

// The root key of the machine-wide part of the Windows registry.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

// Registry value types as the registry reports them.
inline constexpr std::uint32_t kRegString = 1; // text
inline constexpr std::uint32_t kRegDword = 4;  // 32-bit number, little-endian

// One value as stored: its type and its raw bytes.
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;
};

// Read access to the registry. Windows reads the real one; elsewhere there
// is none and every look-up finds nothing.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // The value `valueName` of the key `keyName` under `root`; nothing when
    // the key cannot be opened for reading or holds no such value.
    virtual std::optional<RegistryValue> Read(std::uint32_t root, const std::string &keyName,
                                              const std::string &valueName) = 0;
};

RegistryReader &PlatformRegistry();

// Reads one registry value as text into `keyVal`; true when it was found.
// A string loses one terminating zero byte; a number becomes "&h" and eight
// hexadecimal digits; a value of another type leaves `keyVal` as it was.
// Values larger than 1024 bytes count as not found.
bool GetKeyValue(RegistryReader &registry, std::uint32_t keyRoot, const std::string &keyName,
                 const std::string &subKeyRef, std::string &keyVal);

} // namespace quandel
