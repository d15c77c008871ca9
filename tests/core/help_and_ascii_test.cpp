#include "core/number_text.h"
#include "dialogs/ascii_table.h"
#include "dialogs/help_texts.h"
#include "dialogs/registry_reader.h"
#include "dialogs/sys_info.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace quandel {
namespace {

TEST(AsciiTable, CellsOfTheFourBlocks) {
    struct Row {
        int row, column;
        std::string text;
    } rows[] = {
        {0, 0, "HEX"},   {0, 1, "dez"},  {0, 2, "Zeichen"}, {0, 3, ""},       {0, 14, "Zeichen"},
        {1, 0, "00"},    {1, 1, " 0"},   {1, 2, "NULL"},    {1, 4, "40"},     {1, 5, " 64"},
        {1, 6, "@"},     {1, 8, "80"},   {1, 9, " 128"},    {1, 10, "\x80"},  {1, 12, "C0"},
        {1, 14, "\xC0"}, {8, 2, "BELL"}, {22, 2, "NAC"},    {33, 0, "20"},    {33, 2, "SPACE"},
        {34, 0, "21"},   {34, 1, " 33"}, {34, 2, "!"},      {64, 0, "3F"},    {64, 2, "?"},
        {64, 6, "\x7F"}, {64, 12, "FF"}, {64, 13, " 255"},  {64, 14, "\xFF"}, {64, 7, ""},
        {65, 0, ""},
    };
    for (const Row &r : rows)
        EXPECT_EQ(AsciiCellText(r.row, r.column), r.text) << r.row << "," << r.column;
    int width = 0;
    for (int c = 0; c < kAsciiColumns; ++c)
        width += AsciiColumnWidthTwips(c);
    EXPECT_EQ(width, 4 * 1800 + 3 * 100);
    EXPECT_EQ(AsciiPlaceholderNote(0x81), Cp1252("nicht belegt"));
    EXPECT_EQ(AsciiPlaceholderNote(0x80), "");
}

TEST(AsciiTable, GridFollowsTheWindowDownToAMinimum) {
    struct Row {
        const char *name;
        int width, height;
        Rect grid;
    } rows[] = {
        {"size at load", 7890, 7080, {100, 500, 7710, 6530}},
        {"wider and taller by the same", 8890, 7580, {100, 500, 8710, 7030}},
        {"too small for the rule", 300, 200, {100, 500, kAsciiMinGridWidth, kAsciiMinGridHeight}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(AsciiGridRect(r.width, r.height), r.grid) << r.name;
}

TEST(HelpTexts, OverviewVersionAndManualPath) {
    const std::string crlf = "\r\n";
    const std::string overview =
        Cp1252("    Kurze Übersicht Quandel   ") + crlf + crlf +
        Cp1252("Die Software stellt ein Terminalprogramm und einen einfachen Editor zur Verfügung, "
               "mit dem BASIC-Programme für KAVOLT-Geräte entwickelt und getestet werden können.") +
        crlf + crlf +
        Cp1252("Es gibt zwei Hauptfunktionen, den Downlaod dieser Programme in die Zielgeräte "
               "und das Testen der Programme.  ") +
        crlf + crlf + Cp1252("Der Anschluss erfolgt über die Com-Schnittstelle eines PCs.") + crlf +
        Cp1252("Im Menü 'COM-Anschluss' werden die Einstellungen angepasst. "
               "Bitte überprüfen Sie die Schnittstelle, wenn keine Verbindung möglich sein "
               "sollte. ") +
        crlf + crlf +
        Cp1252("'Download' ruft das Terminalprogramm zum Laden des Ablaufprogrammes auf. "
               "Der Download kann auch über die Navigationsfenster links gestartet werden.");
    test::ScriptedDialogs dialogs;
    ShowOverview(dialogs);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, overview);
    EXPECT_EQ(dialogs.boxes[0].title, "Quandel");
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::None);
    EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::Ok);

    EXPECT_EQ(VersionText(2, 5, 12), "Version 2.5.12");
    EXPECT_EQ(VersionText(kVersionMajor, kVersionMinor, kVersionRevision), "Version 1.10.7");
    EXPECT_EQ(AboutCaption(), "Info zu Quandel");
    EXPECT_EQ(ManualPath("/opt/quandel"), "/opt/quandel/Veno-Help/index.html");
    EXPECT_EQ(ManualPath("/"), "/Veno-Help/index.html");
}

struct FakeRegistry final : RegistryReader {
    std::map<std::pair<std::string, std::string>, RegistryValue> values;
    std::optional<RegistryValue> Read(std::uint32_t root, const std::string &key,
                                      const std::string &value) override {
        const auto it = values.find({key, value});
        if (root != kHkeyLocalMachine || it == values.end())
            return std::nullopt;
        return it->second;
    }
};

