// Start-up of the main window, offscreen: the time from the process start to
// the main window being exposed, and the peak RSS one second later.
//
// Run without arguments it notes the time and starts itself again as the
// measured process (a fresh process with the libraries still to load, a fresh
// settings folder); that process builds the window with the program's own
// set-up (SetUpApplication, DesktopServices) up to show(), and reports.
// Prints a readable line on stderr and RESULT lines for bench/run.sh.
#include "app/desktop_services.h"
#include "app/frm_main.h"
#include "process_usage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr const char *kStartVariable = "QUANDEL_BENCH_START_NS";

double MonotonicSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Notes the moment a window is first exposed or first painted.
class FirstSight final : public QObject {
public:
    explicit FirstSight(QEvent::Type type) : type_(type) {}
    double at = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (at == 0 && event->type() == type_) {
            const auto *window = qobject_cast<QWindow *>(watched);
            if (window == nullptr || window->isExposed())
                at = MonotonicSeconds();
        }
        return false;
    }

private:
    QEvent::Type type_;
};

// The measured process: main() of the app up to show(), then until exposed.
int Measure(int argc, char *argv[], double start) {
    const double entered = MonotonicSeconds();
    QApplication app(argc, argv);
    quandel::SetUpApplication(app);
    const double appReady = MonotonicSeconds();

    quandel::DesktopServices services;
    quandel::FrmMain window(services.Services());
    window.Startup();
    const double built = MonotonicSeconds();

    FirstSight exposed(QEvent::Expose);
    FirstSight painted(QEvent::Paint);
    window.windowHandle()->installEventFilter(&exposed);
    window.installEventFilter(&painted);
    window.show();
    QElapsedTimer limit;
    limit.start();
    while ((exposed.at == 0 || painted.at == 0) && limit.elapsed() < 10000)
        app.processEvents(QEventLoop::AllEvents, 5);
    if (exposed.at == 0)
        return 1;
    // Peak RSS once the window has settled: timers, first paints, banners.
    limit.restart();
    while (limit.elapsed() < 1000)
        app.processEvents(QEventLoop::AllEvents, 20);
    const double rss = bench::PeakRssMb();

    std::fprintf(stderr,
                 "start-up: main() at %.3f s, QApplication %.3f s, window built %.3f s, "
                 "exposed %.3f s, painted %.3f s; peak RSS %.1f MB\n",
                 entered - start, appReady - start, built - start, exposed.at - start,
                 painted.at - start, rss);
    bench::Result("startup_s", exposed.at - start);
    bench::Result("startup_paint_s", painted.at - start);
    bench::Result("startup_rss_mb", rss);
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    if (const char *start = std::getenv(kStartVariable))
        return Measure(argc, argv, std::atof(start) / 1e9);

    // Launcher: a fresh settings folder, the offscreen platform, and the clock.
    char folder[] = "/tmp/quandel-startup-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    ::setenv("XDG_CONFIG_HOME", folder, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return 1;
    self[n] = '\0';
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    ::setenv(kStartVariable,
             std::to_string(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec).c_str(), 1);
    char *args[] = {self, nullptr};
    pid_t pid = 0;
    int status = 1;
    if (posix_spawn(&pid, self, nullptr, nullptr, args, environ) == 0)
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
