#pragma once

// A generated BASIC program for the source tools' benchmarks: numbered lines
// with comments of every kind, assignments to some 600 variables, string
// literals, and GOTO / GOSUB / THEN / ON ... GOTO to lines that exist. It is
// clean: REMKILL finds nothing to complain about, and the variable names have
// at most two characters, which VARLIST's Intel-BASIC test never questions.

#include <string>
#include <vector>

namespace bench {

// Variable k (0..935): a letter, then a digit or a second letter.
inline std::string VariableName(int k) {
    std::string name(1, char('A' + k % 26));
    const int second = k / 26 % 36;
    name += second < 10 ? char('0' + second) : char('A' + second - 10);
    return name;
}

inline std::vector<std::string> ToolProgramLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(std::size_t(count));
    const auto num = [](long n) {
        return std::to_string(n);
    };
    // Four groups of variables, and 26 string variables.
    const auto a = [](int i) {
        return VariableName(i % 97);
    };
    const auto b = [](int i) {
        return VariableName(97 + i % 89);
    };
    const auto x = [](int i) {
        return VariableName(186 + i % 300);
    };
    const auto z = [](int i) {
        return VariableName(486 + i % 50);
    };
    const auto text = [](int i) {
        return std::string(1, char('A' + i % 26)) + "$";
    };
    for (int i = 1; i <= count; ++i) {
        const std::string n = num(10L * i);
        // Jump targets spread over the whole program.
        const std::string t = num(10L * (1 + (i * 7919L) % count));
        const std::string t2 = num(10L * (1 + (i * 104729L) % count));
        switch (i % 10) {
        case 0:
            lines.push_back(n + " REM ---- part " + num(i / 10));
            break;
        case 1:
            lines.push_back(n + " " + a(i) + "=" + b(i) + "+" + num(i) + " : " + text(i) +
                            "=\"TEXT " + num(i) + "\" ' set the values");
            break;
        case 2:
            lines.push_back(n + " IF " + a(i) + ">" + num(i % 1000) + " THEN " + t);
            break;
        case 3:
            lines.push_back(n + " GOSUB " + t + " ; the next part");
            break;
        case 4:
            lines.push_back(n + " PRINT \"LINE " + num(i) + "\";" + a(i) + " :REM show");
            break;
        case 5:
            lines.push_back(n + " FOR J=1 TO 10 : " + x(i) + "=" + x(i) + "+J : NEXT J");
            break;
        case 6:
            lines.push_back(n + " GOTO " + t);
            break;
        case 7:
            lines.push_back(n + " ON K GOTO " + t + "," + t2);
            break;
        case 8:
            lines.push_back(n + " POP " + z(i));
            break;
        default:
            lines.push_back("   " + n + " RETURN");
            break;
        }
    }
    return lines;
}

// The program as a file holds it: lines ended by CR LF.
inline std::string ToolProgramText(int count) {
    std::string text;
    for (const std::string &line : ToolProgramLines(count))
        text += line + "\r\n";
    return text;
}

} // namespace bench
