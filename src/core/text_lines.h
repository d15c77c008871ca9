#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quandel {

// How long the line end is that starts at text[i]: 2 for CR LF, 1 for a CR
// or a lone LF, 0 for any other character (or i past the end). LF CR is two
// line ends, as a text file written on Linux and one written on Windows
// both end their lines. Every reader of text as lines splits by this rule.
inline std::size_t LineEndAt(std::string_view text, std::size_t i) {
    if (i >= text.size())
        return 0;
    if (text[i] == '\r')
        return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    return text[i] == '\n' ? 1 : 0;
}

// A text cut into lines: every line that has a line end, without it, and
// what follows the last line end (empty when the text ends with one).
struct TextLines {
    std::vector<std::string> lines;
    std::string rest;
};

TextLines SplitLines(std::string_view text);

} // namespace quandel
