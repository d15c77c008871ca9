#include "transfer/program_compare.h"

#include "basictools/basic_syntax.h"
#include "basictools/remkill_zeile.h"
#include "core/shared_flags.h"
#include "core/silent_dialogs.h"
#include "core/text_lines.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace quandel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Splits "240 PRINT X" into 240 and "PRINT X"; no number: 0 and the text.
NumberedLine Split(std::string_view line) {
    std::size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return {};
    NumberedLine out;
    std::int64_t n = 0;
    std::size_t digits = 0;
    for (; i < line.size() && IsDigit(line[i]) && digits < 10; ++i, ++digits)
        n = n * 10 + (line[i] - '0');
    if (digits == 0 || n > INT32_MAX) {
        out.text = std::string(line.substr(line.find_first_not_of(' ')));
        return out;
    }
    out.number = std::int32_t(n);
    const std::size_t text = line.find_first_not_of(' ', i);
    if (text != std::string_view::npos) {
        out.text = std::string(line.substr(text));
        out.text.erase(out.text.find_last_not_of(' ') + 1);
    }
    return out;
}

// A numeric constant's value as text that is the same for every notation.
std::string ValueText(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "#%.9g", value);
    return buf;
}

} // namespace

std::vector<NumberedLine> ListedLines(std::string_view listing) {
    std::vector<NumberedLine> out;
    TextLines split = SplitLines(listing);
    split.lines.push_back(std::move(split.rest));
    for (const std::string &line : split.lines) {
        if (line.empty() || !IsDigit(line.front()))
            continue;
        NumberedLine l = Split(line);
        if (l.number != 0)
            out.push_back(std::move(l));
    }
    return out;
}

std::vector<NumberedLine> DownloadedLines(std::string_view source) {
    SilentDialogs quiet;
    SharedFlags flags;
    std::vector<NumberedLine> out;
    TextLines split = SplitLines(source);
    split.lines.push_back(std::move(split.rest));
    for (std::string &line : split.lines) {
        flags.SonderzeichenWarnungAktiv = false;
        RemKillZeile(line, quiet, flags);
        if (!line.empty()) {
            NumberedLine l = Split(line);
            l.line = line;
            out.push_back(std::move(l));
        }
    }
    return out;
}

std::string LineMeaning(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            const std::size_t close = text.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
            out += text.substr(i, end - i);
            i = end;
        } else if (c == ' ') {
            ++i;
        } else if (IsNameChar(c) && !IsDigit(c)) {
            // A name or keyword, digits included (A1, PH0).
            while (i < text.size() && IsNameChar(text[i]))
                out += char(std::toupper(static_cast<unsigned char>(text[i++])));
        } else if (IsDigit(c) || (c == '.' && i + 1 < text.size() && IsDigit(text[i + 1]))) {
            const std::size_t end = NumericConstantEnd(text, i);
            const std::string number(text.substr(i, end - i));
            const bool hex = number.back() == 'H' || number.back() == 'h';
            out += ValueText(hex ? double(std::strtoull(number.c_str(), nullptr, 16))
                                 : std::strtod(number.c_str(), nullptr));
            i = end;
        } else {
            out += char(std::toupper(static_cast<unsigned char>(c)));
            ++i;
        }
    }
    return out;
}

std::vector<LineDifference> CompareProgram(const std::vector<NumberedLine> &file,
                                           const std::vector<NumberedLine> &controller) {
    std::map<std::int32_t, const NumberedLine *> inFile, inController;
    for (const NumberedLine &l : file)
        if (l.number != 0)
            inFile[l.number] = &l;
    for (const NumberedLine &l : controller)
        inController[l.number] = &l;
    std::vector<LineDifference> out;
    auto f = inFile.begin();
    auto c = inController.begin();
    while (f != inFile.end() || c != inController.end()) {
        if (c == inController.end() || (f != inFile.end() && f->first < c->first)) {
            out.push_back({LineDifference::Kind::MissingInController,
                           f->first,
                           f->second->text,
                           {},
                           f->second->line});
            ++f;
        } else if (f == inFile.end() || c->first < f->first) {
            out.push_back({LineDifference::Kind::OnlyInController, c->first, {}, c->second->text});
            ++c;
        } else {
            if (LineMeaning(f->second->text) != LineMeaning(c->second->text))
                out.push_back({LineDifference::Kind::Different, f->first, f->second->text,
                               c->second->text, f->second->line});
            ++f;
            ++c;
        }
    }
    return out;
}

} // namespace quandel
