// Time from starting a program to its first top-level window appearing on an
// X display (Xvfb in bench/run.sh), and the program's peak RSS one second
// later; then the program is ended. Used on the real quandel binary, which
// needs no change for it.
//
//   bench_first_window PROGRAM [ARGS...]
//
// Prints a readable line on stderr and RESULT lines for bench/run.sh.
#include "process_usage.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <xcb/xcb.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// VmHWM of the process from /proc, in MB; 0 when it cannot be read.
double PeakRssMbOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t *x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    // A top-level window being mapped shows up as MapNotify on the root.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[1]);
        return 1;
    }
    double shown = 0;
    pollfd p{xcb_get_file_descriptor(x), POLLIN, 0};
    while (shown == 0 && Clock::now() - start < std::chrono::seconds(20)) {
        ::poll(&p, 1, 50);
        while (xcb_generic_event_t *event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (map->event == root && !map->override_redirect && shown == 0)
                    shown = std::chrono::duration<double>(Clock::now() - start).count();
            }
            std::free(event);
        }
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double rss = PeakRssMbOf(pid);
    ::kill(pid, SIGTERM);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    xcb_disconnect(x);
    if (shown == 0) {
        std::fprintf(stderr, "no window within 20 s\n");
        return 1;
    }
    std::fprintf(stderr, "first window after %.3f s, peak RSS %.1f MB\n", shown, rss);
    bench::Result("window_s", shown);
    bench::Result("window_rss_mb", rss);
    return 0;
}