TEST(Registry, GetKeyValueReadsTextAndNumbers) {
    using namespace std::string_literals;
    struct Row {
        const char *name;
        std::optional<RegistryValue> value;
        bool found;
        std::string keyVal;
    } rows[] = {
        {"trailing zero byte dropped", RegistryValue{kRegString, "C:\\Win\0"s}, true, "C:\\Win"},
        {"kept when absent", RegistryValue{kRegString, "C:\\Win"}, true, "C:\\Win"},
        {"only one zero byte dropped", RegistryValue{kRegString, "ab\0\0"s}, true, "ab\0"s},
        {"empty string value", RegistryValue{kRegString, ""}, true, ""},
        {"number", RegistryValue{kRegDword, "\x2A\x01\0\0"s}, true, "&h0000012A"},
        {"other type leaves the text", RegistryValue{3, "\x01\x02"}, true, "vorher"},
        {"larger than the buffer", RegistryValue{kRegString, std::string(1025, 'x')}, false, ""},
        {"missing key or value", std::nullopt, false, ""},
    };
    for (const Row &r : rows) {
        FakeRegistry registry;
        if (r.value)
            registry.values[{"SOFTWARE\\K", "V"}] = *r.value;
        std::string keyVal = "vorher";
        EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\K", "V", keyVal), r.found)
            << r.name;
        EXPECT_EQ(keyVal, r.keyVal) << r.name;
    }
}

struct FakeStarter final : ProgramStarter {
    std::set<std::string> files, installed, unstartable;
    std::vector<std::string> started;
    bool FileExists(const std::string &path) const override { return files.count(path) > 0; }
    std::string FindProgram(const std::string &name) const override {
        return installed.count(name) ? "/usr/bin/" + name : "";
    }
    bool Start(const std::string &path) override {
        if (unstartable.count(path))
            return false;
        started.push_back(path);
        return true;
    }
};

TEST(Registry, StartSysInfoFromTheRegistryOrAnInstalledProgram) {
    const std::pair<std::string, std::string> msinfo{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                                     "PATH"};
    const std::pair<std::string, std::string> location{"SOFTWARE\\Microsoft\\Shared Tools Location",
                                                       "MSINFO"};
    struct Row {
        const char *name;
        std::map<std::pair<std::string, std::string>, RegistryValue> values;
        std::set<std::string> files, installed, unstartable;
        std::string started; // empty: the message
    } rows[] = {
        {"path registered",
         {{msinfo, {kRegString, std::string("C:\\X\\msinfo32.exe\0", 18)}}},
         {},
         {},
         {},
         "C:\\X\\msinfo32.exe"},
        {"registered path does not start",
         {{msinfo, {kRegString, "C:\\X\\m.exe"}}},
         {},
         {},
         {"C:\\X\\m.exe"},
         ""},
        {"folder registered, MSINFO32.EXE in it",
         {{location, {kRegString, "C:\\MS"}}},
         {"C:\\MS\\MSINFO32.EXE"},
         {},
         {},
         "C:\\MS\\MSINFO32.EXE"},
        {"folder with separator",
         {{location, {kRegString, "C:\\MS\\"}}},
         {"C:\\MS\\MSINFO32.EXE"},
         {},
         {},
         "C:\\MS\\MSINFO32.EXE"},
        {"folder registered, no MSINFO32.EXE",
         {{location, {kRegString, "C:\\MS"}}},
         {},
         {},
         {},
         ""},
        {"nothing registered, one installed", {}, {}, {"hardinfo"}, {}, "/usr/bin/hardinfo"},
        {"nothing registered or installed", {}, {}, {}, {}, ""},
    };
    for (const Row &r : rows) {
        FakeRegistry registry;
        registry.values = r.values;
        FakeStarter starter;
        starter.files = r.files;
        starter.installed = r.installed;
        starter.unstartable = r.unstartable;
        test::ScriptedDialogs dialogs;
        StartSysInfo(registry, starter, dialogs);
        if (r.started.empty()) {
            EXPECT_TRUE(starter.started.empty()) << r.name;
            ASSERT_EQ(dialogs.boxes.size(), 1u) << r.name;
            EXPECT_EQ(dialogs.boxes[0].text,
                      Cp1252("Systeminformationen sind momentan nicht verfügbar"));
            EXPECT_EQ(dialogs.boxes[0].title, "Quandel");
            EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::None);
        } else {
            EXPECT_EQ(starter.started, std::vector<std::string>{r.started}) << r.name;
            EXPECT_TRUE(dialogs.boxes.empty()) << r.name;
        }
    }
}

} // namespace
} // namespace quandel
