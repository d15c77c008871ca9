#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quandel {

// What a stretch of a BASIC line is, for showing it.
enum class SyntaxKind {
    LineNumber, // the number a program line starts with
    Keyword,    // a statement, function or command of the controller's BASIC
    String,     // a literal in double quotes, quotes included
    Number,     // a numeric constant: 12, .5, 1E3, 7FFFH
    Comment,    // what the download strips: from ', ; or :REM to the end
    Remark,     // a REM statement: the controller keeps it, it does nothing
};

struct SyntaxSpan {
    std::size_t start = 0, length = 0;
    SyntaxKind kind = SyntaxKind::Keyword;
    bool operator==(const SyntaxSpan &) const = default;
};

// Where the comment of a line begins, as the comment stripping cuts it: the
// first ', ; or :REM, even inside a string literal (the controller would get
// the line cut there). npos: no comment.
std::size_t CommentStart(std::string_view line);

// The end of the numeric constant that starts at text[i] (a digit, or a dot
// before a digit): hex with a trailing H (7FFFH), or decimal with fraction
// and exponent (12, .5, 1.5E-3). An E without digits is no exponent.
std::size_t NumericConstantEnd(std::string_view text, std::size_t i);

// True when `word` is one of the controller's words, in any case. Words that
// end in a dot or a digit (P., PH0.) count with that ending.
bool IsBasicKeyword(std::string_view word);

// The spans of one line, in order, not overlapping; what no span covers
// (blanks, operators, variable names) is plain text.
std::vector<SyntaxSpan> BasicLineSpans(std::string_view line);

} // namespace quandel
