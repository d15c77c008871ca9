#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velnor {

// A BASIC error; message is what follows "ERROR: " on the terminal.
struct BasicError {
    std::string message;
};

[[noreturn]] inline void bad_syntax() {
    throw BasicError{"BAD SYNTAX"};
}

// Reading position in an upper-cased statement.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    void skip_spaces();
    bool at_end();
    char peek();
    bool accept(char c);
    // Accepts word if the text continues with it (BASIC needs no blank after a keyword).
    bool accept(std::string_view word);
    // A variable name: a letter followed by letters and digits; empty if none.
    std::string name();
    int line_number();
    // A string literal starting at the cursor's quote; the closing quote may be missing.
    std::string string_literal();
    std::string_view rest();
    void advance() { ++pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

using VariableLookup = std::function<double(const std::string &)>;

// Evaluates an arithmetic expression with + - * / parentheses, unary minus
// and one comparison (= <> < > <= >=; true is 65535). Numbers are decimal
// or hexadecimal with a trailing H (7FFFH).
double evaluate(Cursor &cursor, const VariableLookup &lookup);

// How PRINT shows a number: sign or blank, digits, blank.
std::string format_number(double value);

} // namespace velnor
