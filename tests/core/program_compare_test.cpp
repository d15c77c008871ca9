#include "core/number_text.h"
#include "transfer/program_compare.h"
#include "transfer/program_comparison.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using Kind = LineDifference::Kind;

struct Diff {
    Kind kind;
    std::int32_t number;
    bool operator==(const Diff &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Diff &d) {
    return os << "{kind " << int(d.kind) << " line " << d.number << "}";
}

std::vector<Diff> Differences(const std::string &file, const std::string &listing) {
    std::vector<Diff> out;
    for (const LineDifference &d : CompareProgram(DownloadedLines(file), ListedLines(listing)))
        out.push_back({d.kind, d.number});
    return out;
}

const std::string kListing = "LIST\r\n10     PRINT \"Hi There\",A\r\n20    A=1E3 : B=.5\r\n"
                             "30     GOTO 10\r\n\r\nREADY\r\n>";

TEST(CompareProgram, ByLineNumberAndMeaning) {
    struct Row {
        const char *name;
        std::string file;
        std::vector<Diff> diffs;
    } rows[] = {
        {"the same program as the user wrote it",
         "10 print \"Hi There\",a\n20 a=1E3 : b=.5\n30 goto 10\n",
         {}},
        {"blanks and keyword case do not count",
         "10 PRINT\"Hi There\" , A\n20 A = 1E3:B = .5\n30 Goto 10\n",
         {}},
        {"numbers by value", "10 PRINT \"Hi There\",A\n20 A=1000:B=0.5\n30 GOTO 10.0\n", {}},
        {"comments and blank lines as the download strips them",
         "' Kopf\n10 PRINT \"Hi There\",A ' x\n\n20 A=1E3 : B=.5 :REM y\n   30 GOTO 10\n",
         {}},
        {"a line missing in the controller",
         "10 PRINT \"Hi There\",A\n20 A=1E3 : B=.5\n25 END\n30 GOTO 10\n",
         {{Kind::MissingInController, 25}}},
        {"a line only in the controller",
         "10 PRINT \"Hi There\",A\n30 GOTO 10\n",
         {{Kind::OnlyInController, 20}}},
        {"a changed string",
         "10 PRINT \"Hi there\",A\n20 A=1E3 : B=.5\n30 GOTO 10\n",
         {{Kind::Different, 10}}},
        {"a changed number",
         "10 PRINT \"Hi There\",A\n20 A=1E4 : B=.5\n30 GOTO 10\n",
         {{Kind::Different, 20}}},
        {"blanks inside a string count",
         "10 PRINT \"Hi  There\",A\n20 A=1E3 : B=.5\n30 GOTO 10\n",
         {{Kind::Different, 10}}},
        {"a file whose comments strip to nothing",
         "' nur\n; Kommentar\n",
         {{Kind::OnlyInController, 10},
          {Kind::OnlyInController, 20},
          {Kind::OnlyInController, 30}}},
        {"the line sent last counts",
         "10 PRINT 1\n10 PRINT \"Hi There\",A\n20 A=1E3 : B=.5\n30 GOTO 10\n",
         {}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Differences(r.file, kListing), r.diffs) << r.name;
}

TEST(LineMeaning, NotationsThatMeanTheSame) {
    struct Row {
        const char *a, *b;
        bool same;
    } rows[] = {
        {"MTOP=7FFFH", "mtop = 32767", true},
        {"A=1E3", "A=1000", true},
        {"A=.5", "A=0.5", true},
        {"A1=2", "A 1=2", false}, // a name is no number
        {"PRINT \"a\"", "PRINT \"A\"", false},
        {"A=1E", "A=1", false}, // an E without digits is no exponent
        {"X=FFFFFFFFFFFFFFFFFFFFH", "X=1", false},
    };
    for (const Row &r : rows)
        EXPECT_EQ(LineMeaning(r.a) == LineMeaning(r.b), r.same) << r.a << " / " << r.b;
}

TEST(ListedLines, OnlyNumberedLinesOfTheAnswer) {
    const std::vector<NumberedLine> lines = ListedLines(kListing);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], (NumberedLine{20, "A=1E3 : B=.5"}));
}

// The table shows each difference on one row with both forms side by side,
// in the order of the line numbers; the text form of the same table (for
// dialogs without tables) names every cell by its column.
TEST(DifferenceTable, OneRowADifferenceWithBothForms) {
    const std::string file = "10 PRINT \"Hi there\",A\n15 END\n20 A=1E3 : B=.5\n";
    const TableBoxContent table =
        DifferenceTable("Programm vergleichen", "Kopf",
                        CompareProgram(DownloadedLines(file), ListedLines(kListing)));
    const std::vector<std::vector<std::string>> rows = {
        {"10", "verschieden", "PRINT \"Hi there\",A", "PRINT \"Hi There\",A"},
        {"15", "fehlt im Controller", "END", ""},
        {"30", "nur im Controller", "", "GOTO 10"},
    };
    EXPECT_EQ(table.rows, rows);
    EXPECT_EQ(table.columns, (std::vector<std::string>{"Zeile", "Befund", "Datei", "Controller"}));
    EXPECT_EQ(TableBoxText(table),
              "Kopf"
              "\rZeile: 10; Befund: verschieden; Datei: PRINT \"Hi there\",A; Controller: PRINT "
              "\"Hi There\",A"
              "\rZeile: 15; Befund: fehlt im Controller; Datei: END"
              "\rZeile: 30; Befund: nur im Controller; Controller: GOTO 10");
}

TEST(ComparisonSummary, CountsTheDifferences) {
    const std::vector<LineDifference> one = {{LineDifference::Kind::Different, 10, "A", "B"}};
    EXPECT_EQ(ComparisonSummary("P.BAS", 3, {}),
              Cp1252("Der Controller enthält genau das Programm aus P.BAS (3 Zeilen)."));
    EXPECT_EQ(ComparisonSummary("P.BAS", 3, one),
              Cp1252("Der Controller enthält nicht das Programm aus P.BAS: 1 Unterschied."));
    EXPECT_EQ(ComparisonSummary("P.BAS", 3, {one[0], one[0]}),
              Cp1252("Der Controller enthält nicht das Programm aus P.BAS: 2 Unterschiede."));
}

} // namespace
} // namespace quandel
