#pragma once

#include "basictools/line_model.h"

#include <string>
#include <string_view>
#include <vector>

namespace quandel {

// The longest line the controller takes; it cuts what comes after.
constexpr std::size_t kControllerLineLimit = 78;

// Runs a program text through the checks REMKILL makes (line numbers, jump
// keywords, jump targets), with the same line model and so the same
// findings, plus what only shows in the controller: lines it cuts,
// characters it cannot take, and a comment mark inside a string, where the
// comment stripping cuts the line. No box is shown; columns are positions
// in the text's own lines. Lines end at CR LF, CR or LF.
std::vector<Finding> CheckProgram(std::string_view text);

// The finding in one line, for a list of findings.
std::string FindingSummary(const Finding &finding);

} // namespace quandel
