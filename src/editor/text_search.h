#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quandel {

// How the editor's find bar compares: with or without case, and whether a
// hit must stand as a word of its own. A word is made of A-Z, a-z, 0-9, "_"
// and "$" (BASIC's string variables end with "$"); every other character,
// line ends and umlauts included, bounds it.
struct SearchOptions {
    bool matchCase = false;
    bool wholeWords = false;
};

enum class SearchDirection { Forward, Backward };

// One hit of a search. `wrapped` tells that the search ran past the end (or,
// backwards, past the start) and found the hit from the other side.
struct SearchHit {
    std::size_t position = 0;
    bool wrapped = false;
};

// The text is UTF-16 as the editor holds it; ignoring case folds the letters
// of the controller's code page (ASCII, the Latin-1 letters, Š Œ Ž Ÿ).
//
// Forward finds the first hit that starts at `from` or after it, backward the
// last one that starts before `from`; either wraps around once. No hit, or
// an empty `needle`, gives found == false.
struct SearchResult {
    bool found = false;
    SearchHit hit;
};
SearchResult FindText(std::u16string_view text, std::u16string_view needle, std::size_t from,
                      SearchDirection direction, const SearchOptions &options);

// Whether `needle` matches at `position` under the options (the check for
// "is the selection the current hit").
bool MatchesAt(std::u16string_view text, std::u16string_view needle, std::size_t position,
               const SearchOptions &options);

// The starts of all hits from the beginning, none overlapping another, as a
// replace-all takes them.
std::vector<std::size_t> FindAll(std::u16string_view text, std::u16string_view needle,
                                 const SearchOptions &options);

} // namespace quandel
