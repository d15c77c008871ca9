#include "basictools/tool_failure.h"
#include "basictools/zahl_wert.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

TEST(ZahlWert, ReadsTheLeadingNumber) {
    struct Row {
        const char *name, *text;
        std::int32_t value;
    } rows[] = {
        {"line number", "120 PRINT", 120},
        {"blank inside the number", "12 0 X", 120},
        {"tab and LF inside", "1\t2\n3", 123},
        {"leading blanks", "   42", 42},
        {"empty", "", 0},
        {"keyword", "GOTO", 0},
        {"blanks only", "   ", 0},
        {"negative", "-17 X", -17},
        {"sign then blank", "- 5", -5},
        {"plus sign", "+8", 8},
        {"decimal point", "12.4", 12},
        {"second point ends", "1.5.9", 2},
        {"point only", ".", 0},
        {"leading point", ".6", 1},
        {"half to even down", "2.5", 2},
        {"half to even up", "3.5", 4},
        {"negative half", "-2.5", -2},
        {"half of one", "0.5", 0},
        {"just above half", "2.51", 3},
        {"exponent E", "1E3", 1000},
        {"exponent lower e", "2e2", 200},
        {"exponent D", "15D1", 150},
        {"exponent lower d", "3d2", 300},
        {"negative exponent", "25E-1", 2},
        {"plus exponent", "1E+2", 100},
        {"exponent without digits", "12E", 12},
        {"exponent sign without digits", "12E+X", 12},
        {"blanks inside the exponent", "1 E 2", 100},
        {"hex", "&H1F", 31},
        {"hex lower prefix", "&hff", 255},
        {"hex stops at G", "&H1G", 1},
        {"octal", "&O17", 15},
        {"octal stops at 8", "&O78", 7},
        {"ampersand alone", "&", 0},
        {"ampersand other letter", "&X12", 0},
        {"hex without digits", "&H", 0},
        {"largest", "2147483647", 2147483647},
        {"smallest", "-2147483648", INT32_MIN},
        {"rounds into range", "2147483647.4", 2147483647},
        {"tiny exponent", "1E-400", 0},
        {"stops at colon", "100:PRINT", 100},
        {"digits after letters ignored", "A100", 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ZahlWert(r.text), r.value) << r.name;
}

TEST(ZahlWert, RefusesValuesBeyond32Bits) {
    struct Row {
        const char *name, *text;
    } rows[] = {
        {"one above", "2147483648"},
        {"one below", "-2147483649"},
        {"rounds out of range", "2147483647.5"},
        {"long line number", "99999999999 PRINT"},
        {"large exponent", "1E10"},
        {"absurd exponent", "1E999"},
        {"absurd negative", "-1D999"},
        {"long hex", "&HFFFFFFFFFF"},
    };
    for (const Row &r : rows)
        EXPECT_THROW(ZahlWert(r.text), ToolFailure) << r.name;
}

TEST(ZahlWertUngerundet, KeepsTheFraction) {
    struct Row {
        const char *name, *text;
        double value;
    } rows[] = {
        {"fraction", ".4 X", 0.4},
        {"negative fraction", "-0.3 ", -0.3},
        {"whole", "150PRINT ", 150.0},
        {"nothing", "X ", 0.0},
    };
    for (const Row &r : rows)
        EXPECT_DOUBLE_EQ(ZahlWertUngerundet(r.text), r.value) << r.name;
    EXPECT_GT(ZahlWertUngerundet("1E999"), 1e300); // no failure before rounding
}

} // namespace
} // namespace quandel
