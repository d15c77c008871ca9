#include "basictools/basic_syntax.h"
#include "basictools/remkill_zeile.h"
#include "core/shared_flags.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <string>

namespace quandel {
namespace {

// The spans as text: kind letter and the covered characters, e.g.
// "N[10] K[PRINT] S["A"]".
std::string Shown(const std::string &line) {
    static const char kLetter[] = {'N', 'K', 'S', 'Z', 'C', 'R'};
    std::string out;
    for (const SyntaxSpan &s : BasicLineSpans(line)) {
        if (!out.empty())
            out += ' ';
        out += kLetter[int(s.kind)];
        out += '[' + line.substr(s.start, s.length) + ']';
    }
    return out;
}

TEST(BasicSyntax, LinesAreCutIntoTheirParts) {
    struct Row {
        const char *line, *shown;
    } rows[] = {
        {"10 PRINT \"A\"", "N[10] K[PRINT] S[\"A\"]"},
        {"   20 goto 10", "N[20] K[goto] Z[10]"},
        {"30 A=A+1 ' zaehlen", "N[30] Z[1] C[' zaehlen]"},
        {"40 B=2 ; Kommentar", "N[40] Z[2] C[; Kommentar]"},
        {"50 C=3 :REM Ende", "N[50] Z[3] C[:REM Ende]"},
        {"' nur Kommentar", "C[' nur Kommentar]"},
        {"60 REM kein Kommentar fuer den Controller",
         "N[60] R[REM kein Kommentar fuer den Controller]"},
        // The comment stripping cuts inside a string too: so does the colour.
        {"70 PRINT \"IT'S\"", "N[70] K[PRINT] S[\"IT] C['S\"]"},
        {"80 PRINT \"A;B\"", "N[80] K[PRINT] S[\"A] C[;B\"]"},
        // Keywords inside names stay names.
        {"90 TOTAL=STOPP+FORM", "N[90]"},
        {"100 IF A>B THEN 10 ELSE 20", "N[100] K[IF] K[THEN] Z[10] K[ELSE] Z[20]"},
        {"110 MTOP=7FFFH", "N[110] K[MTOP] Z[7FFFH]"},
        {"120 X=1E3+.5-1.5E-3", "N[120] Z[1E3] Z[.5] Z[1.5E-3]"},
        {"130 PH0. A : P. B", "N[130] K[PH0.] K[P.]"},
        {"LIST", "K[LIST]"},
        {"140 PRINT \"open", "N[140] K[PRINT] S[\"open]"},
        {"", ""},
        {"150 A1=B2", "N[150]"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Shown(r.line), r.shown) << r.line;
}

TEST(BasicSyntax, WhatShowsAsCommentIsWhatTheDownloadStrips) {
    const char *lines[] = {
        "10 PRINT \"A\" ' x", "20 A=1;B=2",          "30 GOTO 10 :REM x",  "' Kopf",
        "40 PRINT \"IT'S\"",  "50 X=1 ' a ; b :REM", "60 PRINT \";\" ' c", "70 A=1 :rem klein",
        "   ; eingerueckt",   "80 A=1:REM:REM",      "90 PRINT \"a\"",     "",
    };
    test::ScriptedDialogs dialogs;
    SharedFlags flags;
    flags.SonderzeichenWarnungAktiv = false;
    for (const std::string line : lines) {
        SCOPED_TRACE(line);
        const std::vector<SyntaxSpan> spans = BasicLineSpans(line);
        std::string kept = line;
        if (!spans.empty() && spans.back().kind == SyntaxKind::Comment) {
            EXPECT_EQ(spans.back().start + spans.back().length, line.size());
            kept = line.substr(0, spans.back().start);
            EXPECT_EQ(CommentStart(kept), std::string::npos);
        }
        std::string whole = line, before = kept;
        EXPECT_EQ(RemKillZeile(whole, dialogs, flags), RemKillZeile(before, dialogs, flags));
    }
}

TEST(BasicSyntax, KeywordsInAnyCase) {
    for (const char *word : {"PRINT", "print", "Print", "GOSUB", "p.", "ph1.", "mtop"})
        EXPECT_TRUE(IsBasicKeyword(word)) << word;
    for (const char *word : {"PRIN", "PRINTS", "PH2.", "", "TOTAL", "ÄND"})
        EXPECT_FALSE(IsBasicKeyword(word)) << word;
}

} // namespace
} // namespace quandel
