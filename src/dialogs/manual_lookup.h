#pragma once

#include <string>
#include <vector>

namespace quandel {

// The manual this project ships, found from the folder of the program's
// executable: "<exe folder>/../share/quandel/manual/index.html". The build
// tree (build/bin, build/share/...) and an installation (P/bin,
// P/share/...) share that layout. The ".." is resolved on the text, so the
// path shown to the user reads "/usr/share/..." for "/usr/bin".
std::string ShippedManualPath(const std::string &exeFolder);

struct ManualLookup {
    std::string found;                 // empty when none of the paths is a file
    std::vector<std::string> searched; // every path tried, in the order tried
};

// Which manual "BASIC-Manual" opens. A controller maker's manual beside the
// program (ManualPath) comes first, the shipped one second. Paths are in the
// file system's encoding (UTF-8 here), so any folder name works.
ManualLookup FindManual(const std::string &exeFolder);

} // namespace quandel
