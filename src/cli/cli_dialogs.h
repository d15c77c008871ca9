#pragma once

#include "core/user_dialogs.h"

#include <ostream>
#include <string>
#include <string_view>

namespace quandel::cli {

// A JSON string literal, quotes included, for UTF-8 text: quotation mark and
// backslash escaped, CR as \r, other control characters as \u00XX.
std::string JsonString(std::string_view utf8);

// A box text for a terminal: UTF-8, and each line end (CR, LF, CR LF or
// LF CR) one line break.
std::string ReadableText(std::string_view cp1252);

// Prints every message box on a stream instead of showing it: readable
// ("TITLE: text") or as one JSON object per line. Yes/No questions are
// answered with `answerYes`; input boxes and file pickers are cancelled.
class StreamDialogs final : public UserDialogs {
public:
    StreamDialogs(std::ostream &out, bool json, bool answerYes)
        : out_(out), json_(json), answerYes_(answerYes) {}

    BoxAnswer MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                        const std::string &proposal) override;
    bool OpenFileDialog(FileDialogState &) override { return false; }
    bool SaveFileDialog(FileDialogState &) override { return false; }

private:
    std::ostream &out_;
    bool json_;
    bool answerYes_;
};

} // namespace quandel::cli
