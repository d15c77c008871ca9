#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quandel {

// One numbered program line: its number and its text after the number, as
// the file holds it once the comment is stripped, or as the controller
// lists it.
struct NumberedLine {
    std::int32_t number = 0;
    std::string text;
    std::string line = {}; // the whole line as the download sends it (file lines only)
    bool operator==(const NumberedLine &) const = default;
};

// The program lines of a controller's LIST answer: every line that starts
// with a line number; the echo, the blank line, READY and the prompt are
// none.
std::vector<NumberedLine> ListedLines(std::string_view listing);

// The lines a download of `source` sends, with their numbers: comments
// stripped as the download strips them, empty lines left out. A line
// without a number has number 0.
std::vector<NumberedLine> DownloadedLines(std::string_view source);

// What a line means to the controller, for comparing a file with the
// listing: outside strings blanks do not count and letters count in
// capitals; numeric constants count by value (1E3 = 1000, .5 = 0.5,
// 7FFFH = 32767); strings count exactly.
std::string LineMeaning(std::string_view text);

struct LineDifference {
    enum class Kind { MissingInController, OnlyInController, Different };
    Kind kind;
    std::int32_t number;
    std::string fileText;       // empty for OnlyInController
    std::string controllerText; // empty for MissingInController
    std::string fileLine = {};  // the file's line as the download sends it
};

// The differences by line number, in ascending order. For a number that
// occurs twice in the file, the last line counts, as the controller keeps
// the line sent last.
std::vector<LineDifference> CompareProgram(const std::vector<NumberedLine> &file,
                                           const std::vector<NumberedLine> &controller);

} // namespace quandel
