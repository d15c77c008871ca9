#include "sim_harness.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace simtest {
namespace {

int remaining_ms(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left) + 1;
}

// Forks and executes velnor-sim; the child dies with the test process.
pid_t spawn(const std::vector<std::string> &args, int stdout_fd, int stderr_fd) {
    std::vector<std::string> all{VELNOR_SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (auto &arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(stdout_fd, STDOUT_FILENO);
        if (stderr_fd >= 0)
            ::dup2(stderr_fd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for the child to end; false when it still runs at the deadline.
bool reap(pid_t pid, int &status, Clock::time_point deadline) {
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
}

std::optional<int> exit_code(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return std::nullopt;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

Finished run_to_exit(const std::vector<std::string> &args, Millis timeout) {
    TempDir dir;
    const std::string out = dir.path + "/out", err = dir.path + "/err";
    const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const pid_t pid = spawn(args, out_fd, err_fd);
    ::close(out_fd);
    ::close(err_fd);
    int status = 0;
    if (!reap(pid, status, Clock::now() + timeout)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return {exit_code(status).value_or(-1), read_file(out), read_file(err)};
}

SimProcess::SimProcess(const std::vector<std::string> &args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) < 0)
        throw std::runtime_error("pipe failed");
    pid_ = spawn(args, out[1], -1);
    ::close(out[1]);
    stdout_fd_ = out[0];
    // The first line on stdout names the slave.
    std::string line;
    const auto deadline = Clock::now() + 10s;
    while (line.find('\n') == std::string::npos) {
        pollfd fd{stdout_fd_, POLLIN, 0};
        char buffer[256];
        ssize_t n = 0;
        if (::poll(&fd, 1, remaining_ms(deadline)) <= 0 ||
            (n = ::read(stdout_fd_, buffer, sizeof buffer)) <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    if (line.rfind("PTY /", 0) != 0 || line.find('\n') == std::string::npos) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::close(stdout_fd_);
        throw std::runtime_error("velnor-sim did not announce its pty: '" + line + "'");
    }
    slave_path_ = line.substr(4, line.find('\n') - 4);
}

SimProcess::~SimProcess() {
    if (!reaped_) {
        ::kill(pid_, SIGTERM);
        if (!wait_exit(3s)) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status_, 0);
        }
    }
    ::close(stdout_fd_);
}

void SimProcess::signal(int sig) {
    if (!reaped_)
        ::kill(pid_, sig);
}

std::optional<int> SimProcess::wait_exit(Millis timeout) {
    if (!reaped_ && !reap(pid_, status_, Clock::now() + timeout))
        return std::nullopt;
    reaped_ = true;
    return exit_code(status_);
}

Port::Port(const std::string &path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
}

void Port::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void Port::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EAGAIN) {
            pollfd fd{fd_, POLLOUT, 0};
            ::poll(&fd, 1, 100);
        } else if (!(n < 0 && errno == EINTR)) {
            throw std::runtime_error(std::string("write to port failed: ") + std::strerror(errno));
        }
    }
}

void Port::fill(Clock::time_point deadline) {
    if (hung_up_) {
        std::this_thread::sleep_until(deadline);
        return;
    }
    pollfd fd{fd_, POLLIN, 0};
    if (::poll(&fd, 1, remaining_ms(deadline)) <= 0)
        return;
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0)
        pending_.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno == EIO)
        hung_up_ = true;
}

std::string Port::read_until(std::string_view pattern, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (const auto at = pending_.find(pattern); at != std::string::npos) {
            std::string result = pending_.substr(0, at + pattern.size());
            pending_.erase(0, at + pattern.size());
            return result;
        }
        if (Clock::now() >= deadline || hung_up_)
            return std::exchange(pending_, {});
        fill(deadline);
    }
}

std::string Port::read_for(Millis duration) {
    const auto deadline = Clock::now() + duration;
    while (Clock::now() < deadline && !hung_up_)
        fill(deadline);
    return std::exchange(pending_, {});
}

bool Port::wait_hangup(Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!hung_up_ && Clock::now() < deadline)
        fill(deadline);
    return hung_up_;
}

Connected::Connected(const std::vector<std::string> &args, bool read_signon)
    : sim(args), port(sim.slave_path()) {
    if (read_signon)
        signon = port.read_answer();
}

std::vector<std::string> fast_args(std::vector<std::string> extra) {
    extra.insert(extra.begin(), {"--busy-scale", "0", "--signon-delay", "0"});
    return extra;
}

TempDir::TempDir() : path("/tmp/velnor-sim-test-XXXXXX") {
    if (::mkdtemp(path.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

} // namespace simtest
