#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace velnor {

using Clock = std::chrono::steady_clock;

inline Clock::duration millis(double ms) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(ms));
}

// Thrown when the far end closed the slave side (the app closed the port).
struct PortClosed {};
// Thrown when SIGTERM, SIGINT or SIGHUP arrived.
struct StopRequested {};

// The master side of a pseudo-terminal, plus the optional symlink to its slave.
// Every wait also watches for a stop signal, so nothing here blocks past one.
class PtyLink {
public:
    PtyLink();
    ~PtyLink();
    PtyLink(const PtyLink &) = delete;
    PtyLink &operator=(const PtyLink &) = delete;

    // Routes SIGTERM, SIGINT and SIGHUP into StopRequested; ignores SIGPIPE.
    static void install_signal_handlers();

    const std::string &slave_path() const { return slave_path_; }
    void create_link(const std::string &path);
    void remove_link();
    void close_master();

    // Returns once some process has the slave open.
    void wait_until_opened();
    // Drops output the far end did not read before it closed the slave, so
    // that the next opener does not get it.
    void discard_unread_output();
    // Appends what is available to out; waits for data until the deadline.
    // Returns whether anything was read.
    bool read_some(std::string &out, Clock::time_point deadline);
    void write_all(std::string_view data);
    // Closing the master discards what the far end has not read yet: waits
    // (at most until the deadline) until it has read everything.
    void wait_until_output_read(Clock::time_point deadline);
    void sleep_until(Clock::time_point deadline);

private:
    int master_ = -1;
    std::string slave_path_;
    std::string link_path_;
};

} // namespace velnor
