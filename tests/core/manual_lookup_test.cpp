// Which manual "BASIC-Manual" opens, against real folders: the layout of the
// build tree and of an installation (bin/ beside share/quandel/manual/).

#include "dialogs/help_texts.h"
#include "dialogs/manual_lookup.h"
#include "support/tool_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quandel {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path &file) {
    fs::create_directories(file.parent_path());
    test::WriteBytes(file.string(), "<html></html>");
}

TEST(ManualLookup, ControllerMakersManualBeforeTheShippedOne) {
    struct Row {
        const char *name;
        bool veno, shipped;
        const char *found; // relative to the prefix; "" for none
    } rows[] = {
        {"none", false, false, ""},
        {"only the maker's", true, false, "bin/Veno-Help/index.html"},
        {"only the shipped", false, true, "share/quandel/manual/index.html"},
        {"both: the maker's wins", true, true, "bin/Veno-Help/index.html"},
    };
    for (const Row &r : rows) {
        test::TempDir dir;
        const fs::path prefix = dir.File("Prüf ordner"); // blank and umlaut in UTF-8
        const fs::path bin = prefix / "bin";
        fs::create_directories(bin);
        if (r.veno)
            Touch(bin / "Veno-Help" / "index.html");
        if (r.shipped)
            Touch(prefix / "share" / "quandel" / "manual" / "index.html");

        const ManualLookup lookup = FindManual(bin.string());
        EXPECT_EQ(lookup.found, *r.found ? (prefix / r.found).string() : "") << r.name;
        // The missing-manual box names every place it looked, in order.
        const std::vector<std::string> all = {
            (bin / "Veno-Help" / "index.html").string(),
            (prefix / "share/quandel/manual/index.html").string()};
        const std::vector<std::string> tried(all.begin(), all.begin() + (r.veno ? 1 : 2));
        EXPECT_EQ(lookup.searched, tried) << r.name;
    }
}

TEST(ManualLookup, AFolderNamedLikeTheManualIsNoManual) {
    test::TempDir dir;
    const fs::path bin = dir.File("bin");
    fs::create_directories(bin / "Veno-Help" / "index.html");
    Touch(fs::path(dir.File("share")) / "quandel" / "manual" / "index.html");
    EXPECT_EQ(FindManual(bin.string()).found, dir.File("share/quandel/manual/index.html"));
}

TEST(ManualLookup, ShippedPathReadsWithoutDotDot) {
    struct Row {
        const char *exeFolder, *path;
    } rows[] = {
        {"/usr/bin", "/usr/share/quandel/manual/index.html"},
        {"/usr/bin/", "/usr/share/quandel/manual/index.html"},
        {"/home/ä/quandel/build/bin", "/home/ä/quandel/build/share/quandel/manual/index.html"},
        {"/opt/q/./bin", "/opt/q/share/quandel/manual/index.html"},
        {"/", "/share/quandel/manual/index.html"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ShippedManualPath(r.exeFolder), r.path) << r.exeFolder;
}

TEST(ManualLookup, MessagesNameThePathsAndWhatToInstall) {
    EXPECT_EQ(ManualMissingText({"/a/Veno-Help/index.html", "/share/quandel/manual/index.html"}),
              "Das BASIC-Manual wurde nicht gefunden:\r/a/Veno-Help/index.html\r"
              "/share/quandel/manual/index.html");
    const std::string notOpened = ManualNotOpenedText("/m/index.html");
    EXPECT_EQ(notOpened.rfind(Cp1252("Das BASIC-Manual konnte nicht geöffnet werden:\r"
                                     "/m/index.html\r\r"),
                              0),
              0u);
    for (const char *part : {"Webbrowser", "apt-get install", "selbst"})
        EXPECT_NE(notOpened.find(part), std::string::npos) << part;
}

} // namespace
} // namespace quandel
