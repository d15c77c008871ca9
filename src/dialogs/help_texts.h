#pragma once

#include "core/version.h"

#include <string>
#include <vector>

namespace quandel {

class UserDialogs;

// "Version 2.5.12" for 2, 5, 12.
std::string VersionText(int major, int minor, int revision);

// Texts of the about box, Windows-1252.
std::string AboutCaption();
std::string AboutDescription();
std::string AboutDisclaimer();

// "Info" in the help menu: the short overview of the program, lines joined
// with CR LF.
std::string OverviewText();
void ShowOverview(UserDialogs &dialogs);

// Where a controller maker's BASIC manual lies: the folder of the program's
// executable and "Veno-Help", "index.html" below it, joined with the native
// separator.
std::string ManualPath(const std::string &exeFolder);
// No manual at any of the searched paths (Windows-1252), listed one a line.
std::string ManualMissingText(const std::vector<std::string> &searched);
// The manual exists but no program took it (no web browser set up).
std::string ManualNotOpenedText(const std::string &path);

} // namespace quandel
