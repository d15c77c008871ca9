#include "core/text_lines.h"

namespace quandel {

TextLines SplitLines(std::string_view text) {
    TextLines out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find_first_of("\r\n", start)) != std::string_view::npos;) {
        out.lines.emplace_back(text.substr(start, end - start));
        start = end + LineEndAt(text, end);
    }
    out.rest = std::string(text.substr(start));
    return out;
}

} // namespace quandel
