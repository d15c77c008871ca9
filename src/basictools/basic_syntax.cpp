#include "basictools/basic_syntax.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace quandel {

namespace {

// The controller's statements, functions, operators and the commands this
// program sends it, upper case and sorted for the binary search.
constexpr std::array<std::string_view, 72> kKeywords = {
    "ABS",   "AND",    "ASC",  "ATN",   "CALL",  "CHR",     "CLEAR", "CLOCK",  "CONT",
    "COS",   "DATA",   "DIM",  "DO",    "ELSE",  "END",     "EXP",   "FOR",    "FREE",
    "GET",   "GOSUB",  "GOTO", "IDLE",  "IF",    "INPUT",   "INT",   "LEN",    "LET",
    "LIST",  "LOG",    "MTOP", "NEW",   "NEXT",  "NOT",     "NULL",  "ON",     "ONERR",
    "ONEX1", "ONTIME", "OR",   "P.",    "PH0.",  "PH1.",    "PI",    "POP",    "PRINT",
    "PROG",  "PUSH",   "RAM",  "READ",  "REM",   "RESTORE", "RETI",  "RETURN", "RND",
    "ROM",   "RUN",    "SGN",  "SIN",   "SQR",   "STEP",    "STOP",  "STRING", "TAN",
    "THEN",  "TIME",   "TO",   "UNTIL", "WHILE", "XOR",     "XTAL",  "CBY",    "DBY",
};

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::size_t NumericConstantEnd(std::string_view code, std::size_t i) {
    std::size_t j = i;
    while (j < code.size() && IsHexDigit(code[j]))
        ++j;
    if (j < code.size() && (code[j] == 'H' || code[j] == 'h') && IsDigit(code[i]))
        return j + 1;
    j = i;
    while (j < code.size() && IsDigit(code[j]))
        ++j;
    if (j < code.size() && code[j] == '.')
        for (++j; j < code.size() && IsDigit(code[j]);)
            ++j;
    if (j < code.size() && (code[j] == 'E' || code[j] == 'e')) {
        std::size_t k = j + 1;
        if (k < code.size() && (code[k] == '+' || code[k] == '-'))
            ++k;
        if (k < code.size() && IsDigit(code[k])) {
            while (k < code.size() && IsDigit(code[k]))
                ++k;
            j = k;
        }
    }
    return j;
}

std::size_t CommentStart(std::string_view line) {
    return std::min({line.find('\''), line.find(';'), line.find(":REM")});
}

bool IsBasicKeyword(std::string_view word) {
    if (word.empty() || word.size() > 8)
        return false;
    std::string upper(word);
    for (char &c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    static const auto sorted = [] {
        auto k = kKeywords;
        std::sort(k.begin(), k.end());
        return k;
    }();
    return std::binary_search(sorted.begin(), sorted.end(), std::string_view(upper));
}

std::vector<SyntaxSpan> BasicLineSpans(std::string_view line) {
    std::vector<SyntaxSpan> spans;
    const std::size_t cut = CommentStart(line);
    const std::string_view code = line.substr(0, cut);
    std::size_t i = code.find_first_not_of(' ');
    if (i == std::string_view::npos)
        i = code.size();
    if (i < code.size() && IsDigit(code[i])) {
        std::size_t j = i;
        while (j < code.size() && IsDigit(code[j]))
            ++j;
        spans.push_back({i, j - i, SyntaxKind::LineNumber});
        i = j;
    }
    while (i < code.size()) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t close = code.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? code.size() : close + 1;
            spans.push_back({i, end - i, SyntaxKind::String});
            i = end;
        } else if (IsLetter(c)) {
            std::size_t j = i;
            while (j < code.size() && (IsLetter(code[j]) || IsDigit(code[j])))
                ++j;
            // P. and PH0. carry their dot.
            if (j < code.size() && code[j] == '.' && IsBasicKeyword(code.substr(i, j + 1 - i)))
                ++j;
            const std::string_view word = code.substr(i, j - i);
            if (IsBasicKeyword(word)) {
                const bool remark = word.size() == 3 && std::toupper(word[0]) == 'R' &&
                                    std::toupper(word[1]) == 'E' && std::toupper(word[2]) == 'M';
                if (remark) {
                    spans.push_back({i, code.size() - i, SyntaxKind::Remark});
                    i = code.size();
                    break;
                }
                spans.push_back({i, j - i, SyntaxKind::Keyword});
            }
            i = j;
        } else if (IsDigit(c) || (c == '.' && i + 1 < code.size() && IsDigit(code[i + 1]))) {
            const std::size_t end = NumericConstantEnd(code, i);
            spans.push_back({i, end - i, SyntaxKind::Number});
            i = end;
        } else {
            ++i;
        }
    }
    if (cut != std::string_view::npos)
        spans.push_back({cut, line.size() - cut, SyntaxKind::Comment});
    return spans;
}

} // namespace quandel
