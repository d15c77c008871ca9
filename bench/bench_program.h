#pragma once

// The program the download benchmarks put into velnor-sim, and how the
// simulator lists it. Both senders (the app and the fixed-delay sender) send
// the same bytes: the lines carry no comment, so the app's stripping leaves
// them as they are.

#include <string>
#include <vector>

namespace bench {

// What the app sends before the program lines; the fixed-delay sender sends
// the same, so that both face the same slow commands.
inline const std::vector<std::string> kOpeningLines = {"", "", "MTOP=7FFFH", "RAM", "New"};

// Line i (1-based) of the benchmark program, without its line end.
inline std::string ProgramLine(int i) {
    return std::to_string(i * 10) + " PRINT \"LINE " + std::to_string(i) + "\" : IF A>B THEN A=A+1";
}

// The program file's text: `count` lines ended by CR LF.
inline std::string ProgramText(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += ProgramLine(i) + "\r\n";
    return text;
}

// Line i as the simulator's LIST shows it: the number left-aligned in a
// 7-character field, then the text (already upper case outside strings).
inline std::string ListedLine(int i) {
    std::string line = std::to_string(i * 10);
    line.resize(7, ' ');
    const std::string full = ProgramLine(i);
    return line + full.substr(full.find(' ') + 1);
}

// How many of the given program lines a LIST answer lacks or shows changed.
inline int MissingLines(const std::string &listing, const std::vector<int> &lines) {
    int missing = 0;
    for (int i : lines) {
        std::string line(1, '\n');
        line += ListedLine(i);
        line += '\r';
        if (listing.find(line) == std::string::npos && listing.rfind(line.substr(1), 0) != 0)
            ++missing;
    }
    return missing;
}

} // namespace bench
