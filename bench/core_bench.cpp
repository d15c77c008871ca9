// Throughput of the core's hot paths: the LCD emulation, the comment stripping
// of one line, and whole REMKILL, DENUMBER and VARLIST runs on a generated
// 10000-line program with real files in a temporary folder. The tools' boxes
// are answered without being shown.
#include "basictools/line_model.h"
#include "basictools/remkill_zeile.h"
#include "basictools/tool_context.h"
#include "basictools/tool_runner.h"
#include "core/event_pump.h"
#include "core/shared_flags.h"
#include "support/scripted_dialogs.h"
#include "terminal/lcd_emulation.h"
#include "tool_program.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

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

void BM_RemKillZeile(benchmark::State &state) {
    const std::vector<std::string> lines = bench::ToolProgramLines(1000);
    quandel::test::ScriptedDialogs dialogs;
    quandel::SharedFlags flags;
    for (auto _ : state) {
        for (const std::string &source : lines) {
            std::string line = source;
            benchmark::DoNotOptimize(quandel::RemKillZeile(line, dialogs, flags));
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.size()));
}
BENCHMARK(BM_RemKillZeile);

// The generated program as a file of its own, and a place for the targets.
class ToolFolder {
public:
    static constexpr int kLines = 10000;

    ToolFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("quandel-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_);
        std::ofstream(Source(), std::ios::binary) << bench::ToolProgramText(kLines);
    }
    ~ToolFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Source() const { return (path_ / "BENCH.BAS").string(); }
    std::string Target(const char *letter) const {
        return (path_ / (std::string("BENCH.") + letter)).string();
    }

private:
    std::filesystem::path path_;
};

const ToolFolder &Folder() {
    static const ToolFolder folder;
    return folder;
}

// One Start of the tools dialog per iteration, like the app does it.
void RunToolBench(benchmark::State &state, quandel::ToolMode mode) {
    quandel::test::ScriptedDialogs dialogs;
    NullPump events;
    quandel::SharedFlags flags;
    quandel::PlainToolView view;
    quandel::ToolContext ctx{dialogs, events, flags, view};
    quandel::LineModel model;
    quandel::ToolRequest request;
    request.mode = mode;
    request.source = Folder().Source();
    request.target = Folder().Target(quandel::TargetLetter(mode).c_str());
    // The whole program is in range.
    request.von = std::string("0");
    request.bis = std::string("999999");
    for (auto _ : state) {
        if (quandel::RunTool(ctx, model, request) != quandel::RunOutcome::Completed)
            state.SkipWithError("the tool did not complete");
    }
    // The summary boxes every run answers (none of them is shown).
    if (state.iterations() > 0)
        state.SetLabel("boxes per run: " +
                       std::to_string(std::int64_t(dialogs.boxes.size()) / state.iterations()));
    state.SetItemsProcessed(std::int64_t(state.iterations()) * ToolFolder::kLines);
}

void BM_RemKill(benchmark::State &state) {
    RunToolBench(state, quandel::ToolMode::RemKill);
}
void BM_DeNumber(benchmark::State &state) {
    RunToolBench(state, quandel::ToolMode::DeNumber);
}
void BM_VarList(benchmark::State &state) {
    RunToolBench(state, quandel::ToolMode::VarList);
}
BENCHMARK(BM_RemKill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VarList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
