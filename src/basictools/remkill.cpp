#include "basictools/remkill.h"

#include "basictools/line_model.h"
#include "basictools/remkill_zeile.h"
#include "basictools/tool_context.h"
#include "basictools/tool_failure.h"
#include "basictools/tool_files.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"

#include <exception>

namespace quandel {

namespace {

// The display box gets the gathered lines in chunks of about 2000 characters.
constexpr std::size_t kDisplayChunk = 2000;

void CloseQuietly(TargetFile &target) {
    try {
        target.Close();
    } catch (const std::exception &) {
        // The run has failed already; its first failure is the one reported.
    }
}

void CopyAndCheck(ToolContext &ctx, LineModel &model, SourceLines &source, TargetFile &target,
                  const std::string &targetPath, bool lineChecks) {
    model.BeginRun();
    model.FalscheZielAnzahl = 0;
    std::string display;
    while (!source.AtEnd() && !ctx.flags.StopRequested) {
        model.Zeile = source.Next();
        RemKillZeile(model.Zeile, ctx.dialogs, ctx.flags);
        if (!model.Zeile.empty()) {
            if (display.size() > kDisplayChunk) {
                ctx.view.SetDisplayText(ctx.view.DisplayText() + display);
                display.clear();
            }
            display += model.Zeile + "\r\n";
            target.WriteLine(model.Zeile);
            if (lineChecks) {
                model.ZeilennummerTest(ctx.dialogs);
                for (int k = 0; k < LineModel::kAnzahlSprungbefehle; ++k)
                    model.SprungzieleSuchen(model.Zeile, k, ctx.dialogs);
            }
        }
        ctx.events.ProcessEvents(); // a key in the dialog sets StopRequested
    }
    target.Close();
    ctx.view.SetDisplayText(display);
    ctx.dialogs.MessageBox(" fertig ...\r Insgesamt gibt es " + NumberText(model.ZeilenAnzahl) +
                               " Zeilennummern\r und " + NumberText(model.SprungzielAnzahl) +
                               " Sprungziele",
                           kAppTitle, BoxIcon::None, BoxButtons::Ok);
    if (lineChecks)
        model.SprungzielTest(ctx.dialogs, targetPath);
}

} // namespace

void RemKill(ToolContext &ctx, LineModel &model, SourceLines &source, TargetFile &target,
             const std::string &targetPath, bool lineChecks) {
    try {
        CopyAndCheck(ctx, model, source, target, targetPath, lineChecks);
    } catch (const ToolOverflow &) {
        CloseQuietly(target); // its box has been shown
    } catch (const std::exception &failure) {
        ctx.dialogs.MessageBox(failure.what(), "REMKILL-FEHLER", BoxIcon::Critical, BoxButtons::Ok);
        CloseQuietly(target);
    }
}

} // namespace quandel
