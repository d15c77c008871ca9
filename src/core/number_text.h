#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quandel {

// " 12" for 12, "-3" for -3: the digits after one blank for zero and above,
// after the minus sign below zero.
std::string NumberText(std::int64_t n);

// Decimal text without the leading blank.
std::string DecimalText(std::int64_t n);

// Reads a whole number stored as decimal text. Blanks around it are allowed;
// anything else (letters, an empty text, a value beyond 32 bits) is refused,
// so the caller can treat it as a failed step.
std::optional<std::int32_t> ParseStoredNumber(std::string_view text);

// Converts UTF-8 source text to Windows-1252. Meant for the program's own
// literal texts; a character outside Windows-1252 becomes '?'.
std::string Cp1252(std::string_view utf8);

} // namespace quandel
