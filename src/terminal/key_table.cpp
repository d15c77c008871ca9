#include "terminal/key_table.h"

namespace quandel {

std::string KeyDownText(int keyCode, const std::array<std::string, 4> &userTexts) {
    switch (keyCode) {
    case kKeyBack:
        return std::string(1, char(127));
    case kKeyEscape:
        return std::string(1, char(27));
    case kKeyF1:
        return "LIST ";
    case kKeyF1 + 1:
        return "RUN \r";
    case kKeyF1 + 2:
        return "CONT\r";
    case kKeyF1 + 3:
        return "PH0. ";
    default:
        if (keyCode >= kKeyF1 + 4 && keyCode <= kKeyF8)
            return userTexts[std::size_t(keyCode - kKeyF1 - 4)];
        return {};
    }
}

} // namespace quandel
