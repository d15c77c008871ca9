#pragma once

#include "options.hpp"
#include "pty_link.hpp"

#include <deque>
#include <string_view>

namespace velnor {

// The controller's serial line on top of the pty: paces bytes in both
// directions like a slow line, logs what arrives, and drops what arrives
// while the controller is busy.
//
// Each received byte gets an arrival time: when it was read, but never
// earlier than one byte time after the byte before it. A byte is handled
// no earlier than its arrival, and a busy period loses every byte that has
// arrived by its end and has not been handled yet.
class SerialLine {
public:
    SerialLine(PtyLink &link, const Options &options);
    ~SerialLine();
    SerialLine(const SerialLine &) = delete;
    SerialLine &operator=(const SerialLine &) = delete;

    // The next received byte, once it is due.
    unsigned char next_byte();
    // Keeps the controller busy for ms; input is lost unless --no-loss.
    void busy(double ms);
    // Waits ms while a program runs. Input is dropped; returns true if a
    // Ctrl+C was among it.
    bool watch_for_break(double ms);
    void write(std::string_view text);
    // Forgets input of a session whose port was closed.
    void reset();

private:
    struct Received {
        unsigned char byte;
        Clock::time_point arrival;
    };

    void pull(Clock::time_point deadline);
    void drop_arrived_by(Clock::time_point time);

    PtyLink &link_;
    Clock::duration char_time_;
    bool no_loss_;
    int log_fd_ = -1;
    std::deque<Received> inbox_;
    Clock::time_point last_arrival_{};
    Clock::time_point next_send_{};
};

} // namespace velnor
