#include "core/native_path.h"

#include <array>
#include <cstdint>

namespace quandel {

namespace {

// Code points of 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string &out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::string Cp1252ToUtf8Text(const std::string &cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (const char ch : cp1252) {
        const auto code = static_cast<unsigned char>(ch);
        AppendUtf8(out, code >= 0x80 && code < 0xA0 ? kHighControls[code - 0x80] : code);
    }
    return out;
}

std::filesystem::path NativePath(const std::string &cp1252) {
#ifdef _WIN32
    return std::filesystem::path(cp1252); // the ANSI code page
#else
    const std::string utf8 = Cp1252ToUtf8Text(cp1252);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

} // namespace quandel
