#include "basictools/zahl_wert.h"

#include "basictools/tool_failure.h"
#include "core/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace quandel {

namespace {

bool Skippable(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Walks the text, skipping the characters that never count.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    char Peek() {
        while (pos_ < text_.size() && Skippable(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Take() { ++pos_; }
    std::size_t Mark() const { return pos_; }
    void Reset(std::size_t mark) { pos_ = mark; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v >= 0 && v < base ? v : -1;
}

double Radix(Cursor &cur, int base) {
    double value = 0;
    for (int d; (d = DigitValue(cur.Peek(), base)) >= 0; cur.Take())
        value = value * base + d;
    return value;
}

// Whether a number text that from_chars read as out of range is too large
// rather than too small: the power of ten of its first significant digit
// plus the exponent decides. The mantissa alone may be hundreds of digits
// long, so the sign of the exponent does not tell.
bool TooLarge(std::string_view number) {
    const std::size_t e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    long long power = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        long long exponent = 0;
        for (char c : digits) // held far beyond any double's range, far below overflow
            exponent = std::min(exponent * 10 + (c - '0'), 1LL << 40);
        power += negative ? -exponent : exponent;
    }
    return power > 0;
}

} // namespace

double ZahlWertUngerundet(std::string_view text) {
    Cursor cur(text);
    if (cur.Peek() == '&') {
        const std::size_t mark = cur.Mark();
        cur.Take();
        const char kind = char(std::toupper(static_cast<unsigned char>(cur.Peek())));
        if (kind == 'H' || kind == 'O') {
            cur.Take();
            return Radix(cur, kind == 'H' ? 16 : 8);
        }
        cur.Reset(mark);
        return 0;
    }
    std::string number;
    if (cur.Peek() == '-' || cur.Peek() == '+') {
        number.push_back(cur.Peek());
        cur.Take();
    }
    bool digits = false, point = false;
    for (char c; (c = cur.Peek()) != '\0'; cur.Take()) {
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
        number.push_back(c);
    }
    if (!digits)
        return 0;
    const char e = char(std::toupper(static_cast<unsigned char>(cur.Peek())));
    if (e == 'E' || e == 'D') {
        const std::size_t mark = cur.Mark();
        cur.Take();
        std::string exponent = "e";
        if (cur.Peek() == '-' || cur.Peek() == '+') {
            exponent.push_back(cur.Peek());
            cur.Take();
        }
        bool expDigits = false;
        for (char c; (c = cur.Peek()) >= '0' && c <= '9'; cur.Take()) {
            exponent.push_back(c);
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
        else
            cur.Reset(mark);
    }
    if (number.front() == '+')
        number.erase(0, 1);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as 0; overflow as an infinite value, refused later.
        if (!TooLarge(number))
            return 0.0;
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    (void)end;
    return value;
}

std::int32_t ZahlWert(std::string_view text) {
    const double raw = ZahlWertUngerundet(text);
    const double rounded = std::nearbyint(raw); // the default mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw ToolFailure(Cp1252("Überlauf: die Zahl \"") + std::string(text.substr(0, 40)) +
                          Cp1252("\" liegt außerhalb des 32-Bit-Bereichs."));
    return static_cast<std::int32_t>(rounded);
}

} // namespace quandel
