#include "basictools/varlist.h"

#include "basictools/remkill_zeile.h"
#include "basictools/tool_context.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/silent_dialogs.h"
#include "core/user_dialogs.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <utility>
#include <vector>

namespace quandel {

namespace {

constexpr const char *kCR = "\r";
constexpr const char *kWarnTitle = "W A R N U N G";

// Blanks (code 32 only) removed at both ends.
std::string TrimBlanks(const std::string &text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool Contains(const std::string &text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// Ascending by character code (Windows-1252 byte values), a prefix first.
bool ByCode(const std::string &a, const std::string &b) {
    const std::string ua = UpperCp1252(a), ub = UpperCp1252(b);
    return std::lexicographical_compare(
        ua.begin(), ua.end(), ub.begin(), ub.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
}

// One VARLIST run: the line being read and the variable table.
class VarListRun {
public:
    explicit VarListRun(ToolContext &ctx)
        : ctx_(ctx), countView_(dynamic_cast<VariableCountView *>(&ctx.view)) {}

    std::string zeile;
    std::vector<std::string> variablen;

    void VariablenAusZeile();
    void VariablenSortieren() { std::stable_sort(variablen.begin(), variablen.end(), ByCode); }
    void IntelBasicTest(std::vector<std::string> names);

private:
    void VariableVorGleich(const std::string &statement);
    void VariablenNachPop(const std::string &statement);
    void VariableMerken(std::string name);
    void FeldnameKuerzen(std::string &name);
    void Box(const std::string &text, const std::string &title, BoxIcon icon = BoxIcon::None) {
        ctx_.dialogs.MessageBox(text, title, icon, BoxButtons::Ok);
    }

    ToolContext &ctx_;
    VariableCountView *countView_;
};

void VarListRun::VariablenAusZeile() {
    RemKillZeile(zeile, ctx_.dialogs, ctx_.flags);
    zeile = StringsEntfernen(zeile);
    do {
        const std::string trenner = TrennerSuchen(zeile);
        const auto p = zeile.find(trenner);
        std::string statement;
        if (p != std::string::npos) {
            statement = zeile.substr(0, p);
            zeile.erase(0, p + trenner.size());
        } else {
            statement = std::move(zeile);
            zeile.clear();
        }
        statement = StringsEntfernen(TrimBlanks(statement));
        if (Contains(statement, "="))
            VariableVorGleich(statement);
        if (Contains(UpperCp1252(statement), "POP"))
            VariablenNachPop(statement);
    } while (!zeile.empty());
}

// The name before the first "=" of an assignment; comparisons (<=, >=, the
// "=" of a longer expression) give none.
void VarListRun::VariableVorGleich(const std::string &statement) {
    try {
        const auto p = statement.find('=');
        if (p == std::string::npos)
            return;
        if (p == 0)
            Box("Undefinierte Variable" + std::string(kCR) + zeile, kWarnTitle);
        const std::string t = TrimBlanks(statement.substr(0, p));
        if (t.empty() || std::string_view("<>,.-\"").find(t.back()) != std::string_view::npos)
            return;
        const auto blank = t.rfind(' ');
        const std::string name =
            TrimBlanks(UpperCp1252(t.substr(blank == std::string::npos ? 0 : blank)));
        if (!name.empty())
            VariableMerken(name);
    } catch (const std::exception &) {
        Box("Fehler in Variablensuchroutine vor =", kAppTitle);
    }
}

// The names listed after POP, separated by commas.
void VarListRun::VariablenNachPop(const std::string &statement) {
    try {
        const std::string upper = UpperCp1252(statement);
        const auto pop = upper.find("POP");
        if (pop == std::string::npos)
            return;
        std::string rest = upper.substr(pop + 3);
        for (;;) {
            rest = TrimBlanks(rest);
            const auto comma = rest.find(',');
            if (comma == std::string::npos)
                break;
            const std::string name = rest.substr(0, comma);
            if (!name.empty())
                VariableMerken(name);
            rest.erase(0, comma + 1);
        }
        if (rest.empty())
            return;
        const auto blank = rest.find(' ');
        if (blank != std::string::npos)
            rest.erase(blank + 1);
        VariableMerken(rest);
    } catch (const std::exception &) {
        Box("Fehler in Variablensuchroutine nach POP", kAppTitle);
    }
}

// Stores a name once; array names as "NAME()". A full table throws, and the
// table stays as it was.
void VarListRun::VariableMerken(std::string name) {
    if (!name.empty() && name.back() == ')')
        name.pop_back();
    if (Contains(name, "("))
        FeldnameKuerzen(name);
    if (std::find(variablen.begin(), variablen.end(), name) != variablen.end())
        return;
    if (variablen.size() >= kMaxVariablen)
        throw ToolFailure("Die Variablentabelle ist voll (" + DecimalText(kMaxVariablen) +
                          " Namen).");
    variablen.push_back(std::move(name));
    if (countView_)
        countView_->SetVariableCount(NumberText(std::int64_t(variablen.size())));
}

void VarListRun::FeldnameKuerzen(std::string &name) {
    if (!name.empty() && name.front() == '(')
        name.erase(0, 1);
    if (!name.empty() && (name.back() == '>' || name.back() == '<'))
        name.pop_back();
    if (!name.empty() && name.back() == ')' && !Contains(name, "(")) {
        name.clear();
        Box(" ( fehlt" + std::string(kCR) + zeile, kWarnTitle);
    }
    const auto open = name.find('(');
    if (open != std::string::npos)
        name = name.substr(0, open + 1) + ")";
}

// Intel-BASIC tells variables of three or more characters apart only by
// their length and their first and last letter.
void VarListRun::IntelBasicTest(std::vector<std::string> names) {
    for (const auto &[a, b] : SimilarNamePairs(std::move(names)))
        Box("WARNUNG: " + a + " <=> " + b, "Warnung", BoxIcon::Critical);
}

} // namespace

std::vector<std::pair<std::string, std::string>> SimilarNamePairs(std::vector<std::string> names) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::erase_if(names, [](const std::string &n) { return n.size() < 3; });
    std::size_t groupStart = 0;
    while (groupStart < names.size()) {
        std::size_t groupEnd = groupStart + 1;
        while (groupEnd < names.size() && names[groupEnd].front() == names[groupStart].front())
            ++groupEnd;
        for (std::size_t i = groupStart; i < groupEnd; ++i) {
            const std::string &a = names[i];
            const std::size_t tail = a.back() == ')' ? 3 : 1;
            for (std::size_t j = i + 1; j < groupEnd; ++j) {
                const std::string &b = names[j];
                if (a.size() == b.size() &&
                    a.compare(a.size() - tail, tail, b, b.size() - tail, tail) == 0)
                    pairs.emplace_back(a, b);
            }
        }
        groupStart = groupEnd;
    }
    return pairs;
}

std::vector<FoundVariable> VariablesOf(const std::vector<std::string> &lines) {
    SilentDialogs quiet(BoxAnswer::Ok);
    class NoEvents final : public EventPump {
    public:
        void ProcessEvents() override {}
    } events;
    SharedFlags flags;
    flags.SonderzeichenWarnungAktiv = false;
    PlainToolView view;
    ToolContext ctx{quiet, events, flags, view};
    VarListRun run(ctx);
    std::vector<FoundVariable> found;
    try {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            run.zeile = lines[i];
            if (!Contains(UpperCp1252(run.zeile), "POP") && !Contains(run.zeile, "="))
                continue;
            run.VariablenAusZeile();
            for (std::size_t k = found.size(); k < run.variablen.size(); ++k)
                found.push_back({run.variablen[k], int(i) + 1});
        }
    } catch (const std::exception &) {
        // A full table: the names found so far.
    }
    return found;
}

void SortVariableNames(std::vector<std::string> &names) {
    std::stable_sort(names.begin(), names.end(), ByCode);
}

std::string StringsEntfernen(std::string text) {
    for (auto open = text.find('"'); open != std::string::npos; open = text.find('"')) {
        const auto close = text.find('"', open + 1);
        text.erase(open, close == std::string::npos ? 1 : close - open + 1);
    }
    return text;
}

std::string TrennerSuchen(const std::string &text) {
    static constexpr const char *kTrenner[] = {":", "THEN", "ELSE"};
    constexpr std::size_t kLimit = 998; // positions from 1 below 999
    std::string result = ";";
    std::size_t earliest = kLimit;
    for (const char *trenner : kTrenner) {
        const auto p = text.find(trenner);
        if (p != std::string::npos && p < earliest) {
            earliest = p;
            result = trenner;
        }
    }
    return result;
}

void VarList(ToolContext &ctx, SourceLines &source, TargetFile &target, bool intelCheck) {
    VarListRun run(ctx);
    while (!source.AtEnd() && !ctx.flags.StopRequested) {
        run.zeile = source.Next();
        ctx.view.SetLineLabel(run.zeile);
        if (Contains(UpperCp1252(run.zeile), "POP") || Contains(run.zeile, "="))
            run.VariablenAusZeile();
        ctx.events.ProcessEvents();
    }
    if (ctx.flags.StopRequested)
        return;

    run.VariablenSortieren();
    target.WriteLine("Liste der Variablen: ");
    std::string buffer;
    for (const std::string &name : run.variablen) {
        buffer += name + "\r\n";
        target.WriteLine("'      " + name);
    }
    ctx.view.SetDisplayText(ctx.view.DisplayText() + buffer);
    if (intelCheck)
        run.IntelBasicTest(run.variablen);
    target.Close();
    ctx.dialogs.MessageBox(" fertig ..." + std::string(kCR) + " Insgesamt gibt es " +
                               NumberText(std::int64_t(run.variablen.size())) + " Variable" + kCR,
                           kAppTitle, BoxIcon::None, BoxButtons::Ok);
}

} // namespace quandel
