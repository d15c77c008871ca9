#include "core/clock.h"

#include <thread>

namespace quandel {

Clock::TimePoint SteadyClock::Now() const {
    return std::chrono::steady_clock::now();
}

void SteadyClock::SleepFor(Duration d) {
    if (d > Duration::zero())
        std::this_thread::sleep_for(d);
}

} // namespace quandel
