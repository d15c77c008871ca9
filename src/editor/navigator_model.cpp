#include "editor/navigator_model.h"

namespace quandel {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

char Fold(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return char(u + 0x20);
    return c;
}

// Classic wildcard match with backtracking over the last "*".
bool WildcardMatch(std::string_view name, std::string_view entry) {
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < entry.size() && (entry[p] == '?' || Fold(entry[p]) == Fold(name[n]))) {
            ++n, ++p;
        } else if (p < entry.size() && entry[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < entry.size() && entry[p] == '*')
        ++p;
    return p == entry.size();
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::string JoinDirectoryAndFile(const std::string &directory, const std::string &name) {
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    if (directory.empty() || IsSeparator(directory.back()))
        return directory + name;
    return directory + separator + name;
}

bool MatchesFilePattern(std::string_view name, std::string_view pattern) {
    while (true) {
        const std::size_t semi = pattern.find(';');
        const std::string_view entry = Trimmed(pattern.substr(0, semi));
        if (!entry.empty() && WildcardMatch(name, entry))
            return true;
        if (semi == std::string_view::npos)
            return false;
        pattern.remove_prefix(semi + 1);
    }
}

std::string LoadQuestion(bool terminalTabShown, const std::string &path) {
    return (terminalTabShown ? "Programm " : "Datei ") + path + " laden?";
}

} // namespace quandel
