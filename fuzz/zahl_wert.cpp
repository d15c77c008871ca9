// ZahlWert and ZahlWertUngerundet over any text, and over generated number
// texts compared with an independent reading.
//
// Invariants:
//  - no crash, no undefined behaviour, on any text; ZahlWertUngerundet never
//    throws and never gives NaN;
//  - ZahlWert either returns the value before rounding rounded to the nearest
//    integer (halves to even), or, exactly when that lies outside the signed
//    32-bit range (infinite values included), throws ToolFailure with the
//    "Überlauf" text; nothing else escapes;
//  - a character that can continue no number ('X') appended to the text
//    changes nothing;
//  - for a generated decimal text (sign, digits, point, digits, E/D
//    exponent, blanks in between) the value is the one the C library reads
//    from the same number, so an absurdly long mantissa or exponent takes the
//    failure path when the number is large and reads as 0 when it is tiny;
//  - for a generated &H / &O text the value is the digits' value, beyond
//    2147483647 the failure path (no wrap to negative).

#include "basictools/zahl_wert.h"

#include "basictools/tool_failure.h"
#include "core/number_text.h"
#include "fuzz_support.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>

using namespace quandel;

namespace {

// The value, or nullopt when ZahlWert took its failure path.
std::optional<std::int32_t> Read(const std::string &text) {
    try {
        return ZahlWert(text);
    } catch (const ToolFailure &failure) {
        FUZZ_CHECK(std::string(failure.what()).rfind(Cp1252("Überlauf: die Zahl \""), 0) == 0);
        return std::nullopt;
    }
}

std::optional<std::int32_t> InRange(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return std::int32_t(rounded);
}

void CheckAnyText(const std::string &text) {
    const double raw = ZahlWertUngerundet(text);
    FUZZ_CHECK(!std::isnan(raw));
    FUZZ_CHECK(Read(text) == InRange(raw));
    const double more = ZahlWertUngerundet(text + "X");
    FUZZ_CHECK(more == raw);
}

// `count` characters cycling through `pattern`, each mapped into `digits`.
std::string Digits(const std::string &pattern, int count, const char *digits, int base) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out.push_back(pattern.empty()
                          ? digits[0]
                          : digits[static_cast<unsigned char>(pattern[i % pattern.size()]) % base]);
    return out;
}

// Blanks, tabs and line feeds may stand anywhere inside a number.
std::string WithBlanks(FuzzedDataProvider &fdp, std::string text) {
    for (int n = fdp.ConsumeIntegralInRange(0, 3); n > 0 && !text.empty(); --n) {
        const std::size_t at = fdp.ConsumeIntegralInRange<std::size_t>(0, text.size());
        text.insert(at, 1, " \t\n"[fdp.ConsumeIntegralInRange(0, 2)]);
    }
    return text;
}

std::string Unblanked(const std::string &text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out.push_back(c);
    return out;
}

void CheckDecimal(FuzzedDataProvider &fdp) {
    const std::string pattern = fdp.ConsumeBytesAsString(fdp.ConsumeIntegralInRange(0, 8));
    std::string number;
    number += "\0-+"[fdp.ConsumeIntegralInRange(0, 2)];
    if (number[0] == '\0')
        number.clear();
    number += std::string(std::size_t(fdp.ConsumeIntegralInRange(0, 3)), '0');
    number += Digits(pattern, fdp.ConsumeIntegralInRange(0, 400), "0123456789", 10);
    if (fdp.ConsumeBool()) {
        number += '.';
        number += std::string(std::size_t(fdp.ConsumeIntegralInRange(0, 400)), '0');
        number += Digits(pattern, fdp.ConsumeIntegralInRange(0, 40), "0123456789", 10);
    }
    if (fdp.ConsumeBool()) {
        number += "EeDd"[fdp.ConsumeIntegralInRange(0, 3)];
        number += "\0-+"[fdp.ConsumeIntegralInRange(0, 2)];
        if (number.back() == '\0')
            number.pop_back();
        if (fdp.ConsumeBool())
            number += DecimalText(fdp.ConsumeIntegralInRange(0, 99999));
        else
            number += Digits(pattern, fdp.ConsumeIntegralInRange(0, 30), "0123456789", 10);
    }
    // What follows the number can continue none of its parts.
    const char after = " X:,)"[fdp.ConsumeIntegralInRange(0, 4)];
    const std::string text = WithBlanks(fdp, number) + after + "REST";

    // The C library's reading of the same number (C locale: a point).
    std::string plain = Unblanked(number);
    for (char &c : plain)
        if (c == 'D' || c == 'd')
            c = 'e';
    const bool anyDigit = plain.find_first_of("0123456789") < plain.find_first_of("eE");
    errno = 0;
    const double reference = anyDigit ? std::strtod(plain.c_str(), nullptr) : 0.0;
    const std::optional<std::int32_t> got = Read(text), want = InRange(reference);
    if (got != want)
        std::fprintf(stderr, "\"%.60s...\" (%zu characters): %s, expected %s\n", text.c_str(),
                     text.size(), got ? DecimalText(*got).c_str() : "failure",
                     want ? DecimalText(*want).c_str() : "failure");
    FUZZ_CHECK(got == want);
    CheckAnyText(text);
}

void CheckRadix(FuzzedDataProvider &fdp) {
    const bool hex = fdp.ConsumeBool();
    const std::string pattern = fdp.ConsumeBytesAsString(fdp.ConsumeIntegralInRange(0, 8));
    const std::string digits = Digits(pattern, fdp.ConsumeIntegralInRange(0, 40),
                                      hex ? "0123456789ABCDEFabcdef" : "01234567", hex ? 22 : 8);
    const std::string text =
        WithBlanks(fdp, std::string("&") + (hex ? "Hh" : "Oo")[fdp.ConsumeBool()] + digits) + "XYZ";
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = std::min<std::uint64_t>(value * (hex ? 16 : 8) + std::uint64_t(d), 1ULL << 40);
    }
    const std::optional<std::int32_t> expected =
        value <= 2147483647ULL ? std::optional<std::int32_t>(std::int32_t(value)) : std::nullopt;
    FUZZ_CHECK(Read(text) == expected);
    CheckAnyText(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    switch (fdp.ConsumeIntegralInRange(0, 3)) {
    case 0:
        CheckDecimal(fdp);
        break;
    case 1:
        CheckRadix(fdp);
        break;
    default: // twice as often: the raw text
        CheckAnyText(fdp.ConsumeRemainingBytesAsString());
        break;
    }
    return 0;
}
