#include "terminal/controller_error.h"

namespace quandel {

std::optional<ControllerError> ParseControllerError(std::string_view line) {
    constexpr std::string_view kError = "ERROR: ";
    constexpr std::string_view kInLine = " - IN LINE ";
    const std::size_t start = line.find(kError);
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::size_t at = line.find(kInLine, start);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::size_t i = at + kInLine.size();
    while (i < line.size() && line[i] == ' ')
        ++i;
    long number = 0;
    std::size_t digits = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && digits < 9; ++i, ++digits)
        number = number * 10 + (line[i] - '0');
    // Nothing but the line end may follow the number.
    while (i < line.size() && (line[i] == ' ' || line[i] == '\r' || line[i] == '\n'))
        ++i;
    if (digits == 0 || i != line.size())
        return std::nullopt;
    ControllerError e;
    e.message = std::string(line.substr(start + kError.size(), at - start - kError.size()));
    e.line = number;
    return e;
}

} // namespace quandel
