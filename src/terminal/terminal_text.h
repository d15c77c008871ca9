#pragma once

#include <cstddef>
#include <string>

namespace quandel {

// "<65><66><13><10>" for "AB\r\n": every byte as its decimal code in brackets.
std::string FormatCodes(const std::string &text);

// The terminal pane's text as received (Windows-1252 bytes), with the rules
// that bound it. The widget mirrors it: each append reports what changed.
class TerminalText {
public:
    // Plain text: beyond 16000 characters the first 4096 go first.
    static constexpr std::size_t kPlainLimit = 16000;
    static constexpr std::size_t kPlainTrim = 4096;
    // Code display: bounded as well, trimmed in whole "<n>" codes.
    static constexpr std::size_t kCodeLimit = 96000;
    static constexpr std::size_t kCodeKeep = 64000;

    struct Change {
        std::size_t removedFront = 0; // characters dropped from the front
        std::string appended;         // added at the end
    };

    // The pane's text is replaced (start-up banner, "btnClear").
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string &Text() const { return text_; }

    Change AppendTerminalText(const std::string &chunk);
    // The transfers append their answers without the trimming rule.
    Change AppendUntrimmed(const std::string &chunk);
    Change AppendCodes(const std::string &chunk);

private:
    std::string text_;
};

} // namespace quandel
