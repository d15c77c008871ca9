#include "terminal/controller_error.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

TEST(ParseControllerError, ReadsTheReportAndNothingElse) {
    struct Row {
        const char *line;
        bool isError;
        const char *message = "";
        long number = 0;
    } rows[] = {
        {"ERROR: BAD SYNTAX - IN LINE  240", true, "BAD SYNTAX", 240},
        {"ERROR: DIVIDE BY ZERO - IN LINE 10\r", true, "DIVIDE BY ZERO", 10},
        {">ERROR: NEXT WITHOUT FOR - IN LINE  7  ", true, "NEXT WITHOUT FOR", 7},
        {"ERROR: BAD SYNTAX", false},                  // a direct command: no line
        {"STOP - IN LINE  20", false},                 // no error
        {"240    PRINT 1+", false},                    // the listed line
        {"ERROR: X - IN LINE  12AB", false},           // something after the number
        {"ERROR: X - IN LINE  ", false},               // no number
        {"ERROR: X - IN LINE  12345678901234", false}, // no line number of the controller
        {"", false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.line);
        const auto e = ParseControllerError(r.line);
        ASSERT_EQ(e.has_value(), r.isError);
        if (e) {
            EXPECT_EQ(e->message, r.message);
            EXPECT_EQ(e->line, r.number);
        }
    }
}

} // namespace
} // namespace quandel
