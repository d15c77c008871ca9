#include "cli/cli_dialogs.h"

#include <cstdint>

namespace quandel::cli {

namespace {

// Unicode code points of Windows-1252 0x80 to 0x9F.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string &out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

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

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (const char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b);
    }
    return out;
}

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
    return Cp1252ToUtf8(lines);
}

BoxAnswer StreamDialogs::MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                                    BoxButtons buttons) {
    if (json_) {
        out_ << "{\"title\": " << JsonString(Cp1252ToUtf8(title))
             << ", \"text\": " << JsonString(Cp1252ToUtf8(text)) << ", \"icon\": \""
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
