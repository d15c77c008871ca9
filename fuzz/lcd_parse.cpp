// LcdEmulation::LcdParse over random byte streams cut into random chunks.
//
// Invariants (checked before every byte through the event pump and after
// every chunk):
//  - no crash, no undefined behaviour;
//  - the event pump runs exactly once per received byte;
//  - row and column stay in 0..32767 (the controller's counter; the row goes
//    past 9 only by LF after ESC Y put the cursor on line 9, the column past 79
//    only by writing);
//  - every line is 80 characters long, except line 0 right after the
//    start-up banner: 17 characters ("Display Emulation") until an FF clears
//    or a scroll drops it; every character is printable 7-bit text (32..127);
//  - after every LcdParse call no text is pending;
//  - the pane text is empty or at most 9 lines of 17 or 80 characters, each
//    ended by CR LF.
// Chunking: the display does NOT in general come out the same for every
// chunking, by design (the controller's emulation writes the pending text at
// the end of every chunk): an LF or BS inside a chunk moves the cursor before
// the pending text is written, across a cut after it. What holds:
//  - cutting only where the whole-stream run has no pending text gives the
//    very same state (lines, cursor, escape/backspace state, hiding, pane
//    text, number of renders) as feeding the stream in one piece;
//  - for a stream without LF and BS (after masking the high bit), any
//    chunking gives the same lines, cursor and escape state (the hiding of
//    the "PROGRAMMING" messages may differ: it is decided per render).

#include "core/event_pump.h"
#include "fuzz_support.h"
#include "terminal/lcd_emulation.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>
#include <vector>

using namespace quandel;

namespace {

struct Pane final : LcdPane {
    std::string text;
    int renders = 0;
    void SetText(const std::string &t) override { text = t, ++renders; }
};

struct Pump final : EventPump {
    const LcdEmulation *lcd = nullptr;
    std::vector<bool> pendingEmpty; // before each byte
    void ProcessEvents() override;
};

// `deep` also looks at every character (after each chunk, not per byte).
void CheckState(const LcdEmulation &lcd, bool deep) {
    FUZZ_CHECK(lcd.Row() >= 0 && lcd.Row() <= 32767);
    FUZZ_CHECK(lcd.Col() >= 0 && lcd.Col() <= 32767);
    const auto &lines = lcd.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool bannerLine = i == 0 && lines[0].size() == 17;
        FUZZ_CHECK(lines[i].size() == 80 || bannerLine);
        if (!deep)
            continue;
        for (const char c : lines[i])
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) <= 127);
    }
}

void CheckPane(const std::string &text) {
    std::size_t pos = 0;
    int count = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        FUZZ_CHECK(end != std::string::npos);
        FUZZ_CHECK(end - pos == 80 || end - pos == 17);
        pos = end + 2;
        ++count;
    }
    FUZZ_CHECK(count <= LcdEmulation::kShownRows);
}

void Pump::ProcessEvents() {
    CheckState(*lcd, false);
    pendingEmpty.push_back(lcd->Pending().empty());
}

struct Display {
    Pane pane;
    Pump pump;
    LcdEmulation lcd{pane, pump};
    explicit Display(bool banner) {
        pump.lcd = &lcd;
        if (banner)
            lcd.ShowBanner();
        else
            lcd.LcdClear();
    }
    void Feed(const std::string &stream, const std::vector<std::size_t> &cuts) {
        std::size_t from = 0;
        for (std::size_t cut : cuts) {
            Chunk(stream.substr(from, cut - from));
            from = cut;
        }
        Chunk(stream.substr(from));
        FUZZ_CHECK(pump.pendingEmpty.size() == stream.size());
    }
    void Chunk(const std::string &chunk) {
        lcd.LcdParse(chunk);
        FUZZ_CHECK(lcd.Pending().empty());
        CheckState(lcd, true);
        CheckPane(pane.text);
    }
};

// Ascending cut positions inside the stream, drawn from a seed: runs of
// empty, one-byte and longer chunks.
std::vector<std::size_t> Cuts(std::size_t size, std::uint64_t seed) {
    std::vector<std::size_t> cuts;
    std::size_t pos = 0;
    while (size > 0) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const unsigned r = unsigned(seed >> 33);
        const std::size_t step = (r & 3) == 0 ? 0 : (r & 3) == 1 ? 1 : (r >> 2) % 48;
        pos += step;
        if (pos >= size)
            break;
        cuts.push_back(pos);
    }
    return cuts;
}

void SameDisplay(const Display &a, const Display &b, bool full) {
    FUZZ_CHECK(a.lcd.Lines() == b.lcd.Lines());
    FUZZ_CHECK(a.lcd.Row() == b.lcd.Row());
    FUZZ_CHECK(a.lcd.Col() == b.lcd.Col());
    FUZZ_CHECK(a.lcd.EscActive() == b.lcd.EscActive());
    FUZZ_CHECK(a.lcd.BsMode() == b.lcd.BsMode());
    if (full) {
        FUZZ_CHECK(a.lcd.ProgHide() == b.lcd.ProgHide());
        FUZZ_CHECK(a.pane.text == b.pane.text);
        FUZZ_CHECK(a.pane.renders == b.pane.renders);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const bool banner = fdp.ConsumeBool();
    const auto seed = fdp.ConsumeIntegral<std::uint64_t>();
    const std::string stream = fdp.ConsumeRemainingBytesAsString();

    // The whole stream in one piece: the reference.
    Display whole(banner);
    whole.Feed(stream, {});

    // Random cuts: only the state invariants.
    const std::vector<std::size_t> cuts = Cuts(stream.size(), seed);
    Display chunked(banner);
    chunked.Feed(stream, cuts);

    // The cuts where the reference had no text pending change nothing.
    std::vector<std::size_t> quiet;
    for (std::size_t cut : cuts)
        if (whole.pump.pendingEmpty[cut])
            quiet.push_back(cut);
    Display quietCut(banner);
    quietCut.Feed(stream, quiet);
    SameDisplay(whole, quietCut, true);

    // Without LF and BS any cut only writes pending text earlier, at the
    // same place.
    std::string plain;
    for (char c : stream) {
        const int code = static_cast<unsigned char>(c) & 127;
        if (code != 8 && code != 10)
            plain.push_back(c);
    }
    Display plainWhole(banner), plainCut(banner);
    plainWhole.Feed(plain, {});
    plainCut.Feed(plain, Cuts(plain.size(), seed));
    SameDisplay(plainWhole, plainCut, false);
    return 0;
}
