#include "serial_line.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace velnor {

SerialLine::SerialLine(PtyLink &link, const Options &options)
    : link_(link), char_time_(millis(options.char_delay_ms)), no_loss_(options.no_loss) {
    if (!options.log_path.empty()) {
        log_fd_ = ::open(options.log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (log_fd_ < 0)
            throw std::runtime_error("cannot open log " + options.log_path + ": " +
                                     std::strerror(errno));
    }
}

SerialLine::~SerialLine() {
    if (log_fd_ >= 0)
        ::close(log_fd_);
}

void SerialLine::pull(Clock::time_point deadline) {
    std::string data;
    if (!link_.read_some(data, deadline))
        return;
    if (log_fd_ >= 0) {
        // Unbuffered, so a reader sees the bytes as soon as they came in.
        std::string_view rest = data;
        while (!rest.empty()) {
            const ssize_t n = ::write(log_fd_, rest.data(), rest.size());
            if (n <= 0)
                break;
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    const auto now = Clock::now();
    for (const char c : data) {
        last_arrival_ = std::max(now, last_arrival_ + char_time_);
        inbox_.push_back({static_cast<unsigned char>(c), last_arrival_});
    }
}

void SerialLine::drop_arrived_by(Clock::time_point time) {
    while (!inbox_.empty() && inbox_.front().arrival <= time)
        inbox_.pop_front();
}

unsigned char SerialLine::next_byte() {
    for (;;) {
        if (inbox_.empty()) {
            pull(Clock::time_point::max());
            continue;
        }
        const Received first = inbox_.front();
        if (first.arrival <= Clock::now()) {
            inbox_.pop_front();
            return first.byte;
        }
        pull(first.arrival);
    }
}

void SerialLine::busy(double ms) {
    if (ms <= 0)
        return;
    const auto end = Clock::now() + millis(ms);
    // Keep reading even when nothing is lost, to notice the port closing.
    for (;;) {
        if (!no_loss_)
            drop_arrived_by(end);
        if (Clock::now() >= end)
            return;
        pull(end);
    }
}

bool SerialLine::watch_for_break(double ms) {
    const auto end = Clock::now() + millis(ms);
    for (;;) {
        pull(end); // looks at least once, even when ms is 0
        const bool stop = std::any_of(inbox_.begin(), inbox_.end(),
                                      [](const Received &r) { return r.byte == 3; });
        inbox_.clear();
        if (stop)
            return true;
        if (Clock::now() >= end)
            return false;
    }
}

void SerialLine::write(std::string_view text) {
    if (char_time_ <= Clock::duration::zero()) {
        link_.write_all(text);
        return;
    }
    next_send_ = std::max(next_send_, Clock::now());
    while (!text.empty()) {
        if (next_send_ > Clock::now())
            link_.sleep_until(next_send_);
        // Send every byte whose time has come in one write.
        const auto now = Clock::now();
        std::size_t count = 0;
        while (count < text.size() && next_send_ <= now) {
            ++count;
            next_send_ += char_time_;
        }
        link_.write_all(text.substr(0, count));
        text.remove_prefix(count);
    }
}

void SerialLine::reset() {
    inbox_.clear();
}

} // namespace velnor
