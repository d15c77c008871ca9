#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace simtest {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

// Output of a velnor-sim run that ends by itself (option errors, --help).
struct Finished {
    int exit_code = -1;
    std::string out, err;
};
Finished run_to_exit(const std::vector<std::string> &args, Millis timeout = 10s);

// A running velnor-sim; terminated and reaped when it goes out of scope.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string> &args);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    const std::string &slave_path() const { return slave_path_; }
    void signal(int sig);
    // The exit code, or nothing if it did not exit normally in time.
    std::optional<int> wait_exit(Millis timeout);

private:
    pid_t pid_ = -1;
    int stdout_fd_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    std::string slave_path_;
};

// The app's end of the line: the slave opened raw, like a serial port.
class Port {
public:
    explicit Port(const std::string &path);
    ~Port() { close(); }
    Port(const Port &) = delete;
    Port &operator=(const Port &) = delete;

    void send(std::string_view bytes);
    // Returns what arrived up to and including pattern, keeping the rest for
    // later reads. On a time-out or a hang-up returns everything received.
    std::string read_until(std::string_view pattern, Millis timeout = 5s);
    // Reads an answer up to its prompt.
    std::string read_answer(Millis timeout = 5s) { return read_until("\r\n>", timeout); }
    // Sends line and CR, returns the answer up to the prompt.
    std::string command(std::string_view line, Millis timeout = 5s) {
        send(std::string(line) + "\r");
        return read_answer(timeout);
    }
    // Everything that arrives within the time.
    std::string read_for(Millis duration);
    // Whether the far end hung up (end of file, EIO) within the time.
    bool wait_hangup(Millis timeout);
    void close();

private:
    void fill(Clock::time_point deadline);

    int fd_ = -1;
    bool hung_up_ = false;
    std::string pending_;
};

// A simulator with the port opened and the sign-on read.
struct Connected {
    explicit Connected(const std::vector<std::string> &args, bool read_signon = true);
    SimProcess sim;
    Port port;
    std::string signon;
};

// Sim arguments that make every busy time zero, for quick dialogue tests.
std::vector<std::string> fast_args(std::vector<std::string> extra = {});

// A fresh folder under /tmp, removed with everything in it at the end.
struct TempDir {
    TempDir();
    ~TempDir();
    std::string path;
};

} // namespace simtest
