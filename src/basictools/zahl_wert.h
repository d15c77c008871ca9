#pragma once

#include <cstdint>
#include <string_view>

namespace quandel {

// The number at the start of a text: blanks, tabs and line feeds before and
// inside it are skipped; an optional sign; digits with at most one decimal
// point; an optional exponent (E or D, either case, optional sign, digits);
// &H and &O select hexadecimal and octal digits. Reading stops at the first
// character that does not fit; no digits give 0. The value is rounded to the
// nearest integer, halves to the even neighbour. Throws ToolFailure when the
// result lies outside the signed 32-bit range.
std::int32_t ZahlWert(std::string_view text);

// The same value before rounding (for "greater than 0" tests that compare
// before rounding). Never throws; may be infinite for absurd exponents.
double ZahlWertUngerundet(std::string_view text);

} // namespace quandel
