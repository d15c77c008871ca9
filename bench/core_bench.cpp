// Throughput of the core's hot paths.
#include "core/event_pump.h"
#include "terminal/lcd_emulation.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

struct NullPane final : quandel::LcdPane {
    void SetText(const std::string &text) override { benchmark::DoNotOptimize(text.data()); }
};

struct NullPump final : quandel::EventPump {
    void ProcessEvents() override {}
};

// What the controller sends while a program prints: text lines with CR LF,
// now and then cursor addressing and a clear.
std::string DisplayTraffic(std::size_t bytes) {
    std::mt19937 rng(42);
    std::string s;
    while (s.size() < bytes) {
        s += "LINE " + std::to_string(rng() % 100000) + " VALUE=" + std::to_string(rng() % 999) +
             "\r\n";
        if (rng() % 16 == 0)
            s += std::string("\x1bY") + char(32 + rng() % 9) + char(32 + rng() % 80);
        if (rng() % 64 == 0)
            s += "\x0c";
    }
    s.resize(bytes);
    return s;
}

void BM_LcdParse(benchmark::State &state) {
    NullPane pane;
    NullPump pump;
    quandel::LcdEmulation lcd(pane, pump);
    const std::string chunk = DisplayTraffic(std::size_t(state.range(0)));
    for (auto _ : state)
        lcd.LcdParse(chunk);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LcdParse)->Arg(64)->Arg(4096);

} // namespace

BENCHMARK_MAIN();
