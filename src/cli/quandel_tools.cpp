// quandel-tools: REMKILL, DENUMBER and VARLIST from the command line. Runs the
// same code as the tools dialog's Start; every message box is printed on
// stderr instead of being shown.

#include "basictools/line_model.h"
#include "basictools/tool_context.h"
#include "basictools/tool_files.h"
#include "basictools/tool_runner.h"
#include "cli/cli_dialogs.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/shared_flags.h"
#include "core/version.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string PathArgument(const std::string &arg) {
#ifdef _WIN32
    return arg; // the ANSI code page is Windows-1252 there
#else
    return quandel::Cp1252(arg);
#endif
}

using namespace quandel;

constexpr int kExitCompleted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char *kHelp =
    R"(quandel-tools – die BASIC-Werkzeuge von Quandel auf der Kommandozeile

Aufruf:
  quandel-tools remkill  [--ja] [--json] QUELLE [ZIEL]
  quandel-tools denumber [--von N] [--bis N] [--json] QUELLE [ZIEL]
  quandel-tools varlist  [--intel] [--json] QUELLE [ZIEL]
  quandel-tools --help | --version

Werkzeuge:
  remkill   kopiert das BASIC-Programm QUELLE ohne Kommentare nach ZIEL und
            prüft dabei, ob die Zeilennummern aufsteigen und ob alle
            Sprungziele (GOTO, GOSUB, THEN, ELSE) als Zeile vorhanden sind.
  denumber  kopiert QUELLE nach ZIEL und löscht die Zeilennummern, die
            zwischen --von und --bis liegen (beide Grenzen ausgenommen); die
            Nummern von Sprungzielen bleiben stehen.
  varlist   schreibt die Variablen von QUELLE als sortierte Liste nach ZIEL.

Ohne ZIEL wird der Name der Quelldatei nach ihrem ersten Punkt abgeschnitten
und der Buchstabe Z (remkill), D (denumber) oder V (varlist) angehängt:
PROG.BAS ergibt PROG.Z, PROG.D, PROG.V; PROG ohne Punkt ergibt PROGZ usw.
Eine Zieldatei, die die Quelldatei selbst ist, wird abgelehnt; eine
vorhandene andere Zieldatei wird überschrieben.

Optionen:
  --ja        beantwortet bei remkill die Frage
                "Sollen die falschen Befehlszeilen gesucht werden ?"
              mit Ja: die Zeilen, die zu fehlenden Sprungzielen springen,
              werden gemeldet (ohne --ja: Nein).
  --von N     denumber: Anfang des Bereichs (Vorgabe 0), gelesen wie eine BASIC-Zahl
              (auch &H1F, 1E3).
  --bis N     denumber: Ende des Bereichs (Vorgabe 99999).
  --intel     varlist "mit Intel-BASIC Test": warnt vor Variablen ab drei Zeichen, die
              in Länge, erstem und letztem Buchstaben übereinstimmen.
  --json      jede Meldung als ein JSON-Objekt pro Zeile.
  -h, --help  zeigt diese Hilfe.
  --version   zeigt die Version von Quandel.
  --          alles danach sind Dateinamen.

Meldungen:
  Jedes Meldungsfenster des Werkzeugs erscheint auf der Standardfehlerausgabe,
  lesbar als "TITEL: Text" (Zeilenwechsel der Meldung als Zeilenwechsel) oder
  mit --json als
    {"title": "...", "text": "...", "icon": "...", "buttons": "..."}
  mit icon none, information, exclamation, critical oder question und
  buttons ok, yesno oder yesnocancel. Meldungen mit dem Titel des Programms
  tragen den Titel "Quandel". Die Texte werden von Windows-1252 nach UTF-8
  gewandelt; die Dateien selbst werden als Windows-1252 gelesen und
  geschrieben, jede Zeile mit CR LF.

Rückgabewert:
  0  der Lauf ist zu Ende gegangen (auch mit Warnungen)
  1  der Lauf endete mit einer Fehlermeldung (z. B. "Fehler bei Denum
     aufgetreten", "REMKILL-FEHLER", Tabellenüberlauf)
  2  falscher Aufruf, Quelldatei nicht gefunden, oder der Lauf konnte nicht
     beginnen (Zieldatei gleich Quelldatei, Zieldatei nicht anlegbar,
     Quelldatei nicht lesbar)
)";

class NoEvents final : public EventPump {
public:
    void ProcessEvents() override {}
};

