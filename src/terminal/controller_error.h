#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quandel {

// The controller's report of a program that stopped on an error:
// "ERROR: BAD SYNTAX - IN LINE  240".
struct ControllerError {
    std::string message; // "BAD SYNTAX"
    long line = 0;       // the program's line number
};

// The report in one line of the terminal text, if it is one.
std::optional<ControllerError> ParseControllerError(std::string_view line);

} // namespace quandel
