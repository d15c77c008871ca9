#include "basictools/line_model.h"

#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "basictools/zahl_wert.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/user_dialogs.h"

#include <algorithm>

namespace quandel {

namespace {

constexpr char kCr = '\r';
constexpr const char *kWarnung = "WARNUNG";
constexpr const char *kFehler = "F E H L E R";

Finding Warning(FindingKind kind, std::string text, std::size_t column = 0,
                std::int32_t number = 0) {
    Finding f;
    f.kind = kind;
    f.text = std::move(text);
    f.title = kWarnung;
    f.column = int(column);
    f.number = number;
    return f;
}

void DropFront(std::string &text, std::size_t count) {
    text.erase(0, std::min(count, text.size()));
}

// The characters a target takes in a list: its digits, and its minus sign
// when it has one (so that "-5" is not read again as 5).
std::size_t TargetWidth(std::int32_t t) {
    return DecimalText(t).size();
}

// After a target: its digits, then the commas and blanks before the next one.
void SkipToNextInList(std::string &text, std::int32_t t) {
    DropFront(text, TargetWidth(t));
    std::size_t n = 0;
    while (n < text.size() && (text[n] == ',' || text[n] == ' '))
        ++n;
    text.erase(0, n);
}

// Where the text after keyword K starts: past the keyword and the one
// character after it (normally a blank). npos when nothing would be left.
std::size_t AfterKeyword(const std::string &text, std::size_t keywordPos, std::size_t keywordLen) {
    const std::size_t end = keywordPos + keywordLen + 1;
    return end >= text.size() ? std::string::npos : end;
}

[[noreturn]] void Overflow(UserDialogs &dialogs, const std::string &what) {
    dialogs.MessageBox(what + kCr + "Das Programm wird abgebrochen!", kFehler, BoxIcon::Critical,
                       BoxButtons::Ok);
    throw ToolOverflow(what);
}

} // namespace

void ShowFinding(UserDialogs &dialogs, const Finding &finding) {
    dialogs.MessageBox(finding.text, finding.title, finding.icon, BoxButtons::Ok);
}

void LineModel::Report(UserDialogs &dialogs, Finding finding) {
    if (findings)
        findings->Report(finding);
    else
        ShowFinding(dialogs, finding);
}

void LineModel::BeginRun() {
    ZeilenAnzahl = 0;
    SprungzielAnzahl = 0;
    Sprungbefehle[0] = "GOTO";
    Sprungbefehle[1] = "GOSUB";
    Sprungbefehle[2] = "THEN";
    Sprungbefehle[3] = "ELSE";
}

void LineModel::ZeilennummerTest(UserDialogs &dialogs) {
    const int i = ZeilenAnzahl;
    const std::size_t blank = Zeile.find(' ');
    // The number is read from the text up to and including the first blank;
    // a line without a blank has none.
    const std::int32_t n =
        blank == std::string::npos ? 0 : ZahlWert(std::string_view(Zeile).substr(0, blank + 1));
    ZeilenNr[i] = n;
    if (n == 0) {
        Report(dialogs, Warning(FindingKind::NoLineNumber,
                                "Zeile ohne Zeilennummer" + std::string(1, kCr) + Zeile));
        return;
    }
    const std::string nText = NumberText(n);
    if (Zeile.size() < nText.size()) {
        Report(dialogs, Warning(FindingKind::NumberWithoutText,
                                nText + " Zeilennummer ohne Text " + kCr + Zeile, 0, n));
        return;
    }
    if (i > 0 && n <= ZeilenNr[i - 1])
        Report(dialogs, Warning(FindingKind::NumberOrder,
                                "falsche Zeilennummer: " + NumberText(ZeilenNr[i - 1]) + "  " +
                                    nText + kCr + Zeile,
                                0, n));
    if (i + 1 > kMaxEintraege)
        Overflow(dialogs, Cp1252("Zeilenüberlauf")); // the count stays at the limit
    ZeilenAnzahl = i + 1;
}

void LineModel::SprungzieleSuchen(std::string text, int k, UserDialogs &dialogs) {
    if (k < 0 || k >= kSprungbefehlSlots || Sprungbefehle[k].empty())
        return;
    const std::string keyword = Sprungbefehle[k];
    for (;;) {
        const std::size_t p = text.find(keyword);
        if (p == std::string::npos)
            return;
        const std::size_t start = AfterKeyword(text, p, keyword.size());
        if (start == std::string::npos) {
            Report(dialogs, Warning(FindingKind::KeywordAtLineEnd,
                                    "Fehler am Zeilenende" + std::string(1, kCr) + Zeile,
                                    ColumnIn(text, p)));
            return;
        }
        text.erase(0, start);
        const std::size_t column = ColumnIn(text, 0);
        std::int32_t t = ZielNummer(text);
        if (t == 0) {
            // THEN and ELSE are often followed by a statement, not a target.
            if (k <= 1)
                Report(dialogs, Warning(FindingKind::TargetMissing,
                                        "Sprungziel fehlt" + std::string(1, kCr) + Zeile, column));
            continue;
        }
        while (t != 0) { // ON X GOTO 100,200,300
            SprungzielMerken(t, dialogs);
            SkipToNextInList(text, t);
            t = ZielNummer(text);
        }
    }
}

std::int32_t LineModel::ZielNummer(std::string &text) {
    if (text.find("@ ") == std::string::npos)
        return ZahlWert(text);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return 0;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
    constexpr std::string_view kEnds = " :';,";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (kEnds.find(text[i]) != std::string_view::npos)
            return ZahlWert(std::string_view(text).substr(0, i + 1));
    }
    return 0;
}

