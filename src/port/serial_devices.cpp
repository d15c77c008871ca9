#include "port/serial_devices.h"

#include "core/native_path.h"
#include "core/number_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace quandel {

namespace {

// The real file behind a path, empty when there is none.
fs::path RealFile(const fs::path &path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    return error ? fs::path() : real;
}

std::string Cp1252Name(const fs::path &path) {
    const std::u8string utf8 = path.u8string();
    return Cp1252(std::string_view(reinterpret_cast<const char *>(utf8.data()), utf8.size()));
}

} // namespace

std::string StableNameFor(const std::string &devicePath, const std::string &folder) {
    if (devicePath.empty() || folder.empty())
        return {};
    const fs::path device = RealFile(NativePath(devicePath));
    if (device.empty())
        return {};
    std::error_code error;
    fs::directory_iterator it(NativePath(folder), error);
    std::vector<fs::path> names;
    // A link that goes away while the folder is read just is not there.
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        if (it->is_symlink(entryError) && RealFile(it->path()) == device)
            names.push_back(it->path());
    }
    if (names.empty())
        return {};
    return Cp1252Name(*std::min_element(names.begin(), names.end()));
}

bool DeviceExists(const std::string &path) {
    return !path.empty() && !RealFile(NativePath(path)).empty();
}

bool SameDevice(const std::string &a, const std::string &b) {
    if (a == b)
        return true;
    if (a.empty() || b.empty())
        return false;
    const fs::path realA = RealFile(NativePath(a));
    return !realA.empty() && realA == RealFile(NativePath(b));
}

} // namespace quandel
