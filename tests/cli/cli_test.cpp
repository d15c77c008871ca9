// The command-line tools as a user runs them: the real binary in a temporary
// folder, its exit status, stderr and the files it writes.

#include "cli/cli_dialogs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iconv.h>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace quandel::cli {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("quandel-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string &name) const { return (path_ / name).string(); }

private:
    fs::path path_;
    static inline int counter_ = 0;
};

void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Result {
    int exit = -1;
    std::string out, err;
};

// Runs quandel-tools in `dir` with the arguments as they are (no shell).
Result RunTools(const TempDir &dir, std::vector<std::string> args) {
    const std::string outPath = dir.File(".stdout"), errPath = dir.File(".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    const std::string cwd = dir.File("");
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    args.insert(args.begin(), QUANDEL_TOOLS_PATH);
    std::vector<char *> argv;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    Result r;
    const int rc = posix_spawn(&pid, QUANDEL_TOOLS_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << QUANDEL_TOOLS_PATH;
        return r;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadBytes(outPath);
    r.err = ReadBytes(errPath);
    return r;
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct JsonBox {
    QString title, text, icon, buttons;
};

// Every stderr line must be one JSON object with exactly the four keys.
std::vector<JsonBox> ParseBoxes(const std::string &err) {
    std::vector<JsonBox> boxes;
    for (const std::string &line : Lines(err)) {
        QJsonParseError error;
        const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        EXPECT_TRUE(doc.isObject()) << line;
        const QJsonObject o = doc.object();
        EXPECT_EQ(o.keys(), (QStringList{"buttons", "icon", "text", "title"})) << line;
        for (const char *key : {"title", "text", "icon", "buttons"})
            EXPECT_TRUE(o.value(key).isString()) << key << " in " << line;
        boxes.push_back({o["title"].toString(), o["text"].toString(), o["icon"].toString(),
                         o["buttons"].toString()});
    }
    return boxes;
}

const std::string kProgram = "10 A=1 ' Kommentar\r\n20 GOTO 500\r\n30 GOSUB 10\r\n";

TEST(QuandelTools, ExitStatusAndTexts) {
    struct Row {
        const char *name;
        std::vector<std::string> args;
        int exit;
        std::string errStart; // readable stderr starts with this (UTF-8)
        const char *targetName = nullptr;
        std::string target = {};
    } rows[] = {
        {"remkill to the proposed name",
         {"remkill", "P.BAS"},
         0,
         "Quandel:  fertig ...\n Insgesamt gibt es  3 Zeilennummern\n und  2 Sprungziele\n"
         "Quandel: Sprungziel  500 nicht vorhanden.\n"
         "Sollen die falschen Befehlszeilen gesucht werden ?\n",
         "P.Z",
         "10 A=1\r\n20 GOTO 500\r\n30 GOSUB 10\r\n"},
        {"remkill with --ja shows the wrong lines",
         {"remkill", "--ja", "P.BAS", "OUT.Z"},
         0,
         "Quandel:  fertig ...\n Insgesamt gibt es  3 Zeilennummern\n und  2 Sprungziele\n"
         "Quandel: Sprungziel  500 nicht vorhanden.\n"
         "Sollen die falschen Befehlszeilen gesucht werden ?\n"
         "Falsche Zeile: 20 GOTO 500\n",
         "OUT.Z",
         "10 A=1\r\n20 GOTO 500\r\n30 GOSUB 10\r\n"},
        {"options after the file names",
         {"varlist", "P.BAS", "--intel"},
         0,
         "Quandel:  fertig ...\n Insgesamt gibt es  1 Variable\n",
         "P.V",
         "Liste der Variablen: \r\n'      A\r\n"},
        {"denumber with a range",
         {"denumber", "--von=5", "--bis", "25", "P.BAS"},
         0,
         "Quandel:  fertig ...\n Insgesamt gibt es  3 Zeilennummern.\n und  2 Sprungziele\n",
         "P.D",
         "10 A=1 ' Kommentar\r\n   GOTO 500\r\n30 GOSUB 10\r\n"},
        {"denumber range beyond 32 bits",
         {"denumber", "--von", "1E20", "P.BAS"},
         1,
         "Quandel: Fehler bei Denum aufgetreten\n"},
        {"missing source",
         {"varlist", "NIX.BAS"},
         2,
         "Quandel: Datei nicht gefunden\n",
         "NIX.V",
         ""},
        {"target is the source",
         {"denumber", "P.BAS", "./P.BAS"},
         2,
         "Quandel: Quell- und Zieldatei sind dieselbe Datei:\n./P.BAS\n"},
        {"target folder missing",
         {"remkill", "P.BAS", "FEHLT/P.Z"},
         2,
         "Quandel: Ungültiger Dateiname: FEHLT/P.Z\n"},
        {"no arguments", {}, 2, "quandel-tools: kein Werkzeug angegeben\n"},
        {"unknown tool", {"renumber", "P.BAS"}, 2, "quandel-tools: unbekanntes Werkzeug"},
        {"unknown option",
         {"varlist", "--schnell", "P.BAS"},
         2,
         "quandel-tools: unbekannte Option"},
        {"option of another tool",
         {"varlist", "--ja", "P.BAS"},
         2,
         "quandel-tools: die Option --ja gibt es nur bei remkill\n"},
        {"value missing",
         {"denumber", "P.BAS", "--bis"},
         2,
         "quandel-tools: der Option --bis fehlt die Zahl\n"},
        {"source missing", {"remkill", "--ja"}, 2, "quandel-tools: die Quelldatei fehlt\n"},
        {"too many files",
         {"remkill", "P.BAS", "A.Z", "B.Z"},
         2,
         "quandel-tools: zu viele Dateinamen"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        TempDir dir;
        WriteBytes(dir.File("P.BAS"), kProgram);
        const Result res = RunTools(dir, r.args);
        EXPECT_EQ(res.exit, r.exit) << res.err;
        EXPECT_EQ(res.err.substr(0, r.errStart.size()), r.errStart) << res.err;
        EXPECT_EQ(res.out, "");
        if (r.targetName) {
            const bool expectFile = !r.target.empty();
            EXPECT_EQ(fs::exists(dir.File(r.targetName)), expectFile);
            if (expectFile) {
                EXPECT_EQ(ReadBytes(dir.File(r.targetName)), r.target);
            }
        }
        EXPECT_EQ(ReadBytes(dir.File("P.BAS")), kProgram);
        if (r.exit == 2 && !r.args.empty() && r.args[0] == "remkill") {
            EXPECT_FALSE(fs::exists(dir.File("P.Z"))) << "nothing ran";
        }
    }
}

TEST(QuandelTools, JsonLinesCarryTheBoxesInUtf8) {
    TempDir dir;
    // The second stripped line ends in special characters: the warning box
    // repeats the line, euro sign and umlaut included.
    WriteBytes(dir.File("U.BAS"), "10 \xC4RGER=1\r\n20 ABC=2\r\n30 AXC=3 \x80\r\n");
    const Result res = RunTools(dir, {"varlist", "--json", "--intel", "U.BAS"});
    EXPECT_EQ(res.exit, 0) << res.err;
    const auto boxes = ParseBoxes(res.err);
    ASSERT_EQ(boxes.size(), 3u) << res.err;
    EXPECT_EQ(boxes[0].title, "Quandel");
    EXPECT_EQ(boxes[0].text, QString::fromUtf8("30 AXC=3 €\n\r\n\rSonderzeichen am Ende!\n\r"
                                               "Bitte überprüfen!"));
    EXPECT_EQ(boxes[0].icon, "exclamation");
    EXPECT_EQ(boxes[0].buttons, "ok");
    EXPECT_EQ(boxes[1].title, "Warnung");
    EXPECT_EQ(boxes[1].text, "WARNUNG: ABC <=> AXC");
    EXPECT_EQ(boxes[1].icon, "critical");
    EXPECT_EQ(boxes[2].text, " fertig ...\r Insgesamt gibt es  3 Variable\r");
    EXPECT_EQ(boxes[2].icon, "none");
    EXPECT_EQ(ReadBytes(dir.File("U.V")),
              "Liste der Variablen: \r\n'      ABC\r\n'      AXC\r\n'      \xC4RGER\r\n");

    const Result question = RunTools(dir, {"remkill", "--json", "U.BAS"});
    const auto qboxes = ParseBoxes(question.err);
    ASSERT_FALSE(qboxes.empty());
    EXPECT_EQ(qboxes.back().text, "Keinen Fehler gefunden.");

    WriteBytes(dir.File("J.BAS"), "10 GOTO 99\r\n");
    const auto jboxes = ParseBoxes(RunTools(dir, {"remkill", "--json", "J.BAS"}).err);
    ASSERT_EQ(jboxes.size(), 3u);
    EXPECT_EQ(jboxes[2].title, "");
    EXPECT_EQ(jboxes[2].buttons, "yesno");
    EXPECT_EQ(jboxes[2].text, "Sollen die falschen Befehlszeilen gesucht werden ?");
}

TEST(QuandelTools, PathsArePassedThroughAsBytes) {
    TempDir dir;
    WriteBytes(dir.File("PR\xDC"
                        "F.BAS"),
               "10 A=1\r\n");
    WriteBytes(dir.File("-X.BAS"), "10 B=1\r\n");
    EXPECT_EQ(RunTools(dir, {"varlist", "PR\xDC"
                                        "F.BAS"})
                  .exit,
              0);
    EXPECT_EQ(ReadBytes(dir.File("PR\xDC"
                                 "F.V")),
              "Liste der Variablen: \r\n'      A\r\n");
    EXPECT_EQ(RunTools(dir, {"varlist", "--", "-X.BAS"}).exit, 0);
    EXPECT_EQ(ReadBytes(dir.File("-X.V")), "Liste der Variablen: \r\n'      B\r\n");
}

TEST(QuandelTools, HelpExplainsEverythingInGerman) {
    TempDir dir;
    for (const char *flag : {"--help", "-h"}) {
        const Result res = RunTools(dir, {flag});
        EXPECT_EQ(res.exit, 0);
        EXPECT_EQ(res.err, "");
        for (const char *part : {"remkill", "denumber", "varlist", "--ja", "--von", "--bis",
                                 "--intel", "--json", "QUELLE", "ZIEL", "Rückgabewert",
                                 "Sollen die falschen Befehlszeilen gesucht werden ?",
                                 "mit Intel-BASIC Test", "PROG.Z", "\"icon\"", "UTF-8"})
            EXPECT_NE(res.out.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(RunTools(dir, {"denumber", "--help"}).exit, 0);
}

// The converter against the C library's own Windows-1252 table.
TEST(CliText, Cp1252ToUtf8MatchesTheCodePage) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    ASSERT_NE(cd, iconv_t(-1));
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        char in[1] = {char(b)};
        char out[8];
        char *ip = in, *op = out;
        std::size_t il = 1, ol = sizeof out;
        if (iconv(cd, &ip, &il, &op, &ol) == std::size_t(-1))
            continue; // a code the code page leaves free
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, char(b))), std::string(out, op)) << b;
        ++compared;
    }
    iconv_close(cd);
    EXPECT_GE(compared, 251);
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(CliText, JsonAndReadableForms) {
    struct Json {
        std::string in, out;
    } json[] = {
        {"plain", "\"plain\""},
        {"say \"ja\"", "\"say \\\"ja\\\"\""},
        {"C:\\PROG", "\"C:\\\\PROG\""},
        {"a\rb", "\"a\\rb\""},
        {"a\nb\tc", "\"a\\u000Ab\\u0009c\""},
        {std::string("\0\x1F", 2), "\"\\u0000\\u001F\""},
        {"\xC3\xA4\xE2\x82\xAC", "\"\xC3\xA4\xE2\x82\xAC\""},
    };
    for (const Json &j : json) {
        EXPECT_EQ(JsonString(j.in), j.out);
        // What we write, a strict parser reads back unchanged.
        const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString("[" + j.out + "]"));
        ASSERT_TRUE(doc.isArray()) << j.out;
        EXPECT_EQ(doc.array()[0].toString().toStdString(), j.in);
    }
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
