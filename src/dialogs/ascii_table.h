#pragma once

#include "core/twips.h"

#include <optional>
#include <string>

namespace quandel {

// The ASCII table: 65 rows (row 0 the header) by 15 columns, four blocks of
// three columns ("HEX", "dez", "Zeichen") with narrow empty columns between
// them. Block b shows the codes 64·b … 64·b + 63, one per row.
inline constexpr int kAsciiRows = 65;
inline constexpr int kAsciiColumns = 15;

int AsciiColumnWidthTwips(int column);

// The code a cell of rows 1..64 shows; none for the header row and the
// separator columns.
std::optional<int> AsciiCellCode(int row, int column);

// Text of a cell, Windows-1252: the header words, "00".."FF", " 0".." 255",
// the character itself or, for the codes 0 to 32, its name.
std::string AsciiCellText(int row, int column);

// The character column of a code that has no visible character of its own
// in Windows-1252 (127 and the five unassigned codes) is drawn as a
// placeholder; this names what the cell stands for, empty otherwise.
std::string AsciiPlaceholderNote(int code);

// Where the grid goes in a window with the given client size, in twips: at
// 100, 500, growing and shrinking with the window, never smaller than a
// usable minimum.
Rect AsciiGridRect(int clientWidthTwips, int clientHeightTwips);
inline constexpr int kAsciiMinGridWidth = 1900;  // one block
inline constexpr int kAsciiMinGridHeight = 1000; // a few rows

} // namespace quandel
