#include "basictools/remkill_zeile.h"

#include "basictools/basic_syntax.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"

namespace quandel {

char UpperCp1252(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
        return char(u - 32);
    if (u == 0x9A || u == 0x9C || u == 0x9E) // š œ ž
        return char(u - 16);
    if (u == 0xFF) // ÿ
        return char(0x9F);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) // à..þ except ÷
        return char(u - 32);
    return c;
}

std::string UpperCp1252(std::string text) {
    for (char &c : text)
        c = UpperCp1252(c);
    return text;
}

void WarnSonderzeichen(const std::string &line, UserDialogs &dialogs, SharedFlags &flags) {
    dialogs.MessageBox(line + "\n\r\n\r" + "Sonderzeichen am Ende!" + "\n\r" +
                           Cp1252("Bitte überprüfen!"),
                       kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
    flags.SonderzeichenWarnungAktiv = false;
}

namespace {

bool KeptAtEnd(unsigned char c) {
    return c == '"' || c == ')' || c == ',' || c == '?' || (c >= '0' && c <= '9') ||
           (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void TrimBlanks(std::string &text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(0, first);
    text.erase(text.find_last_not_of(' ') + 1);
}

} // namespace

std::size_t LeadingJunk(std::string_view text) {
    std::size_t lead = 0;
    while (lead < text.size() && (text[lead] == ' ' || static_cast<unsigned char>(text[lead]) < 13))
        ++lead;
    return lead;
}

std::string RemKillZeile(std::string &line, UserDialogs &dialogs, SharedFlags &flags) {
    std::string text = line;
    if (const std::size_t comment = CommentStart(text); comment != std::string::npos)
        text.erase(comment);

    text.erase(0, LeadingJunk(text));

    if (UpperCp1252(text).find("REM") != std::string::npos) {
        line = text;
        return text;
    }

    while (!text.empty()) {
        TrimBlanks(text);
        if (text.empty())
            break;
        const auto c = static_cast<unsigned char>(text.back());
        if (c == 9 || c == 10 || c == 13) {
            text.pop_back();
            continue;
        }
        if (KeptAtEnd(c))
            break;
        if (flags.SonderzeichenWarnungAktiv)
            WarnSonderzeichen(text, dialogs, flags);
        text.pop_back();
    }
    flags.SonderzeichenWarnungAktiv = true;
    line = text;
    return text;
}

} // namespace quandel
