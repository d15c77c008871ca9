#include "expression.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace velnor {
namespace {

bool is_digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool is_alpha(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool is_hex_digit(char c) {
    return is_digit(c) || (c >= 'A' && c <= 'F');
}

constexpr double true_value = 65535;

class ExpressionParser {
public:
    ExpressionParser(Cursor &cursor, const VariableLookup &lookup)
        : cursor_(cursor), lookup_(lookup) {}

    double comparison() {
        double left = additive();
        for (;;) {
            if (cursor_.accept("<>"))
                left = truth(left != additive());
            else if (cursor_.accept("<="))
                left = truth(left <= additive());
            else if (cursor_.accept(">="))
                left = truth(left >= additive());
            else if (cursor_.accept('<'))
                left = truth(left < additive());
            else if (cursor_.accept('>'))
                left = truth(left > additive());
            else if (cursor_.accept('='))
                left = truth(left == additive());
            else
                return left;
        }
    }

private:
    static double truth(bool b) { return b ? true_value : 0; }

    double additive() {
        double value = term();
        for (;;) {
            if (cursor_.accept('+'))
                value += term();
            else if (cursor_.accept('-'))
                value -= term();
            else
                return value;
        }
    }

    double term() {
        double value = unary();
        for (;;) {
            if (cursor_.accept('*')) {
                value *= unary();
            } else if (cursor_.accept('/')) {
                const double divisor = unary();
                if (divisor == 0)
                    throw BasicError{"DIVIDE BY ZERO"};
                value /= divisor;
            } else {
                return value;
            }
        }
    }

    double unary() {
        if (cursor_.accept('-'))
            return -unary();
        if (cursor_.accept('+'))
            return unary();
        return primary();
    }

    double primary() {
        if (cursor_.accept('(')) {
            const double value = comparison();
            if (!cursor_.accept(')'))
                bad_syntax();
            return value;
        }
        const char c = cursor_.peek();
        if (is_digit(c) || c == '.')
            return number(cursor_.rest());
        const std::string name = cursor_.name();
        if (name.empty())
            bad_syntax();
        return lookup_(name);
    }

    double number(std::string_view text) {
        std::size_t hex_end = 0;
        while (hex_end < text.size() && is_hex_digit(text[hex_end]))
            ++hex_end;
        if (hex_end > 0 && hex_end < text.size() && text[hex_end] == 'H') {
            double value = 0;
            for (std::size_t i = 0; i < hex_end; ++i)
                value = value * 16 + (is_digit(text[i]) ? text[i] - '0' : text[i] - 'A' + 10);
            skip(hex_end + 1);
            return value;
        }
        std::size_t end = 0;
        while (end < text.size() && is_digit(text[end]))
            ++end;
        if (end < text.size() && text[end] == '.') {
            ++end;
            while (end < text.size() && is_digit(text[end]))
                ++end;
        }
        if (end == 1 && text[0] == '.')
            bad_syntax();
        const double value = std::strtod(std::string(text.substr(0, end)).c_str(), nullptr);
        skip(end);
        return value;
    }

    void skip(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            cursor_.advance();
    }

    Cursor &cursor_;
    const VariableLookup &lookup_;
};

} // namespace

void Cursor::skip_spaces() {
    while (pos_ < text_.size() && text_[pos_] == ' ')
        ++pos_;
}

bool Cursor::at_end() {
    skip_spaces();
    return pos_ >= text_.size();
}

char Cursor::peek() {
    skip_spaces();
    return pos_ < text_.size() ? text_[pos_] : '\0';
}

bool Cursor::accept(char c) {
    if (peek() != c || c == '\0')
        return false;
    ++pos_;
    return true;
}

bool Cursor::accept(std::string_view word) {
    skip_spaces();
    if (text_.substr(pos_, word.size()) != word)
        return false;
    pos_ += word.size();
    return true;
}

std::string Cursor::name() {
    skip_spaces();
    std::string result;
    if (pos_ < text_.size() && is_alpha(text_[pos_])) {
        while (pos_ < text_.size() && (is_alpha(text_[pos_]) || is_digit(text_[pos_])))
            result += text_[pos_++];
    }
    return result;
}

int Cursor::line_number() {
    skip_spaces();
    long value = 0;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && is_digit(text_[pos_]) && value <= 65535)
        value = value * 10 + (text_[pos_++] - '0');
    if (pos_ == start)
        bad_syntax();
    if (value > 65535)
        throw BasicError{"INVALID LINE NUMBER"};
    return static_cast<int>(value);
}

std::string Cursor::string_literal() {
    skip_spaces();
    std::string result;
    if (pos_ >= text_.size() || text_[pos_] != '"')
        bad_syntax();
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"')
        result += text_[pos_++];
    if (pos_ < text_.size())
        ++pos_;
    return result;
}

std::string_view Cursor::rest() {
    skip_spaces();
    return text_.substr(pos_);
}

double evaluate(Cursor &cursor, const VariableLookup &lookup) {
    return ExpressionParser(cursor, lookup).comparison();
}

std::string format_number(double value) {
    std::string text = value < 0 ? "-" : " ";
    const double magnitude = std::fabs(value);
    char digits[40];
    if (magnitude == std::floor(magnitude) && magnitude < 1e12)
        std::snprintf(digits, sizeof digits, "%.0f", magnitude);
    else
        std::snprintf(digits, sizeof digits, "%.8G", magnitude);
    return text + digits + " ";
}

} // namespace velnor
