#include "dialogs/manual_lookup.h"

#include "dialogs/help_texts.h"

#include <filesystem>
#include <system_error>

namespace quandel {

namespace {

namespace fs = std::filesystem;

// UTF-8 text and paths: std::filesystem reads a plain std::string in the
// ANSI code page on Windows, a char8_t string as UTF-8 everywhere.
fs::path PathFromUtf8(const std::string &text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const fs::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool IsFile(const std::string &path) {
    std::error_code error; // unreadable counts as missing
    return fs::is_regular_file(PathFromUtf8(path), error);
}

} // namespace

std::string ShippedManualPath(const std::string &exeFolder) {
    fs::path folder = PathFromUtf8(exeFolder).lexically_normal();
    const fs::path prefix = (folder / "..").lexically_normal();
    return Utf8FromPath((prefix / "share" / "quandel" / "manual" / "index.html").make_preferred());
}

ManualLookup FindManual(const std::string &exeFolder) {
    ManualLookup lookup;
    for (const std::string &path : {ManualPath(exeFolder), ShippedManualPath(exeFolder)}) {
        lookup.searched.push_back(path);
        if (IsFile(path)) {
            lookup.found = path;
            break;
        }
    }
    return lookup;
}

} // namespace quandel
