#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quandel {

class UserDialogs;
struct SharedFlags;

// Strips one BASIC line for the controller: cuts comments (' ; :REM), removes
// leading blanks and control characters and, unless the line holds "REM",
// trailing special characters the controller's BASIC refuses at a line end,
// with at most one warning box per call. The line is replaced by the result,
// which is also returned; empty means nothing is left of the line.
std::string RemKillZeile(std::string &line, UserDialogs &dialogs, SharedFlags &flags);

// How many characters the stripping removes from the front of a line
// whose comment is cut already: blanks and control characters below CR.
std::size_t LeadingJunk(std::string_view text);

// The warning about a special character at the end of `line`; disarms the
// warning until the end of the current RemKillZeile call.
void WarnSonderzeichen(const std::string &line, UserDialogs &dialogs, SharedFlags &flags);

// Windows-1252 upper case: a-z, the accented letters (ä -> Ä, š -> Š, ÿ -> Ÿ).
char UpperCp1252(char c);
std::string UpperCp1252(std::string text);

} // namespace quandel
