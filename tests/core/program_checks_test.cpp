#include "basictools/program_checks.h"
#include "basictools/remkill.h"
#include "basictools/tool_files.h"
#include "basictools/varlist.h"
#include "support/tool_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quandel {
namespace {

using Kind = FindingKind;

struct Where {
    int line, column;
    Kind kind;
    bool operator==(const Where &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Where &w) {
    return os << "{" << w.line << ":" << w.column << " kind " << int(w.kind) << "}";
}

std::vector<Where> Found(const std::string &source) {
    std::vector<Where> out;
    for (const Finding &f : CheckProgram(source))
        out.push_back({f.line, f.column, f.kind});
    return out;
}

TEST(CheckProgram, FindsWhatTheControllerWouldTripOver) {
    const std::string longLine = "40 PRINT \"" + std::string(80, 'A') + "\"";
    struct Row {
        const char *name;
        std::string source;
        std::vector<Where> found;
    } rows[] = {
        {"a clean program", "10 A=1\n20 GOTO 10\n", {}},
        {"comments and blank lines", "' Kopf\n\n10 A=1 ' x\n", {}},
        {"a jump to a missing line", "10 GOTO 500\n20 END\n", {{1, 8, Kind::UnknownTarget}}},
        {"indented: columns as written", "   10 GOSUB 77\n", {{1, 12, Kind::UnknownTarget}}},
        {"numbers out of order", "20 A=1\n10 B=2\n", {{2, 0, Kind::NumberOrder}}},
        {"a line without a number", "10 A=1\nPRINT\n", {{2, 0, Kind::NoLineNumber}}},
        {"GOTO without a target", "10 GOTO X\n", {{1, 8, Kind::TargetMissing}}},
        {"a keyword at the line end", "10 A=1\n20 GOTO\n", {{2, 3, Kind::KeywordAtLineEnd}}},
        {"a comment mark inside a string", "10 PRINT \"IT'S\"\n", {{1, 12, Kind::CommentInString}}},
        {"a line the controller cuts", longLine + "\n", {{1, 78, Kind::LineTooLong}}},
        {"a character it cannot take", "10 PRINT \"\xE4\"\n", {{1, 10, Kind::NotAscii}}},
        {"a number beyond 32 bits", "10 GOTO 99999999999\n", {{1, 0, Kind::NumberTooLarge}}},
        {"names the controller mixes up",
         "10 ABCD=1\n20 AXYD=2\n30 ABC=3\n",
         {{2, 3, Kind::SimilarNames}}},
        {"a missing target inside a list",
         "10 ON X GOSUB 100,200\n100 RETURN\n",
         {{1, 18, Kind::UnknownTarget}}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Found(r.source), r.found) << r.name;
}

// The tools' boxes for the same source: the warnings and the wrong lines.
std::vector<test::Box> ToolBoxes(const std::string &source) {
    test::ToolRig rig;
    rig.flags.SonderzeichenWarnungAktiv = false;
    LineModel model;
    const std::string targetPath = rig.dir.File("P.Z");
    SourceLines lines = SourceLines::FromText(source);
    TargetFile target;
    std::string error;
    EXPECT_TRUE(target.Open(targetPath, error)) << error;
    RemKill(rig.ctx, model, lines, target, targetPath, true);
    std::vector<test::Box> out;
    for (const test::Box &b : test::Boxes(rig.dialogs))
        if (b.title == "WARNUNG" || b.title == "Falsche Zeile")
            out.push_back(b);
    return out;
}

TEST(CheckProgram, FindingsAreTheToolsBoxes) {
    const char *sources[] = {
        "10 GOTO 500\r\n20 GOSUB 10 ' sub\r\n30 ON A GOTO 10, 500\r\n40 IF A THEN 70\r\n",
        "20 A=1\n10 B=2\nPRINT\n30 GOTO\n40 GOTO X\n50\n",
        "10 ON X GOSUB 100,200,300\n100 RETURN\n300 RETURN\n",
        "   5 IF A>B THEN 7 ELSE 9\n7 END\n",
    };
    for (const std::string source : sources) {
        SCOPED_TRACE(source);
        std::vector<test::Box> warnings, wrong;
        for (const Finding &f : CheckProgram(source)) {
            if (f.title == "WARNUNG")
                warnings.push_back({f.text, f.title, f.icon});
            else if (f.title == "Falsche Zeile")
                wrong.push_back({f.text, f.title, f.icon});
        }
        warnings.insert(warnings.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(warnings, ToolBoxes(source));
    }
}

TEST(CheckProgram, NameWarningsAreVarListsBoxes) {
    const char *sources[] = {
        "10 ABCD=1\n20 AXYD=2\n30 ABC=3: AQC=4\n",
        "10 DIM FELD(10)\n20 FELD(1)=1: FALD(2)=2\n30 POP XYZ, XAZ\n",
        "10 A=1\n20 BB=2\n",
    };
    for (const std::string source : sources) {
        SCOPED_TRACE(source);
        test::ToolRig rig;
        SourceLines lines = SourceLines::FromText(source);
        TargetFile target;
        std::string error;
        ASSERT_TRUE(target.Open(rig.dir.File("P.V"), error)) << error;
        VarList(rig.ctx, lines, target, true);
        std::vector<test::Box> tool, found;
        for (const test::Box &b : test::Boxes(rig.dialogs))
            if (b.title == "Warnung")
                tool.push_back(b);
        for (const Finding &f : CheckProgram(source))
            if (f.kind == FindingKind::SimilarNames)
                found.push_back({f.text, f.title, f.icon});
        // The list follows the lines of the text, the tool the sorted names.
        const auto byText = [](const test::Box &a, const test::Box &b) {
            return a.text < b.text;
        };
        std::sort(found.begin(), found.end(), byText);
        std::sort(tool.begin(), tool.end(), byText);
        EXPECT_EQ(found, tool);
    }
}

TEST(CheckProgram, SummariesForTheList) {
    const std::vector<Finding> found = CheckProgram("10 GOTO 500\n20 A=1\n10 B=2\n");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(FindingSummary(found[0]), "Sprungziel  500 nicht vorhanden.");
    EXPECT_EQ(FindingSummary(found[1]), "falsche Zeilennummer:  20   10");
}

} // namespace
} // namespace quandel
