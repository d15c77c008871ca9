#pragma once

#include "core/user_dialogs.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quandel {

// What a check found in a program line.
enum class FindingKind {
    NoLineNumber,      // a line without a number
    NumberWithoutText, // a number and nothing after it
    NumberOrder,       // a number not above the one before
    KeywordAtLineEnd,  // GOTO and the like with nothing after them
    TargetMissing,     // GOTO or GOSUB without a target
    UnknownTarget,     // a jump to a line number the program does not have
    NumberTooLarge,    // a number beyond 32 bits
    LineTooLong,       // the controller cuts the line
    NotAscii,          // a character the controller cannot take
    CommentInString,   // ' or ; inside a string: the line is cut there
    SimilarNames,      // two names the controller's BASIC does not tell apart
};

// A finding as data: where, what, and the box the tools show for it.
struct Finding {
    int line = 0;   // 1-based line of the source, 0 when not known
    int column = 0; // 0-based position in that line
    FindingKind kind = FindingKind::NoLineNumber;
    std::string text;  // the box text (Windows-1252)
    std::string title; // the box title
    BoxIcon icon = BoxIcon::None;
    std::int32_t number = 0; // the jump target or line number concerned
};

// Where findings go. The tools show each as its box; the editor collects them.
class FindingSink {
public:
    virtual ~FindingSink() = default;
    virtual void Report(const Finding &finding) = 0;
};

// Shows a finding as the tools do: its box with an OK button.
void ShowFinding(UserDialogs &dialogs, const Finding &finding);

// The line model the source tools share: the current line, the line numbers
// and jump targets found so far and the checks built on them. One instance
// lives as long as the main window. The tables keep their entries between
// runs; each tool resets the counts it uses when it starts, and entries are
// only ever read below their count.
//
// Overflow of a table shows its message box and throws ToolOverflow; a number
// beyond 32 bits throws ToolFailure (from ZahlWert).
class LineModel {
public:
    // At most this many line numbers and jump targets are recorded.
    static constexpr int kMaxEintraege = 10000;
    // Slots 0 to 3 hold the jump keywords; slot 4 stays empty.
    static constexpr int kSprungbefehlSlots = 5;
    static constexpr int kAnzahlSprungbefehle = 4;

    std::string Zeile; // the line being worked on
    std::vector<std::int32_t> ZeilenNr = std::vector<std::int32_t>(kMaxEintraege + 1);
    int ZeilenAnzahl = 0;
    std::vector<std::int32_t> Sprungziele = std::vector<std::int32_t>(kMaxEintraege + 1);
    int SprungzielAnzahl = 0;
    std::vector<std::int32_t> FalscheZiele = std::vector<std::int32_t>(kMaxEintraege + 1);
    int FalscheZielAnzahl = 0;
    std::array<std::string, kSprungbefehlSlots> Sprungbefehle;

    // Where the checks' findings go; none: each shows as its box at once.
    FindingSink *findings = nullptr;

    // Start of a tool run: line and target counts to 0, the keywords GOTO,
    // GOSUB, THEN, ELSE into slots 0 to 3. FalscheZielAnzahl is left alone.
    void BeginRun();

    // Records the number of Zeile (the text up to its first blank) and warns
    // about a missing number, a number without text and a number that does
    // not ascend. Lines without a number are not counted.
    void ZeilennummerTest(UserDialogs &dialogs);

    // Records the jump targets that follow keyword k (index into
    // Sprungbefehle) in `text`, a copy of Zeile; warnings name Zeile.
    void SprungzieleSuchen(std::string text, int k, UserDialogs &dialogs);

    // A jump target at the start of `text`. When the text holds "@ " it is
    // trimmed of blanks (the caller's text too) and the number must end at a
    // blank, ':', '\'', ';' or ','.
    static std::int32_t ZielNummer(std::string &text);

    // Adds t to Sprungziele unless it is there already.
    void SprungzielMerken(std::int32_t t, UserDialogs &dialogs);

    // The final check after REMKILL: reports every recorded target that is no
    // recorded line number and offers to show the lines that use them, read
    // again from `targetPath`.
    void SprungzielTest(UserDialogs &dialogs, const std::string &targetPath);

    // Reads `targetPath` line by line into Zeile and shows (at most once per
    // line) each line that jumps to one of FalscheZiele.
    void FalscheZeilenSuchen(UserDialogs &dialogs, const std::string &targetPath);

    // Reads every jump target of Zeile; at the first one that is no recorded
    // line number it shows the line in a "Falsche Zeile" box and returns true.
    bool ZeilenzielePruefen(UserDialogs &dialogs);

    // True when t is among the recorded line numbers.
    bool ZielVorhanden(std::int32_t t) const;

    // True when the line holds one of the jump keywords.
    bool HatSprungbefehl(std::string_view line) const;

private:
    void Report(UserDialogs &dialogs, Finding finding);
    // Where `offset` in `rest`, what is left of Zeile after dropping from
    // its front, lies in Zeile.
    std::size_t ColumnIn(const std::string &rest, std::size_t offset) const {
        return rest.size() <= Zeile.size() ? Zeile.size() - rest.size() + offset : offset;
    }
};

} // namespace quandel
