// The app's download protocol with nothing else around it: send a line, wait
// for the prompt ">" at the start of an answer line, settle 50 ms, next line.
// Plain POSIX against velnor-sim, with the same lines as the app sends. Its
// time is what the simulator and this machine allow the protocol; the app's
// time above it is the app's own.
//
//   bench_handshake [lines] [char-delay-ms]
//
// Prints a readable line on stderr and RESULT lines for bench/run.sh.
#include "bench_program.h"
#include "process_usage.h"
#include "pty_terminal.h"
#include "sim_process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Clock;

// Waits for a prompt in what arrives after `from`; false after 5 s of silence.
bool WaitForPrompt(bench::Terminal &line, std::size_t from) {
    char previous = '\n'; // the answer's first byte starts a line
    Clock::time_point last = Clock::now();
    for (;;) {
        const std::string &in = line.Received();
        for (; from < in.size(); ++from) {
            if (in[from] == '>' && (previous == '\r' || previous == '\n'))
                return true;
            previous = in[from];
            last = Clock::now();
        }
        if (Clock::now() - last > std::chrono::seconds(5))
            return false;
        line.Read(Clock::now() + std::chrono::milliseconds(1));
    }
}

} // namespace

int main(int argc, char *argv[]) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 300;
    const std::string charDelay = argc > 2 ? argv[2] : "1.04";

    bench::SimProcess sim(VELNOR_SIM_PATH, {"--char-delay", charDelay});
    if (!sim.Started())
        return 1;
    bench::Terminal line(sim.SlavePath());
    if (!line.Ok())
        return 1;
    line.ReadUntil("READY\r\n>", 0, std::chrono::seconds(3));

    std::vector<std::string> lines = bench::kOpeningLines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(bench::ProgramLine(i));
    const Clock::time_point start = Clock::now();
    int timedOut = 0;
    for (const std::string &text : lines) {
        const std::size_t from = line.Received().size();
        line.Write(text + "\r");
        if (!WaitForPrompt(line, from))
            ++timedOut;
        line.Read(Clock::now() + std::chrono::milliseconds(50));
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::fprintf(stderr, "minimal handshake sender, %zu lines: %.2f s, prompts missed %d\n",
                 lines.size(), wall, timedOut);
    bench::Result("handshake_wall_s", wall);
    return timedOut == 0 ? 0 : 2;
}
