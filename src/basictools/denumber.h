#pragma once

#include <cstdint>
#include <string_view>

namespace quandel {

class LineModel;
class SourceLines;
class TargetFile;
struct ToolContext;

// DENUMBER: copies the source into the target, every line without its
// leading blanks, and blanks out the line numbers strictly between `von` and
// `bis` that no GOTO, GOSUB, THEN or ELSE of the program jumps to. A first
// pass collects the jump targets (pending window events run after each of its
// lines); the second pass writes.
//
// A stop request during the first pass returns at once: the target stays
// empty and open, no summary. Otherwise the target is closed at the end.
// Failures propagate: ToolFailure (a number beyond 32 bits, a write error)
// and ToolOverflow (after its box) end the run.
void DeNumber(ToolContext &ctx, LineModel &model, SourceLines &source, TargetFile &target,
              std::int32_t von, std::int32_t bis);

// Blanks the number of model.Zeile, the last recorded line number, together
// with the blank after it, unless it is a jump target. The line keeps its
// length.
void ZeilennummerLoeschen(LineModel &model);

// A line is numbered when the text up to and including its first blank reads
// as a number above 0 (before rounding).
bool ZeileNummeriert(std::string_view line);

} // namespace quandel
