#include "program_store.hpp"

#include "basic_text.hpp"

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

std::string ProgramStore::format_line(int number, std::string_view text) {
    std::string line = std::to_string(number);
    line.resize(7, ' ');
    line += text;
    return line;
}

} // namespace velnor
