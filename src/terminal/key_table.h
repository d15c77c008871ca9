#pragma once

#include <array>
#include <string>

namespace quandel {

// Key codes of the terminal's key-down handler (the Windows virtual keys).
enum KeyCode : int {
    kKeyBack = 8,
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeyF1 = 112,
    kKeyF8 = 119,
};

// What a key sends to the controller on key-down; empty for other keys.
// `userTexts` are the texts of F5 to F8.
std::string KeyDownText(int keyCode, const std::array<std::string, 4> &userTexts);

} // namespace quandel
