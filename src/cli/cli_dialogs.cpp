#include "cli/cli_dialogs.h"

#include "core/native_path.h"

#include <cstdint>

namespace quandel::cli {

namespace {

const char *IconName(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::None:
        return "none";
    case BoxIcon::Information:
        return "information";
    case BoxIcon::Exclamation:
        return "exclamation";
    case BoxIcon::Critical:
        return "critical";
    case BoxIcon::Question:
        return "question";
    }
    return "none";
}

const char *ButtonsName(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return "ok";
    case BoxButtons::OkCancel:
        return "okcancel";
    case BoxButtons::YesNo:
        return "yesno";
    case BoxButtons::YesNoCancel:
        return "yesnocancel";
    case BoxButtons::RetryCancel:
        return "retrycancel";
    case BoxButtons::AbortRetryIgnore:
        return "abortretryignore";
    }
    return "ok";
}

} // namespace

std::string JsonString(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (b < 0x20) {
            out += "\\u00";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string ReadableText(std::string_view cp1252) {
    std::string lines;
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        const char c = cp1252[i];
        if (c == '\r' || c == '\n') {
            lines += '\n';
            const char pair = c == '\r' ? '\n' : '\r';
            if (i + 1 < cp1252.size() && cp1252[i + 1] == pair)
                ++i;
        } else {
            lines += c;
        }
    }
    return Cp1252ToUtf8Text(lines);
}

BoxAnswer StreamDialogs::MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                                    BoxButtons buttons) {
    if (json_) {
        out_ << "{\"title\": " << JsonString(Cp1252ToUtf8Text(title))
             << ", \"text\": " << JsonString(Cp1252ToUtf8Text(text)) << ", \"icon\": \""
             << IconName(icon) << "\", \"buttons\": \"" << ButtonsName(buttons) << "\"}\n";
    } else {
        std::string readable = ReadableText(text);
        while (!readable.empty() && readable.back() == '\n')
            readable.pop_back(); // the stream's own line end follows
        if (!title.empty())
            out_ << ReadableText(title) << ": ";
        out_ << readable << '\n';
    }
    out_.flush();
    switch (buttons) {
    case BoxButtons::YesNo:
    case BoxButtons::YesNoCancel:
        return answerYes_ ? BoxAnswer::Yes : BoxAnswer::No;
    case BoxButtons::OkCancel:
    case BoxButtons::Ok:
        return BoxAnswer::Ok;
    case BoxButtons::RetryCancel:
        return BoxAnswer::Cancel;
    case BoxButtons::AbortRetryIgnore:
        return BoxAnswer::Abort;
    }
    return BoxAnswer::Ok;
}

std::optional<std::string> StreamDialogs::InputBox(const std::string &, const std::string &,
                                                   const std::string &) {
    return std::nullopt;
}

} // namespace quandel::cli
