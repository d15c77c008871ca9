#pragma once

// What a benchmark reports about its own process: CPU time, peak resident
// memory, and the "RESULT key value" lines that bench/run.sh collects.

#include <cstdio>
#include <sys/resource.h>

namespace bench {

// User plus system CPU seconds of this process (all threads) so far.
inline double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The largest resident set this process has had so far, in MB.
inline double PeakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0; // ru_maxrss is in kilobytes on Linux
}

// One figure for bench/run.sh, which takes medians over runs.
inline void Result(const char *key, double value) {
    std::printf("RESULT %s %.6g\n", key, value);
    std::fflush(stdout);
}

} // namespace bench
