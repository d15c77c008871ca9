// The command-line tools as a user runs them: the real binary in a temporary
// folder, its exit status, stderr and the files it writes.

#include "../support/tool_test_support.h"
#include "cli/cli_dialogs.h"
#include "core/native_path.h"
#include "core/version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sstream>
#include <sys/wait.h>

namespace quandel::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;

struct Result {
    int exit = -1;
    std::string out, err;
};

// Runs quandel-tools in `dir`, each argument quoted so that it arrives as it
// is, bytes included.
Result RunTools(const TempDir &dir, const std::vector<std::string> &args) {
    std::string command = "cd '" + dir.File("") + "' && '" QUANDEL_TOOLS_PATH "'";
    for (const std::string &a : args)
        command += " '" + a + "'";
    const int status = std::system((command + " </dev/null >.stdout 2>.stderr").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(dir.File(".stdout")),
            ReadBytes(dir.File(".stderr"))};
}

std::vector<std::string> Split(const std::string &text, char at) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, at);)
        parts.push_back(part);
    return parts;
}

// Every stderr line must be one JSON object with exactly the four keys, all
// strings; each box as title|text|icon|buttons.
std::vector<QString> JsonBoxes(const std::string &err) {
    std::vector<QString> boxes;
    for (const std::string &line : Split(err, '\n')) {
        QJsonParseError error;
        const QJsonObject o =
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        EXPECT_EQ(o.keys(), (QStringList{"buttons", "icon", "text", "title"})) << line;
        QStringList parts;
        for (const char *key : {"title", "text", "icon", "buttons"}) {
            EXPECT_TRUE(o.value(key).isString()) << key << " in " << line;
            parts << o.value(key).toString();
        }
        boxes.push_back(parts.join('|'));
    }
    return boxes;
}

const std::string kProgram = "10 A=1 ' Kommentar\r\n20 GOTO 500\r\n30 GOSUB 10\r\n";
const std::string kStripped = "10 A=1\r\n20 GOTO 500\r\n30 GOSUB 10\r\n";
const std::string kRemkillSays =
    "Quandel:  fertig ...\n Insgesamt gibt es  3 Zeilennummern\n und  2 Sprungziele\n"
    "Quandel: Sprungziel  500 nicht vorhanden.\n"
    "Sollen die falschen Befehlszeilen gesucht werden ?\n";

