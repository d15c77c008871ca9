#pragma once

#include <string>

namespace quandel {

class LineModel;
class SourceLines;
class TargetFile;
struct ToolContext;

// REMKILL: copies the source into the target line by line without comments
// (see RemKillZeile), leaving out lines that become empty, and checks on the
// way that the line numbers ascend and that every jump target exists.
// Pending window events run after every line; StopRequested ends the reading,
// the summary and the jump-target check still follow. With `lineChecks`
// cleared only the copy is made (the summary then counts 0 and 0).
//
// The target is closed at the end. Every failure is handled here: a run-time
// failure shows its text in a "REMKILL-FEHLER" box and ends the run without
// summary; a table overflow ends the run after its own box.
void RemKill(ToolContext &ctx, LineModel &model, SourceLines &source, TargetFile &target,
             const std::string &targetPath, bool lineChecks = true);

} // namespace quandel
