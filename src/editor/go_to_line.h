#pragma once

#include <string>
#include <vector>

namespace quandel {

// The 0-based index of the first line whose leading line number (after
// blanks or tabs) is `number`, or -1. The number must end there: "2400"
// is no line 240.
int FindBasicLine(const std::vector<std::string> &lines, long number);

// What "Gehe zu Zeile" counts: the text's lines from 1, or BASIC line numbers.
enum class GoToMode { FileLine, BasicLine };

// Where the jump goes: a 0-based line, or -1 with the German reason
// (Windows-1252) why there is none.
struct GoToTarget {
    int line = -1;
    std::string message;
};

GoToTarget GoToLineTarget(const std::vector<std::string> &lines, GoToMode mode, long value);

} // namespace quandel
