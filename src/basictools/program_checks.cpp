#include "basictools/program_checks.h"

#include "basictools/basic_syntax.h"
#include "basictools/remkill_zeile.h"
#include "basictools/tool_failure.h"
#include "basictools/varlist.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/silent_dialogs.h"
#include "core/text_lines.h"

#include <algorithm>

namespace quandel {

namespace {

// Collects the line model's findings for the line being checked, with the
// columns moved from the stripped line to the line as written.
class Collector final : public FindingSink {
public:
    std::vector<Finding> found;
    int line = 0;
    std::size_t lead = 0;
    void Report(const Finding &finding) override {
        Finding f = finding;
        f.line = line;
        f.column = int(lead) + f.column;
        found.push_back(std::move(f));
    }
    void Hint(FindingKind kind, std::size_t column, std::string text) {
        Finding f;
        f.kind = kind;
        f.line = line;
        f.column = int(column);
        f.text = std::move(text);
        f.title = "Hinweis";
        found.push_back(std::move(f));
    }
};

// What the comment stripping removes from the front of a line.
std::size_t LeadOf(const std::string &line) {
    return LeadingJunk(std::string_view(line).substr(0, CommentStart(line)));
}

} // namespace

std::vector<Finding> CheckProgram(std::string_view text) {
    TextLines split = SplitLines(text);
    std::vector<std::string> lines = std::move(split.lines);
    if (!split.rest.empty())
        lines.push_back(std::move(split.rest));

    // Only an overflow of the line model's tables would show a box; it ends
    // the checks.
    SilentDialogs quiet;
    SharedFlags flags;
    Collector collector;
    LineModel model;
    model.findings = &collector;
    model.BeginRun();
    model.FalscheZielAnzahl = 0;
    std::vector<std::string> stripped(lines.size());
    try {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string &raw = lines[i];
            collector.line = int(i) + 1;
            collector.lead = LeadOf(raw);
            if (const std::size_t c = CommentStart(raw);
                c != std::string::npos && std::count(raw.begin(), raw.begin() + c, '"') % 2 == 1)
                collector.Hint(FindingKind::CommentInString, c,
                               std::string("'") + raw[c] +
                                   Cp1252("' in einer Zeichenkette: die Zeile wird dort "
                                          "abgeschnitten"));
            flags.SonderzeichenWarnungAktiv = false;
            std::string zeile = raw;
            RemKillZeile(zeile, quiet, flags);
            stripped[i] = zeile;
            if (zeile.empty())
                continue;
            if (zeile.size() > kControllerLineLimit)
                collector.Hint(FindingKind::LineTooLong, collector.lead + kControllerLineLimit,
                               Cp1252("Zeile zu lang: ") + DecimalText(std::int64_t(zeile.size())) +
                                   Cp1252(" Zeichen, der Controller nimmt nur ") +
                                   DecimalText(std::int64_t(kControllerLineLimit)));
            const auto bad = std::find_if(zeile.begin(), zeile.end(), [](char c) {
                return static_cast<unsigned char>(c) >= 128;
            });
            if (bad != zeile.end())
                collector.Hint(FindingKind::NotAscii, collector.lead + (bad - zeile.begin()),
                               Cp1252("Zeichen \"") + *bad +
                                   Cp1252("\" kann der Controller nicht verarbeiten"));
            model.Zeile = zeile;
            try {
                model.ZeilennummerTest(quiet);
                for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
                    model.SprungzieleSuchen(model.Zeile, k, quiet);
            } catch (const ToolOverflow &) {
                throw;
            } catch (const ToolFailure &failure) {
                collector.Hint(FindingKind::NumberTooLarge, collector.lead, failure.what());
            }
        }
        // The targets no line carries, at the lines that jump to them. The
        // tools show such a line when it holds the target's number text;
        // a target only in a list ("GOSUB 100,200") is placed at its line
        // with the tools' summary text.
        if (model.ZeilenAnzahl > 0) {
            std::vector<std::int32_t> missing;
            for (int j = 0; j < model.SprungzielAnzahl; ++j)
                if (!model.ZielVorhanden(model.Sprungziele[j]))
                    missing.push_back(model.Sprungziele[j]);
            std::vector<Finding> placed;
            std::vector<std::int32_t> shown;
            for (std::size_t i = 0; i < lines.size() && !missing.empty(); ++i) {
                model.Zeile = stripped[i];
                if (model.Zeile.empty() || !model.HatSprungbefehl(model.Zeile))
                    continue;
                Collector line;
                line.line = int(i) + 1;
                line.lead = LeadOf(lines[i]);
                model.findings = &line;
                try {
                    model.ZeilenzielePruefen(quiet);
                } catch (const ToolFailure &) {
                    // reported with the line already
                }
                model.findings = &collector;
                if (line.found.empty())
                    continue;
                Finding f = std::move(line.found.front());
                const bool toolShowsIt =
                    std::any_of(missing.begin(), missing.end(), [&](std::int32_t t) {
                        return model.Zeile.find(NumberText(t)) != std::string::npos;
                    });
                if (toolShowsIt) {
                    shown.push_back(f.number);
                    collector.found.push_back(std::move(f));
                } else {
                    f.title = kAppTitle;
                    f.icon = BoxIcon::None;
                    f.text = "Sprungziel " + NumberText(f.number) + " nicht vorhanden.";
                    placed.push_back(std::move(f));
                }
            }
            for (Finding &f : placed)
                if (std::find(shown.begin(), shown.end(), f.number) == shown.end()) {
                    shown.push_back(f.number);
                    collector.found.push_back(std::move(f));
                }
        }
    } catch (const ToolOverflow &) {
        // More lines or targets than the tools take: what was found so far.
    }
    // Names the controller mixes up, at the line where the second one first
    // appears, as VARLIST's check warns of them.
    const std::vector<FoundVariable> variables = VariablesOf(lines);
    std::vector<std::string> names;
    for (const FoundVariable &v : variables)
        names.push_back(v.name);
    SortVariableNames(names);
    for (const auto &[a, b] : SimilarNamePairs(names)) {
        const auto first = [&](const std::string &name) {
            return std::find_if(variables.begin(), variables.end(),
                                [&](const FoundVariable &v) { return v.name == name; })
                ->line;
        };
        const int line = std::max(first(a), first(b));
        const std::string &later = first(a) > first(b) ? a : b;
        const std::string upper = UpperCp1252(lines[std::size_t(line) - 1]);
        const std::string bare = later.substr(0, later.find('('));
        Finding f;
        f.kind = FindingKind::SimilarNames;
        f.line = line;
        f.column = int(std::min(upper.find(bare), upper.size()));
        f.text = "WARNUNG: " + a + " <=> " + b;
        f.title = "Warnung";
        f.icon = BoxIcon::Critical;
        collector.found.push_back(std::move(f));
    }
    std::stable_sort(collector.found.begin(), collector.found.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return collector.found;
}

std::string FindingSummary(const Finding &finding) {
    if (finding.kind == FindingKind::UnknownTarget)
        return "Sprungziel " + NumberText(finding.number) + " nicht vorhanden.";
    std::string text = finding.text.substr(0, finding.text.find('\r'));
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace quandel
