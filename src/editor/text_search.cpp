#include "editor/text_search.h"

#include <algorithm>

namespace quandel {

namespace {

bool IsWordChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'$';
}

// Lower case for the letters Windows-1252 holds; everything else as it is.
char16_t Fold(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 0x20);
    if (c < 0xC0)
        return c;
    if (c <= 0xDE && c != 0xD7) // À..Þ without ×
        return char16_t(c + 0x20);
    switch (c) {
    case 0x0152: // Œ
    case 0x0160: // Š
    case 0x017D: // Ž
        return char16_t(c + 1);
    case 0x0178: // Ÿ
        return 0x00FF;
    default:
        return c;
    }
}

bool SameAt(std::u16string_view text, std::u16string_view needle, std::size_t position,
            bool matchCase) {
    if (matchCase)
        return text.substr(position, needle.size()) == needle;
    for (std::size_t i = 0; i < needle.size(); ++i)
        if (Fold(text[position + i]) != Fold(needle[i]))
            return false;
    return true;
}

// The first hit in [first, last] searching up or down; `last` may be below
// `first` for a backward search. Positions are hit starts.
bool Scan(std::u16string_view text, std::u16string_view needle, std::size_t first, std::size_t last,
          SearchDirection direction, const SearchOptions &options, std::size_t &found) {
    if (direction == SearchDirection::Forward) {
        for (std::size_t p = first; p <= last; ++p)
            if (MatchesAt(text, needle, p, options))
                return found = p, true;
    } else {
        for (std::size_t p = first + 1; p-- > last;)
            if (MatchesAt(text, needle, p, options))
                return found = p, true;
    }
    return false;
}

} // namespace

bool MatchesAt(std::u16string_view text, std::u16string_view needle, std::size_t position,
               const SearchOptions &options) {
    if (needle.empty() || position > text.size() || text.size() - position < needle.size())
        return false;
    if (!SameAt(text, needle, position, options.matchCase))
        return false;
    if (!options.wholeWords)
        return true;
    const std::size_t end = position + needle.size();
    return (position == 0 || !IsWordChar(text[position - 1])) &&
           (end == text.size() || !IsWordChar(text[end]));
}

SearchResult FindText(std::u16string_view text, std::u16string_view needle, std::size_t from,
                      SearchDirection direction, const SearchOptions &options) {
    SearchResult result;
    if (needle.empty() || needle.size() > text.size())
        return result;
    const std::size_t lastStart = text.size() - needle.size();
    from = std::min(from, text.size());
    std::size_t found = 0;
    if (direction == SearchDirection::Forward) {
        if (from <= lastStart && Scan(text, needle, from, lastStart, direction, options, found))
            return {true, {found, false}};
        // Round again from the start up to where this search began.
        if (from > 0 &&
            Scan(text, needle, 0, std::min(from - 1, lastStart), direction, options, found))
            return {true, {found, true}};
    } else {
        if (from > 0 &&
            Scan(text, needle, std::min(from - 1, lastStart), 0, direction, options, found))
            return {true, {found, false}};
        if (from <= lastStart && Scan(text, needle, lastStart, from, direction, options, found))
            return {true, {found, true}};
    }
    return result;
}

std::vector<std::size_t> FindAll(std::u16string_view text, std::u16string_view needle,
                                 const SearchOptions &options) {
    std::vector<std::size_t> hits;
    if (needle.empty())
        return hits;
    for (std::size_t p = 0; p + needle.size() <= text.size();) {
        if (MatchesAt(text, needle, p, options)) {
            hits.push_back(p);
            p += needle.size();
        } else {
            ++p;
        }
    }
    return hits;
}

} // namespace quandel
