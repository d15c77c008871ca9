#pragma once

#include <string>

namespace quandel {

class UserDialogs;

// The program's version as the about box shows it.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 10;
inline constexpr int kVersionRevision = 7;

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

// Where the BASIC manual lies: the folder of the program's executable and
// "Veno-Help", "index.html" below it, joined with the native separator.
std::string ManualPath(const std::string &exeFolder);
std::string ManualMissingText(const std::string &path);
std::string ManualNotOpenedText(const std::string &path);

} // namespace quandel
