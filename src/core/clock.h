#pragma once

#include <chrono>

namespace quandel {

// Monotonic time for time-outs and pauses. Tests use a fake that advances only
// when told to (or when somebody sleeps on it).
class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
    virtual void SleepFor(Duration d) = 0;
};

class SteadyClock final : public Clock {
public:
    TimePoint Now() const override;
    void SleepFor(Duration d) override;
};

} // namespace quandel