struct Command {
    bool help = false;
    bool version = false;
    bool json = false;
    bool answerYes = false;
    ToolRequest request;
};

struct UsageError {
    std::string message;
};

std::optional<ToolMode> ModeFromArgument(const std::string &word) {
    if (word == "remkill")
        return ToolMode::RemKill;
    if (word == "denumber")
        return ToolMode::DeNumber;
    if (word == "varlist")
        return ToolMode::VarList;
    return std::nullopt;
}

std::string ToolName(ToolMode mode) {
    switch (mode) {
    case ToolMode::RemKill:
        return "remkill";
    case ToolMode::DeNumber:
        return "denumber";
    case ToolMode::VarList:
        return "varlist";
    }
    return {};
}

Command Parse(const std::vector<std::string> &args) {
    Command cmd;
    for (const std::string &a : args)
        if (a == "--")
            break;
        else if (a == "--help" || a == "-h")
            return cmd.help = true, cmd;
        else if (a == "--version")
            return cmd.version = true, cmd;
    if (args.empty())
        throw UsageError{"kein Werkzeug angegeben"};
    const auto mode = ModeFromArgument(args[0]);
    if (!mode)
        throw UsageError{"unbekanntes Werkzeug \"" + args[0] + "\""};
    cmd.request.mode = *mode;
    cmd.request.check = *mode == ToolMode::RemKill; // REMKILL always checks
    const std::string tool = ToolName(*mode);

    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            files.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const auto eq = a.find('=');
        const std::string name = a.substr(0, eq);
        const auto onlyFor = [&](ToolMode m) {
            if (*mode != m)
                throw UsageError{"die Option " + name + " gibt es nur bei " + ToolName(m)};
        };
        const auto noValue = [&] {
            if (eq != std::string::npos)
                throw UsageError{"die Option " + name + " hat keinen Wert"};
        };
        if (name == "--json") {
            noValue();
            cmd.json = true;
        } else if (name == "--ja") {
            onlyFor(ToolMode::RemKill);
            noValue();
            cmd.answerYes = true;
        } else if (name == "--intel") {
            onlyFor(ToolMode::VarList);
            noValue();
            cmd.request.check = true;
        } else if (name == "--von" || name == "--bis") {
            onlyFor(ToolMode::DeNumber);
            std::string value;
            if (eq != std::string::npos)
                value = a.substr(eq + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                throw UsageError{"der Option " + name + " fehlt die Zahl"};
            (name == "--von" ? cmd.request.von : cmd.request.bis) = value;
        } else {
            throw UsageError{"unbekannte Option \"" + a + "\" bei " + tool};
        }
    }
    if (files.empty())
        throw UsageError{"die Quelldatei fehlt"};
    if (files.size() > 2)
        throw UsageError{"zu viele Dateinamen: \"" + files[2] + "\""};
    // The core keeps paths in Windows-1252, as the window does; the command
    // line hands them over in the system's encoding.
    cmd.request.source = PathArgument(files[0]);
    cmd.request.target = files.size() == 2
                             ? PathArgument(files[1])
                             : ProposedTargetName(cmd.request.source, TargetLetter(*mode));
    return cmd;
}

int ExitCode(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Completed:
        return kExitCompleted;
    case RunOutcome::Failed:
        return kExitFailed;
    case RunOutcome::NotStarted:
        return kExitUsage;
    }
    return kExitFailed;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    Command cmd;
    try {
        cmd = Parse(args);
    } catch (const UsageError &e) {
        std::cerr << "quandel-tools: " << e.message << "\n"
                  << "Aufruf: quandel-tools remkill|denumber|varlist [Optionen] QUELLE [ZIEL]\n"
                  << "Hilfe:  quandel-tools --help\n";
        return kExitUsage;
    }
    if (cmd.help) {
        std::cout << kHelp;
        return std::cout.flush() ? kExitCompleted : kExitFailed;
    }
    if (cmd.version) {
        std::cout << "quandel-tools " << kVersionString << "\n";
        return std::cout.flush() ? kExitCompleted : kExitFailed;
    }

    cli::StreamDialogs dialogs(std::cerr, cmd.json, cmd.answerYes);
    NoEvents events;
    SharedFlags flags;
    PlainToolView view;
    ToolContext ctx{dialogs, events, flags, view};
    LineModel model;
    return ExitCode(RunTool(ctx, model, cmd.request));
}
