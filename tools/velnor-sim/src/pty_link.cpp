#include "pty_link.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace velnor {
namespace {

int signal_pipe[2] = {-1, -1};

extern "C" void on_stop_signal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signal_pipe[1], &byte, 1);
    errno = saved;
}

std::runtime_error system_failure(const std::string &what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

timespec to_timespec(Clock::duration d) {
    using namespace std::chrono;
    // Long waits are cut into hours; callers loop until their deadline.
    d = std::clamp<Clock::duration>(d, Clock::duration::zero(), hours(1));
    const auto secs = duration_cast<seconds>(d);
    return timespec{static_cast<time_t>(secs.count()),
                    static_cast<long>(duration_cast<nanoseconds>(d - secs).count())};
}

// Waits for events on fd (fd < 0: only for the deadline) and throws if a
// stop signal arrived. Returns fd's revents, 0 when the deadline passed.
short wait_for(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd fds[2] = {{signal_pipe[0], POLLIN, 0}, {fd, events, 0}};
        const auto now = Clock::now();
        const timespec timeout = to_timespec(deadline - std::min(now, deadline));
        const int rc = ::ppoll(fds, fd >= 0 ? 2 : 1, &timeout, nullptr);
        if (rc < 0) {
            if (errno == EINTR)
                continue;
            throw system_failure("poll");
        }
        if (fds[0].revents != 0)
            throw StopRequested{};
        if (rc > 0)
            return fds[1].revents;
        if (Clock::now() >= deadline)
            return 0;
    }
}

void make_raw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
}

} // namespace

void PtyLink::install_signal_handlers() {
    if (signal_pipe[0] < 0 && ::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) < 0)
        throw system_failure("pipe");
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

PtyLink::PtyLink() {
    termios raw{};
    ::cfmakeraw(&raw);
    int slave = -1;
    if (::openpty(&master_, &slave, nullptr, &raw, nullptr) < 0)
        throw system_failure("openpty");
    char name[PATH_MAX];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        ::close(slave);
        throw system_failure("ptsname");
    }
    slave_path_ = name;
    // Only the far end may hold the slave: that is how an open port is seen.
    ::close(slave);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
}

PtyLink::~PtyLink() {
    remove_link();
    close_master();
}

void PtyLink::create_link(const std::string &path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode))
        throw std::runtime_error(path + " exists and is not a symbolic link");
    // Link under a temporary name and rename, which replaces an old link.
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(slave_path_.c_str(), temporary.c_str()) < 0)
        throw system_failure("symlink " + path);
    if (::rename(temporary.c_str(), path.c_str()) < 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        throw system_failure("rename to " + path);
    }
    link_path_ = path;
}

void PtyLink::remove_link() {
    if (link_path_.empty())
        return;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link_path_.c_str(), target, sizeof target - 1);
    // Leave the path alone if somebody else has put their own link there.
    if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == slave_path_)
        ::unlink(link_path_.c_str());
    link_path_.clear();
}

void PtyLink::close_master() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

void PtyLink::wait_until_opened() {
    bool first_look = true;
    for (;;) {
        const short revents = wait_for(master_, POLLIN, Clock::now());
        if ((revents & POLLHUP) == 0)
            return;
        if (first_look) {
            char buffer[4096];
            while (::read(master_, buffer, sizeof buffer) > 0) {
            }
            make_raw(master_); // sets the slave's modes
        }
        first_look = false;
        // POLLHUP stays set while nobody has the slave open: look again later.
        sleep_until(Clock::now() + millis(20));
    }
}

void PtyLink::discard_unread_output() {
    // Flushing through the master does not reach the slave's input queue.
    const int slave = ::open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0) {
        ::tcflush(slave, TCIFLUSH);
        ::close(slave);
    }
}

bool PtyLink::read_some(std::string &out, Clock::time_point deadline) {
    for (;;) {
        const short revents = wait_for(master_, POLLIN, deadline);
        if (revents == 0)
            return false;
        if (revents & POLLIN) {
            char buffer[1024];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
                return true;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            throw PortClosed{}; // EIO or end of file: the slave was closed
        }
        if (revents & (POLLHUP | POLLERR))
            throw PortClosed{};
        if (revents & POLLNVAL)
            throw std::runtime_error("pty master is not open");
    }
}

void PtyLink::write_all(std::string_view data) {
    // Writes to a closed slave would still be queued for the next opener.
    if (wait_for(master_, POLLIN, Clock::now()) & POLLHUP)
        throw PortClosed{};
    while (!data.empty()) {
        const ssize_t n = ::write(master_, data.data(), data.size());
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // The far end is not reading: wait for room, a close or a signal.
            const short revents =
                wait_for(master_, POLLOUT, Clock::now() + std::chrono::seconds(1));
            if (revents & (POLLHUP | POLLERR))
                throw PortClosed{};
            continue;
        }
        throw PortClosed{};
    }
}

void PtyLink::wait_until_output_read(Clock::time_point deadline) {
    const int slave = ::open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0)
        return;
    // Written bytes reach the slave's queue a moment later, so the queue must
    // be seen empty twice in a row.
    int empty_looks = 0;
    while (empty_looks < 2 && Clock::now() < deadline) {
        sleep_until(std::min(deadline, Clock::now() + millis(10)));
        int unread = 0;
        if (::ioctl(slave, FIONREAD, &unread) < 0)
            break;
        empty_looks = unread == 0 ? empty_looks + 1 : 0;
    }
    ::close(slave);
}

void PtyLink::sleep_until(Clock::time_point deadline) {
    while (Clock::now() < deadline)
        wait_for(-1, 0, deadline);
}

} // namespace velnor
