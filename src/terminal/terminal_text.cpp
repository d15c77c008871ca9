#include "terminal/terminal_text.h"

namespace quandel {

std::string FormatCodes(const std::string &text) {
    std::string out;
    out.reserve(text.size() * 5);
    for (char c : text) {
        out.push_back('<');
        out += std::to_string(static_cast<unsigned char>(c));
        out.push_back('>');
    }
    return out;
}

TerminalText::Change TerminalText::AppendTerminalText(const std::string &chunk) {
    Change change;
    if (text_.size() > kPlainLimit) {
        change.removedFront = kPlainTrim;
        text_.erase(0, kPlainTrim);
    }
    text_ += chunk;
    change.appended = chunk;
    return change;
}

TerminalText::Change TerminalText::AppendUntrimmed(const std::string &chunk) {
    text_ += chunk;
    return {0, chunk};
}

TerminalText::Change TerminalText::AppendCodes(const std::string &chunk) {
    Change change;
    change.appended = FormatCodes(chunk);
    text_ += change.appended;
    if (text_.size() > kCodeLimit) {
        // Cut before a code's "<" so that no code is left torn in half.
        std::size_t cut = text_.size() - kCodeKeep;
        const std::size_t lt = text_.find('<', cut);
        if (lt != std::string::npos)
            cut = lt;
        text_.erase(0, cut);
        change.removedFront = cut;
    }
    return change;
}

} // namespace quandel
