#include "dialogs/ascii_table.h"

#include "core/number_text.h"

#include <algorithm>

namespace quandel {

namespace {

constexpr const char *kNames[33] = {
    "NULL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BELL", "BS",  "HT",  "LF",
    "VT",   "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2",  "DC3", "DC4", "NAC",
    "SYN",  "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",   "RS",  "US",  "SPACE"};

bool InGrid(int row, int column) {
    return row >= 0 && row < kAsciiRows && column >= 0 && column < kAsciiColumns;
}

} // namespace

int AsciiColumnWidthTwips(int column) {
    if (column < 0 || column >= kAsciiColumns)
        return 0;
    if (column % 4 == 2)
        return 800;
    return column % 4 == 3 ? 100 : 500;
}

std::optional<int> AsciiCellCode(int row, int column) {
    if (!InGrid(row, column) || row == 0 || column % 4 == 3)
        return std::nullopt;
    return 64 * (column / 4) + row - 1;
}

std::string AsciiCellText(int row, int column) {
    if (!InGrid(row, column) || column % 4 == 3)
        return {};
    if (row == 0) {
        static constexpr const char *kHeader[] = {"HEX", "dez", "Zeichen"};
        return kHeader[column % 4];
    }
    const int code = *AsciiCellCode(row, column);
    switch (column % 4) {
    case 0: {
        static constexpr char kHex[] = "0123456789ABCDEF";
        return {kHex[code / 16], kHex[code % 16]};
    }
    case 1:
        return NumberText(code);
    default:
        return code <= 32 ? kNames[code] : std::string(1, char(code));
    }
}

std::string AsciiPlaceholderNote(int code) {
    switch (code) {
    case 127:
        return "DEL";
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
        return Cp1252("nicht belegt");
    default:
        return {};
    }
}

Rect AsciiGridRect(int clientWidthTwips, int clientHeightTwips) {
    // The layout counts in outer window sizes: width − 300 and height − 1000.
    // The outer size exceeds the client area by the borders (120 twips across)
    // and the caption with the borders (about 450 twips down).
    return {100, 500, std::max(kAsciiMinGridWidth, clientWidthTwips + 120 - 300),
            std::max(kAsciiMinGridHeight, clientHeightTwips + 450 - 1000)};
}

} // namespace quandel