void LineModel::SprungzielMerken(std::int32_t t, UserDialogs &dialogs) {
    const auto begin = Sprungziele.begin();
    if (std::find(begin, begin + SprungzielAnzahl, t) != begin + SprungzielAnzahl)
        return;
    if (SprungzielAnzahl + 1 > kMaxEintraege)
        Overflow(dialogs, Cp1252("Zeilenüberlauf wegen > 1000 Sprüngen"));
    Sprungziele[SprungzielAnzahl] = t;
    ++SprungzielAnzahl;
}

bool LineModel::ZielVorhanden(std::int32_t t) const {
    const auto begin = ZeilenNr.begin();
    return std::find(begin, begin + ZeilenAnzahl, t) != begin + ZeilenAnzahl;
}

void LineModel::SprungzielTest(UserDialogs &dialogs, const std::string &targetPath) {
    FalscheZielAnzahl = 0;
    std::string report;
    for (int j = 0; j < SprungzielAnzahl; ++j) {
        const std::int32_t t = Sprungziele[j];
        // Without any recorded line number there is nothing to compare with.
        if (ZeilenAnzahl == 0 || ZielVorhanden(t))
            continue;
        report += "Sprungziel " + NumberText(t) + " nicht vorhanden." + kCr;
        FalscheZiele[FalscheZielAnzahl] = t;
        ++FalscheZielAnzahl;
    }
    if (FalscheZielAnzahl == 0) {
        dialogs.MessageBox("Keinen Fehler gefunden.", kAppTitle, BoxIcon::None, BoxButtons::Ok);
        return;
    }
    dialogs.MessageBox(report, kAppTitle, BoxIcon::None, BoxButtons::Ok);
    if (dialogs.MessageBox("Sollen die falschen Befehlszeilen gesucht werden ?", "", BoxIcon::None,
                           BoxButtons::YesNo) == BoxAnswer::Yes)
        FalscheZeilenSuchen(dialogs, targetPath);
}

bool LineModel::HatSprungbefehl(std::string_view line) const {
    for (int k = 0; k < kAnzahlSprungbefehle; ++k) {
        if (!Sprungbefehle[k].empty() && line.find(Sprungbefehle[k]) != std::string_view::npos)
            return true;
    }
    return false;
}

void LineModel::FalscheZeilenSuchen(UserDialogs &dialogs, const std::string &targetPath) {
    std::string error;
    auto lines = SourceLines::Open(targetPath, error);
    if (!lines)
        throw ToolFailure(error);
    while (!lines->AtEnd()) {
        Zeile = lines->Next();
        if (!HatSprungbefehl(Zeile))
            continue;
        for (int j = 0; j < FalscheZielAnzahl; ++j) {
            if (Zeile.find(NumberText(FalscheZiele[j])) != std::string::npos &&
                ZeilenzielePruefen(dialogs))
                break; // one box per line is enough
        }
    }
}

bool LineModel::ZeilenzielePruefen(UserDialogs &dialogs) {
    for (int k = 0; k < kAnzahlSprungbefehle; ++k) {
        const std::string &keyword = Sprungbefehle[k];
        if (keyword.empty())
            continue;
        std::string text = Zeile;
        for (;;) {
            const std::size_t p = text.find(keyword);
            if (p == std::string::npos)
                break;
            // A keyword at the line end cannot be followed by a target.
            const std::size_t start = AfterKeyword(text, p, keyword.size());
            if (start == std::string::npos)
                break;
            text.erase(0, start);
            std::int32_t t = ZielNummer(text);
            if (t == 0) {
                // No target: skip as many characters as the keyword has. When
                // fewer are left, no further keyword can follow.
                if (text.size() < keyword.size())
                    break;
                text.erase(0, keyword.size());
                continue;
            }
            while (t != 0) {
                if (!ZielVorhanden(t)) {
                    Finding f;
                    f.kind = FindingKind::UnknownTarget;
                    f.text = Zeile;
                    f.title = "Falsche Zeile";
                    f.icon = BoxIcon::Exclamation;
                    f.number = t;
                    f.column = int(ColumnIn(text, 0));
                    Report(dialogs, std::move(f));
                    return true;
                }
                SkipToNextInList(text, t);
                t = ZielNummer(text);
            }
        }
    }
    return false;
}

} // namespace quandel
