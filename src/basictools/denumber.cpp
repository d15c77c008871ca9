#include "basictools/denumber.h"

#include "basictools/line_model.h"
#include "basictools/tool_context.h"
#include "basictools/tool_files.h"
#include "basictools/zahl_wert.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"

#include <algorithm>
#include <string>

namespace quandel {

namespace {

constexpr std::size_t kDisplayChunk = 2000;

void TrimLeadingBlanks(std::string &text) {
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
}

} // namespace

bool ZeileNummeriert(std::string_view line) {
    const std::size_t blank = line.find(' ');
    return blank != std::string_view::npos && ZahlWertUngerundet(line.substr(0, blank + 1)) > 0;
}

void ZeilennummerLoeschen(LineModel &model) {
    if (model.ZeilenAnzahl <= 0)
        return;
    const std::int32_t n = model.ZeilenNr[model.ZeilenAnzahl - 1];
    const auto begin = model.Sprungziele.begin();
    if (std::find(begin, begin + model.SprungzielAnzahl, n) != begin + model.SprungzielAnzahl)
        return;
    const std::size_t width = std::min(NumberText(n).size(), model.Zeile.size());
    std::fill_n(model.Zeile.begin(), width, ' ');
}

void DeNumber(ToolContext &ctx, LineModel &model, SourceLines &source, TargetFile &target,
              std::int32_t von, std::int32_t bis) {
    model.BeginRun();
    ctx.view.SetDisplayText(Cp1252("Überprüfung der Sprungziele ... ") + "\r\n");

    // First pass: which line numbers are jump targets?
    while (!source.AtEnd() && !ctx.flags.StopRequested) {
        model.Zeile = source.Next();
        ctx.view.SetLineLabel(model.Zeile);
        TrimLeadingBlanks(model.Zeile);
        if (ZeileNummeriert(model.Zeile)) {
            for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
                model.SprungzieleSuchen(model.Zeile, k, ctx.dialogs);
        }
        ctx.events.ProcessEvents();
    }
    if (ctx.flags.StopRequested)
        return;

    // Second pass: write, blanking the numbers in the range.
    source.Rewind();
    std::string display;
    while (!source.AtEnd() && !ctx.flags.StopRequested) {
        model.Zeile = source.Next();
        TrimLeadingBlanks(model.Zeile);
        if (ZeileNummeriert(model.Zeile)) {
            const int before = model.ZeilenAnzahl;
            model.ZeilennummerTest(ctx.dialogs);
            // A number that rounds to 0 or leaves no text is not recorded;
            // such a line is copied as it is.
            const bool recorded = model.ZeilenAnzahl > before;
            const std::int32_t n = recorded ? model.ZeilenNr[model.ZeilenAnzahl - 1] : 0;
            if (recorded && n > von && n < bis) {
                ZeilennummerLoeschen(model);
                if (display.size() > kDisplayChunk) {
                    ctx.view.SetDisplayText(ctx.view.DisplayText() + display);
                    display.clear();
                }
                display += model.Zeile + "\r\n";
            }
        }
        target.WriteLine(model.Zeile);
    }
    target.Close();
    ctx.view.SetDisplayText(display);
    if (!ctx.flags.StopRequested)
        ctx.dialogs.MessageBox(" fertig ...\r Insgesamt gibt es " + NumberText(model.ZeilenAnzahl) +
                                   " Zeilennummern.\r und " + NumberText(model.SprungzielAnzahl) +
                                   " Sprungziele",
                               kAppTitle, BoxIcon::None, BoxButtons::Ok);
}

} // namespace quandel
