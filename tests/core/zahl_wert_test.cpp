#include "basictools/tool_failure.h"
#include "basictools/zahl_wert.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace quandel {
namespace {

TEST(ZahlWert, ReadsTheLeadingNumberOrFailsBeyond32Bits) {
    const std::optional<std::int32_t> fails;
    // Beyond a double's range in the mantissa alone: the exponent's sign does
    // not tell whether the number is large or tiny.
    const std::string hugeMantissa = std::string(400, '9') + "E-5";
    const std::string tinyFraction = "0." + std::string(400, '0') + "1";
    struct Row {
        const char *name, *text;
        std::optional<std::int32_t> value; // none: ToolFailure
    } rows[] = {
        {"line number", "120 PRINT", 120},
        {"blank inside the number", "12 0 X", 120},
        {"tab and LF inside", "1\t2\n3", 123},
        {"empty", "", 0},
        {"keyword", "GOTO", 0},
        {"negative", "-17 X", -17},
        {"sign then blank", "- 5", -5},
        {"plus sign", "+8", 8},
        {"decimal point", "12.4", 12},
        {"second point ends", "1.5.9", 2},
        {"leading point", ".6", 1},
        {"half to even down", "2.5", 2},
        {"half to even up", "3.5", 4},
        {"negative half", "-2.5", -2},
        {"exponent E", "1E3", 1000},
        {"exponent d, lower case", "3d2", 300},
        {"negative exponent", "25E-1", 2},
        {"exponent without digits", "12E", 12},
        {"exponent sign without digits", "12E+X", 12},
        {"blanks inside the exponent", "1 E 2", 100},
        {"tiny exponent", "1E-400", 0},
        {"hex lower prefix", "&hff", 255},
        {"hex stops at G", "&H1G", 1},
        {"hex without digits", "&H", 0},
        {"octal, stops at 8", "&O78", 7},
        {"ampersand other letter", "&X12", 0},
        {"largest", "2147483647", 2147483647},
        {"smallest", "-2147483648", INT32_MIN},
        {"rounds into range", "2147483647.4", 2147483647},
        {"one above", "2147483648", fails},
        {"one below", "-2147483649", fails},
        {"rounds out of range", "2147483647.5", fails},
        {"large exponent", "1E10", fails},
        {"infinite", "1E999", fails},
        {"400 digits, negative exponent", hugeMantissa.c_str(), fails},
        {"400 zeros after the point", tinyFraction.c_str(), 0},
        {"long hex", "&HFFFFFFFFFF", fails},
    };
    for (const Row &r : rows) {
        if (r.value) {
            EXPECT_EQ(ZahlWert(r.text), *r.value) << r.name;
        } else {
            EXPECT_THROW(ZahlWert(r.text), ToolFailure) << r.name;
        }
    }
}

} // namespace
} // namespace quandel
