#pragma once

#include <filesystem>
#include <string>

namespace quandel {

// The program keeps paths as Windows-1252 texts like every other text. The
// file system wants its own encoding: the ANSI code page on Windows (which is
// Windows-1252 there), UTF-8 elsewhere. Converting here lets a file called
// "Prüfung.bas" be opened under its real name on every platform.
std::filesystem::path NativePath(const std::string &cp1252);

// Windows-1252 bytes as UTF-8; the five codes the code page leaves free are
// kept as the control characters U+0081 etc.
std::string Cp1252ToUtf8Text(const std::string &cp1252);

} // namespace quandel
