#include "program_store.hpp"

#include "basic_text.hpp"

#include <algorithm>
#include <cctype>

namespace velnor {

void ProgramStore::store(int number, std::string_view text) {
    lines_[number] = upper_outside_strings(trim(text));
}

std::string ProgramStore::listing(int from, int to) const {
    std::string out;
    for (auto it = lines_.lower_bound(from); it != lines_.end() && it->first <= to; ++it)
        out += format_line(it->first, it->second) + "\r\n";
    return out;
}

std::size_t ProgramStore::field_width(std::string_view text) {
    // A name (letters and digits, an index in parentheses) and then "=".
    std::size_t i = 0;
    if (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i])))
            ++i;
        if (i < text.size() && text[i] == '(') {
            const std::size_t close = text.find(')', i);
            i = close == std::string_view::npos ? text.size() : close + 1;
        }
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i < text.size() && text[i] == '=')
            return 6;
    }
    return 7;
}

std::string ProgramStore::format_line(int number, std::string_view text) {
    std::string line = std::to_string(number);
    line.resize(std::max(line.size() + 1, field_width(text)), ' ');
    line += text;
    return line;
}

} // namespace velnor