TEST(QuandelTools, ExitStatusAndTexts) {
    struct Row {
        const char *name, *args; // split at blanks
        int exit;
        std::string errStart; // readable stderr starts with this (UTF-8), all of it on exit 0
        const char *targetName = nullptr;
        std::string target = {}; // empty: no such file
    } rows[] = {
        {"remkill to the proposed name, no search", "remkill P.BAS", 0, kRemkillSays, "P.Z",
         kStripped},
        {"remkill --ja shows the wrong lines", "remkill --ja P.BAS OUT.Z", 0,
         kRemkillSays + "Falsche Zeile: 20 GOTO 500\n", "OUT.Z", kStripped},
        {"options after the file names", "varlist P.BAS --intel", 0,
         "Quandel:  fertig ...\n Insgesamt gibt es  1 Variable\n", "P.V",
         "Liste der Variablen: \r\n'      A\r\n"},
        {"denumber with a range", "denumber --von=5 --bis 25 P.BAS", 0,
         "Quandel:  fertig ...\n Insgesamt gibt es  3 Zeilennummern.\n und  2 Sprungziele\n", "P.D",
         "10 A=1 ' Kommentar\r\n   GOTO 500\r\n30 GOSUB 10\r\n"},
        {"denumber range beyond 32 bits", "denumber --von 1E20 P.BAS", 1,
         "Quandel: Fehler bei Denum aufgetreten\n"},
        {"missing source", "varlist NIX.BAS", 2, "Quandel: Datei nicht gefunden\n", "NIX.V"},
        {"target is the source", "denumber P.BAS ./P.BAS", 2,
         "Quandel: Quell- und Zieldatei sind dieselbe Datei:\n./P.BAS\n"},
        {"target folder missing", "remkill P.BAS FEHLT/P.Z", 2,
         "Quandel: Ungültiger Dateiname: FEHLT/P.Z\n", "P.Z"},
        {"no arguments", "", 2, "quandel-tools: kein Werkzeug angegeben\n"},
        {"unknown tool", "renumber P.BAS", 2, "quandel-tools: unbekanntes Werkzeug"},
        {"unknown option", "varlist --schnell P.BAS", 2, "quandel-tools: unbekannte Option"},
        {"option of another tool", "varlist --ja P.BAS", 2,
         "quandel-tools: die Option --ja gibt es nur bei remkill\n"},
        {"value missing", "denumber P.BAS --bis", 2,
         "quandel-tools: der Option --bis fehlt die Zahl\n"},
        {"source missing", "remkill --ja", 2, "quandel-tools: die Quelldatei fehlt\n", "P.Z"},
        {"too many files", "remkill P.BAS A.Z B.Z", 2, "quandel-tools: zu viele Dateinamen", "P.Z"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        TempDir dir;
        dir.Write("P.BAS", kProgram);
        const Result res = RunTools(dir, Split(r.args, ' '));
        EXPECT_EQ(res.exit, r.exit) << res.err;
        EXPECT_EQ(r.exit ? res.err.substr(0, r.errStart.size()) : res.err, r.errStart);
        EXPECT_EQ(res.out, "");
        if (r.targetName) {
            EXPECT_EQ(fs::exists(dir.File(r.targetName)), !r.target.empty());
            EXPECT_EQ(ReadBytes(dir.File(r.targetName)), r.target);
        }
        EXPECT_EQ(ReadBytes(dir.File("P.BAS")), kProgram);
    }
}

TEST(QuandelTools, AFileWrittenOnLinuxReadsAsTheSameLines) {
    // The same program with the line ends each system's editors write: every
    // tool reports and writes the same, with CR LF line ends.
    const std::string windows = "10 PRINT \"A\" ' Kommentar\r\n20 A=A+1\r\n30 GOTO 10\r\n";
    std::string lfOnly = windows, crOnly = windows;
    for (std::string *text : {&lfOnly, &crOnly})
        for (std::size_t at; (at = text->find("\r\n")) != std::string::npos;)
            text->replace(at, 2, text == &lfOnly ? "\n" : "\r");
    struct Row {
        const char *tool, *target;
    } rows[] = {{"remkill", "P.Z"}, {"denumber", "P.D"}, {"varlist", "P.V"}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.tool);
        Result results[3];
        std::string targets[3];
        const std::string *sources[] = {&windows, &lfOnly, &crOnly};
        for (int i = 0; i < 3; ++i) {
            TempDir dir;
            dir.Write("P.BAS", *sources[i]);
            results[i] = RunTools(dir, {r.tool, "P.BAS"});
            targets[i] = ReadBytes(dir.File(r.target));
            EXPECT_EQ(ReadBytes(dir.File("P.BAS")), *sources[i]);
        }
        EXPECT_EQ(results[0].exit, 0);
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(results[i].exit, results[0].exit);
            EXPECT_EQ(results[i].err, results[0].err);
            EXPECT_EQ(targets[i], targets[0]);
        }
    }
    TempDir dir;
    dir.Write("P.BAS", lfOnly);
    EXPECT_EQ(RunTools(dir, {"remkill", "P.BAS"}).err,
              "Quandel:  fertig ...\n Insgesamt gibt es  3 Zeilennummern\n und  1 Sprungziele\n"
              "Quandel: Keinen Fehler gefunden.\n");
    EXPECT_EQ(ReadBytes(dir.File("P.Z")), "10 PRINT \"A\"\r\n20 A=A+1\r\n30 GOTO 10\r\n");
}

TEST(QuandelTools, JsonLinesCarryTheBoxesInUtf8) {
    TempDir dir;
    // The second stripped line ends in a special character: the warning box
    // repeats the line, euro sign included.
    dir.Write("U.BAS", "10 \xC4RGER=1\r\n20 ABC=2\r\n30 AXC=3 \x80\r\n");
    const Result res = RunTools(dir, {"varlist", "--json", "--intel", "U.BAS"});
    EXPECT_EQ(res.exit, 0) << res.err;
    EXPECT_EQ(JsonBoxes(res.err),
              (std::vector<QString>{
                  "Quandel|30 AXC=3 €\n\r\n\rSonderzeichen am Ende!\n\rBitte überprüfen!|"
                  "exclamation|ok",
                  "Warnung|WARNUNG: ABC <=> AXC|critical|ok",
                  "Quandel| fertig ...\r Insgesamt gibt es  3 Variable\r|none|ok"}));
    EXPECT_EQ(ReadBytes(dir.File("U.V")),
              "Liste der Variablen: \r\n'      ABC\r\n'      AXC\r\n'      \xC4RGER\r\n");

    dir.Write("J.BAS", "10 GOTO 99\r\n");
    const auto question = JsonBoxes(RunTools(dir, {"remkill", "--json", "J.BAS"}).err);
    ASSERT_EQ(question.size(), 3u);
    EXPECT_EQ(question[2], "|Sollen die falschen Befehlszeilen gesucht werden ?|none|yesno");
}

