#pragma once

#include <stdexcept>
#include <string>

namespace quandel {

// A run-time failure inside a tool run (a number beyond 32 bits, a source
// that cannot be read, a full table). The run ends through the failure path
// of the tool; the text describes the cause in German (Windows-1252).
class ToolFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One of the two table overflows: its message box has been shown already and
// the tool run ends (the program goes on: the user may have unsaved work).
class ToolOverflow : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quandel
