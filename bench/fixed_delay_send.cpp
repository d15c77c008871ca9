// The way a program gets into the controller without Quandel: a terminal
// program sends the file line by line with a fixed pause after each line and
// never looks at the answers. This sender does that against velnor-sim and
// finds, by bisection, the shortest pause with which no line is lost.
//
//   bench_fixed_delay search [lines] [char-delay-ms]
//   bench_fixed_delay send DELAY-MS [lines] [char-delay-ms]
//
// It sends what the app sends (the opening commands, then the program lines of
// bench_program.h) to a fresh simulator per try, with default busy times. A
// line counts as lost when LIST afterwards lacks it (or shows it changed), or
// when an opening command was not echoed in full. The search tries each pause
// on a probe (the opening, the first and the last five program lines: the slow
// lines after MTOP= and NEW and the longest lines) and gives up on a try at
// the first line whose echo is missing two lines later. The shortest pause
// that passed, plus 1 % against timing jitter, is then used for the whole
// program; should that lose a line, the pause grows by 2 % and the whole
// program goes again.
//
// Prints readable lines on stderr and RESULT lines for bench/run.sh. Plain
// POSIX writes to the pseudo-terminal, no handshake.
#include "bench_program.h"
#include "process_usage.h"
#include "pty_terminal.h"
#include "sim_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Terminal;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct Try {
    bool done = false; // false: the simulator or the line did not come up
    int lost = 0;
    bool gaveUp = false;
    double wall = 0; // first byte sent to the last byte of the last answer
};

// One line of what is sent, with the program line it holds (0: an opening command).
struct Outgoing {
    std::string text;
    int programLine;
};

std::vector<Outgoing> Lines(const std::vector<int> &programLines) {
    std::vector<Outgoing> out;
    for (const std::string &c : bench::kOpeningLines)
        out.push_back({c, 0});
    for (int i : programLines)
        out.push_back({bench::ProgramLine(i), i});
    return out;
}

// Sends the lines to a fresh simulator with `delay` seconds from one line's
// start to the next. With `giveUp` the try ends at the first missing echo.
Try SendAll(const std::vector<int> &programLines, double delay, const std::string &charDelay,
            bool giveUp) {
    Try result;
    bench::SimProcess sim(VELNOR_SIM_PATH, {"--char-delay", charDelay});
    if (!sim.Started())
        return result;
    Terminal line(sim.SlavePath());
    if (!line.Ok())
        return result;
    // As a user would: wait for the sign-on before sending.
    line.ReadUntil("READY\r\n>", 0, std::chrono::seconds(3));

    const std::vector<Outgoing> lines = Lines(programLines);
    const std::size_t base = line.Received().size();
    std::size_t echoFrom = base;
    std::size_t checked = 0;
    int lostOpening = 0;
    // The echo of line k is due before line k + 2 goes out.
    const auto checkEchoes = [&](std::size_t upTo) {
        for (; checked < upTo; ++checked) {
            if (lines[checked].text.empty())
                continue;
            const std::size_t at = line.Received().find(lines[checked].text + "\r\n", echoFrom);
            if (at == std::string::npos) {
                if (lines[checked].programLine == 0)
                    ++lostOpening;
                result.gaveUp = giveUp;
            } else {
                echoFrom = at;
            }
        }
    };
    const Clock::time_point start = Clock::now();
    const auto step =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(delay));
    for (std::size_t k = 0; k < lines.size() && !result.gaveUp; ++k) {
        line.Read(start + step * std::int64_t(k));
        if (k >= 2)
            checkEchoes(k - 1);
        if (!result.gaveUp)
            line.Write(lines[k].text + "\r");
    }
    result.done = true;
    if (result.gaveUp) {
        result.lost = 1;
        return result;
    }
    // The last answer: the slowest busy time is 0.8 s.
    line.ReadUntil({}, base, std::chrono::milliseconds(1500));
    result.wall = Seconds(line.LastByte() - start);
    checkEchoes(lines.size());

    const std::size_t listFrom = line.Received().size();
    line.Write("LIST\r");
    line.ReadUntil("READY\r\n>", listFrom, std::chrono::seconds(3));
    result.lost = lostOpening + bench::MissingLines(line.Received().substr(listFrom), programLines);
    return result;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i)
        out.push_back(i);
    return out;
}

} // namespace

int main(int argc, char *argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "search";
    const bool search = mode == "search";
    const int a = search ? 2 : 3;
    const int count = argc > a ? std::atoi(argv[a]) : 300;
    const std::string charDelay = argc > a + 1 ? argv[a + 1] : "1.04";
    const std::vector<int> all = Range(1, count);

    double delay = 0;
    if (!search) {
        delay = argc > 2 ? std::atof(argv[2]) / 1000.0 : 1.0;
    } else {
        std::vector<int> probe = Range(1, std::min(count, 5));
        for (int i = std::max(6, count - 4); i <= count; ++i)
            probe.push_back(i);
        // lo loses lines, hi does not; 0 s certainly loses.
        double lo = 0, hi = 1.0;
        int tries = 0;
        const auto passes = [&](double d) {
            const Try t = SendAll(probe, d, charDelay, true);
            ++tries;
            std::fprintf(stderr, "  fixed delay %.1f ms on the probe: %s\n", d * 1000,
                         !t.done  ? "simulator failed"
                         : t.lost ? "lines lost"
                                  : "nothing lost");
            return t.done && t.lost == 0;
        };
        while (!passes(hi)) {
            lo = hi;
            hi *= 2;
            if (hi > 16) {
                std::fprintf(stderr, "no delay up to 16 s keeps every line\n");
                return 1;
            }
        }
        // Down to 2 ms or 0.5 %, whichever is coarser.
        while (hi - lo > std::max(0.002, 0.005 * hi)) {
            const double mid = (lo + hi) / 2;
            (passes(mid) ? hi : lo) = mid;
        }
        // The probe passes near the edge by luck now and then (the machine's
        // timing jitters by a few ms); 1 % more keeps the whole program safe.
        delay = hi * 1.01;
        bench::Result("fixed_search_tries", tries);
        bench::Result("fixed_edge_ms", hi * 1000);
    }

    Try full;
    for (int attempt = 0; attempt < 5; ++attempt) {
        full = SendAll(all, delay, charDelay, false);
        std::fprintf(stderr,
                     "fixed delay %.1f ms, %d program lines: %.2f s, lines lost %d (LIST)\n",
                     delay * 1000, count, full.wall, full.lost);
        if (!full.done || full.lost == 0 || !search)
            break;
        delay *= 1.02;
    }
    if (!full.done)
        return 1;
    bench::Result("fixed_delay_ms", delay * 1000);
    bench::Result("fixed_wall_s", full.wall);
    bench::Result("fixed_lost_lines", full.lost);
    return full.lost == 0 ? 0 : 2;
}