TEST(QuandelTools, FileNamesInTheSystemsEncoding) {
    TempDir dir;
    dir.Write("PRÜF.BAS", "10 A=1\r\n"); // the system's encoding, UTF-8
    dir.Write("-X.BAS", "10 B=1\r\n");
    EXPECT_EQ(RunTools(dir, {"varlist", "PRÜF.BAS"}).exit, 0);
    EXPECT_EQ(ReadBytes(dir.File("PRÜF.V")), "Liste der Variablen: \r\n'      A\r\n");
    EXPECT_EQ(RunTools(dir, {"varlist", "--", "-X.BAS"}).exit, 0);
    EXPECT_EQ(ReadBytes(dir.File("-X.V")), "Liste der Variablen: \r\n'      B\r\n");
}

TEST(QuandelTools, HelpExplainsEverythingInGerman) {
    TempDir dir;
    for (const char *args : {"--help", "-h", "denumber --help"}) {
        const Result res = RunTools(dir, Split(args, ' '));
        EXPECT_EQ(res.exit, 0);
        EXPECT_EQ(res.err, "");
        for (const char *part : {"remkill", "denumber", "varlist", "--ja", "--von", "--bis",
                                 "--intel", "--json", "QUELLE", "ZIEL", "Rückgabewert"})
            EXPECT_NE(res.out.find(part), std::string::npos) << part;
    }
}

TEST(QuandelTools, VersionComesFromTheBuild) {
    TempDir dir;
    for (const char *args : {"--version", "varlist --version"}) {
        const Result res = RunTools(dir, Split(args, ' '));
        EXPECT_EQ(res.exit, 0) << args;
        EXPECT_EQ(res.out, std::string("quandel-tools ") + kVersionString + "\n") << args;
    }
}

// The converter against the C library's own Windows-1252 table.
TEST(CliText, Cp1252ToUtf8MatchesTheCodePage) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    ASSERT_NE(cd, iconv_t(-1));
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        char in[1] = {char(b)}, out[8];
        char *ip = in, *op = out;
        std::size_t il = 1, ol = sizeof out;
        if (iconv(cd, &ip, &il, &op, &ol) == std::size_t(-1))
            continue; // a code the code page leaves free
        EXPECT_EQ(Cp1252ToUtf8Text(std::string(1, char(b))), std::string(out, op)) << b;
        ++compared;
    }
    iconv_close(cd);
    EXPECT_GE(compared, 251);
    EXPECT_EQ(Cp1252ToUtf8Text("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(CliText, JsonAndReadableForms) {
    for (const std::string &in :
         std::vector<std::string>{"plain", "say \"ja\"", "C:\\PROG", "a\rb\nc\td",
                                  std::string("\0\x1F", 2), "\xC3\xA4\xE2\x82\xAC"}) {
        // What we write, a strict parser reads back unchanged.
        const std::string json = JsonString(in);
        EXPECT_TRUE(std::none_of(json.begin(), json.end(), [](unsigned char c) { return c < 32; }));
        const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString("[" + json + "]"));
        ASSERT_TRUE(doc.isArray()) << json;
        EXPECT_EQ(doc.array()[0].toString().toStdString(), in);
    }
    EXPECT_EQ(JsonString("a\rb\n"), "\"a\\rb\\u000A\"");
    struct Readable {
        std::string in, out;
    } readable[] = {
        {"a\rb", "a\nb"},     {"a\r\nb", "a\nb"},          {"a\n\r\n\rb", "a\n\nb"},
        {"a\r\rb", "a\n\nb"}, {"\xC4nderung", "Änderung"}, {"\x80", "€"},
    };
    for (const Readable &r : readable)
        EXPECT_EQ(ReadableText(r.in), r.out);
}

} // namespace
} // namespace quandel::cli
