#include "basictools/tool_files.h"
#include "core/text_lines.h"
#include "editor/editor_document.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, EveryCommonLineEndEndsALine) {
    struct Row {
        const char *name;
        std::string text;
        Lines lines;
        std::string rest;
    } rows[] = {
        {"LF, as written on Linux", "10 A\n20 B\n", {"10 A", "20 B"}, ""},
        {"CR LF", "10 A\r\n20 B\r\n", {"10 A", "20 B"}, ""},
        {"CR alone", "10 A\r20 B\r", {"10 A", "20 B"}, ""},
        {"LF CR is two line ends", "10 A\n\r20 B", {"10 A", ""}, "20 B"},
        {"mixed, no end at the end", "10 A\r\n20 B\n30 C\r40 D", {"10 A", "20 B", "30 C"}, "40 D"},
        {"blank lines stay", "\n\r\n\r", {"", "", ""}, ""},
        {"empty text", "", {}, ""},
        {"a CR LF split at the end", "10 A\r", {"10 A"}, ""},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const TextLines got = SplitLines(r.text);
        EXPECT_EQ(got.lines, r.lines);
        EXPECT_EQ(got.rest, r.rest);
        // The tools read the same lines, the rest as a last line.
        SourceLines source = SourceLines::FromText(r.text);
        Lines read;
        while (!source.AtEnd())
            read.push_back(source.Next());
        Lines expected = r.lines;
        if (!r.rest.empty())
            expected.push_back(r.rest);
        EXPECT_EQ(read, expected);
    }
}

TEST(SplitLineEnds, EditorKeepsEachLinesOwnEnd) {
    const std::string bytes = "10 A\n20 B\r\n30 C\r40 D\n\r";
    const SplitText split = SplitLineEnds(bytes);
    EXPECT_EQ(split.text, "10 A\n20 B\n30 C\n40 D\n\n");
    EXPECT_EQ(split.ends, (Lines{"\n", "\r\n", "\r", "\n", "\r"}));
    EXPECT_EQ(JoinLineEnds(split.text, split.ends), bytes);
}

} // namespace
} // namespace quandel
