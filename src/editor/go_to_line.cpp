#include "editor/go_to_line.h"

namespace quandel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The line number a line starts with, or -1 when it has none (or one too
// long for any program).
long LeadingNumber(const std::string &line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || !IsDigit(line[i]))
        return -1;
    long value = 0;
    for (; i < line.size() && IsDigit(line[i]); ++i) {
        if (value > 99'999'999)
            return -1;
        value = value * 10 + (line[i] - '0');
    }
    return value;
}

} // namespace

int FindBasicLine(const std::vector<std::string> &lines, long number) {
    if (number < 0)
        return -1;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (LeadingNumber(lines[i]) == number)
            return int(i);
    return -1;
}

GoToTarget GoToLineTarget(const std::vector<std::string> &lines, GoToMode mode, long value) {
    GoToTarget target;
    if (mode == GoToMode::BasicLine) {
        target.line = FindBasicLine(lines, value);
        if (target.line < 0)
            target.message = "BASIC-Zeile " + std::to_string(value) + " gibt es nicht.";
        return target;
    }
    const long count = long(lines.size());
    if (value >= 1 && value <= count) {
        target.line = int(value - 1);
        return target;
    }
    target.message = "Zeile " + std::to_string(value) + " gibt es nicht, der Text hat " +
                     std::to_string(count) + (count == 1 ? " Zeile." : " Zeilen.");
    return target;
}

} // namespace quandel
