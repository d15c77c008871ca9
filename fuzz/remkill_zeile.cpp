// RemKillZeile over any line (Windows-1252 bytes, controls included).
//
// Invariants:
//  - no crash, no undefined behaviour;
//  - the line passed in is replaced by the result, which is also returned;
//  - the result is a piece of the input, never longer;
//  - the result has no leading blank and no leading control below CR;
//  - it holds no ' ; or :REM (the comment markers are cut);
//  - unless it holds "REM" (any case), it is empty or ends in a character the
//    controller's BASIC takes at a line end ("),,? digit letter);
//  - at most one warning box per call, and only when the warning was armed;
//    the box names the line and is never empty;
//  - afterwards the warning is armed, except for a REM line, which leaves
//    the switch as it was;
//  - stripping is idempotent: the result stripped again stays the same and
//    shows no box.

#include "basictools/remkill_zeile.h"

#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

using namespace quandel;

namespace {

bool KeptAtEnd(unsigned char c) {
    return c == '"' || c == ')' || c == ',' || c == '?' || (c >= '0' && c <= '9') ||
           (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const bool armed = fdp.ConsumeBool();
    const std::string input = fdp.ConsumeRemainingBytesAsString();

    fuzz::RecordingDialogs dialogs;
    SharedFlags flags;
    flags.SonderzeichenWarnungAktiv = armed;
    std::string line = input;
    const std::string result = RemKillZeile(line, dialogs, flags);

    FUZZ_CHECK(line == result);
    FUZZ_CHECK(result.size() <= input.size());
    FUZZ_CHECK(input.find(result) != std::string::npos);
    if (!result.empty()) {
        FUZZ_CHECK(result.front() != ' ');
        FUZZ_CHECK(static_cast<unsigned char>(result.front()) >= 13);
    }
    FUZZ_CHECK(result.find('\'') == std::string::npos);
    FUZZ_CHECK(result.find(';') == std::string::npos);
    FUZZ_CHECK(result.find(":REM") == std::string::npos);

    const bool remLine = UpperCp1252(result).find("REM") != std::string::npos;
    if (!remLine && !result.empty())
        FUZZ_CHECK(KeptAtEnd(static_cast<unsigned char>(result.back())));

    FUZZ_CHECK(dialogs.boxes.size() <= 1);
    if (!dialogs.boxes.empty()) {
        FUZZ_CHECK(armed);
        FUZZ_CHECK(!dialogs.boxes[0].text.empty());
        FUZZ_CHECK(dialogs.boxes[0].title == std::string(kAppTitle));
    }
    FUZZ_CHECK(flags.SonderzeichenWarnungAktiv == (remLine ? armed : true));

    // Again, armed: nothing more to strip, nothing to warn about.
    std::string again = result;
    flags.SonderzeichenWarnungAktiv = true;
    FUZZ_CHECK(RemKillZeile(again, dialogs, flags) == result);
    FUZZ_CHECK(dialogs.boxes.size() <= 1);
    return 0;
}
