#include "basic_text.hpp"

#include <cctype>

namespace velnor {

std::string_view trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string upper_outside_strings(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool in_string = false;
    for (const char c : text) {
        if (c == '"')
            in_string = !in_string;
        out += in_string ? c : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::vector<std::string_view> split_statements(std::string_view line) {
    std::vector<std::string_view> statements;
    bool in_string = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            in_string = !in_string;
        else if (line[i] == ':' && !in_string) {
            statements.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    statements.push_back(line.substr(start));
    return statements;
}

} // namespace velnor
