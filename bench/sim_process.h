#pragma once

// velnor-sim as a child process: started with the given options, ready once
// it has printed its "PTY <path>" line, ended with SIGTERM when this object
// goes. Plain POSIX, so the fixed-delay sender can use it as well.

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace bench {

class SimProcess {
public:
    SimProcess(const std::string &program, const std::vector<std::string> &options) {
        int out[2];
        if (::pipe(out) != 0)
            return;
        std::vector<std::string> args{program};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, out[1]);
        const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (rc != 0) {
            pid_ = -1;
            ::close(out[0]);
            return;
        }
        // The first line: "PTY /dev/pts/N". Give it five seconds.
        std::string line;
        pollfd p{out[0], POLLIN, 0};
        while (line.find('\n') == std::string::npos && ::poll(&p, 1, 5000) > 0) {
            char buffer[256];
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            line.append(buffer, std::size_t(n));
        }
        ::close(out[0]);
        if (line.rfind("PTY ", 0) == 0 && line.find('\n') != std::string::npos)
            slave_ = line.substr(4, line.find('\n') - 4);
    }
    ~SimProcess() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool Started() const { return pid_ > 0 && !slave_.empty(); }
    // The pseudo-terminal's slave side, the controller's end of the line.
    const std::string &SlavePath() const { return slave_; }

private:
    pid_t pid_ = -1;
    std::string slave_;
};

} // namespace bench
