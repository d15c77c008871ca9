#pragma once

#include <ostream>

namespace quandel {

// "quandel --pfade": where the running program finds its manual and Qt's
// German texts, one line each, in UTF-8. Returns the exit code: 0 when both
// are there, 1 otherwise. Needs the application object (for the program's
// folder) with the translations installed.
int ReportPaths(std::ostream &out);

} // namespace quandel
