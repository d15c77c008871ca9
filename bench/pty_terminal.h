#pragma once

// The sending end of the pseudo-terminal for the plain POSIX senders: raw
// mode, and everything that arrives is kept with the time of its last byte.

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace bench {

using Clock = std::chrono::steady_clock;

class Terminal {
public:
    explicit Terminal(const std::string &path)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios tio{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::cfsetspeed(&tio, B9600);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~Terminal() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;

    bool Ok() const { return fd_ >= 0; }
    const std::string &Received() const { return received_; }
    Clock::time_point LastByte() const { return lastByte_; }

    void Write(std::string text) {
        while (!text.empty()) {
            const ssize_t n = ::write(fd_, text.data(), text.size());
            if (n > 0)
                text.erase(0, std::size_t(n));
            else
                Read(Clock::now() + std::chrono::milliseconds(1));
        }
    }
    // Reads what arrives until the deadline.
    void Read(Clock::time_point deadline) {
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, int(std::max<long long>(left.count(), 0))) > 0) {
                char buffer[4096];
                const ssize_t n = ::read(fd_, buffer, sizeof buffer);
                if (n > 0) {
                    received_.append(buffer, std::size_t(n));
                    lastByte_ = Clock::now();
                }
            }
            if (Clock::now() >= deadline)
                return;
        }
    }
    // Reads until `text` has arrived after `from` (empty: never) or nothing
    // came for `quiet`.
    void ReadUntil(const std::string &text, std::size_t from, Clock::duration quiet) {
        Clock::time_point last = Clock::now();
        while ((text.empty() || received_.find(text, from) == std::string::npos) &&
               Clock::now() - last < quiet) {
            const std::size_t before = received_.size();
            Read(Clock::now() + std::chrono::milliseconds(20));
            if (received_.size() != before)
                last = Clock::now();
        }
    }

private:
    int fd_;
    std::string received_;
    Clock::time_point lastByte_{};
};

} // namespace bench
