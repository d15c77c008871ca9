#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velnor {

// The program in memory: lines kept sorted by number, text upper-cased
// outside string literals as the interpreter lists it.
class ProgramStore {
public:
    static constexpr int highest_line = 65535;
    using Lines = std::map<int, std::string>;

    void store(int number, std::string_view text);
    void erase(int number) { lines_.erase(number); }
    void clear() { lines_.clear(); }
    const Lines &lines() const { return lines_; }

    // The lines from..to as LIST shows them, each ending in CR LF.
    std::string listing(int from = 0, int to = highest_line) const;
    // One listed line: the number left-aligned in a field, then the text.
    static std::string format_line(int number, std::string_view text);
    // The field is 7 characters wide, one less for a line that begins with
    // an assignment ("10    A=1" but "10     PRINT A").
    static std::size_t field_width(std::string_view text);

private:
    Lines lines_;
};

} // namespace velnor
