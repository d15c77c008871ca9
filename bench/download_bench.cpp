// Downloads a 300-line program into velnor-sim with its default busy times
// through the real main window (offscreen) and compares the time with the
// protocol's own floor: 0.05 s settle per line plus the controller's busy
// time (60 ms per stored line, 800 ms for MTOP=, NEW and the line after NEW).
// Prints: wall seconds, app CPU seconds, floor seconds, ratio.
#include "app/frm_main.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "app/transfer_controller.h"
#include "core/clock.h"
#include "core/user_dialogs.h"
#include "port/device_map.h"
#include "port/qt_serial_port.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Answers every box with No (the EEPROM question) and counts them.
struct NoDialogs final : quandel::UserDialogs {
    int boxes = 0;
    quandel::BoxAnswer MessageBox(const std::string &, const std::string &, quandel::BoxIcon,
                                  quandel::BoxButtons) override {
        ++boxes;
        return quandel::BoxAnswer::No;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &,
                                        const std::string &) override {
        return std::nullopt;
    }
    bool OpenFileDialog(quandel::FileDialogState &) override { return false; }
    bool SaveFileDialog(quandel::FileDialogState &) override { return false; }
};

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 300;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QString link = dir.filePath(QStringLiteral("velnor"));
    QProcess sim;
    sim.start(QStringLiteral(VELNOR_SIM_PATH), {QStringLiteral("--link"), link});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        return 1;

    QByteArray program;
    for (int i = 1; i <= lines; ++i)
        program += QByteArray::number(i * 10) + " PRINT \"LINE " + QByteArray::number(i) +
                   "\" : IF A>B THEN A=A+1 ' comment\r\n";
    const QString file = dir.filePath(QStringLiteral("bench.bas"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write(program);
    f.close();

    quandel::QSettingsStore settings;
    settings.Save(quandel::kAppTitle, quandel::kDeviceSection, "COM1", link.toStdString());
    NoDialogs dialogs;
    quandel::QtEventPump events;
    quandel::SteadyClock clock;
    quandel::QtSerialPort port([&](int n) { return quandel::DeviceFor(n, settings); });
    quandel::FrmMain window({settings, dialogs, port, events, clock});
    window.Startup();
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        app.processEvents(QEventLoop::AllEvents, 20);

    const double cpu0 = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    window.Transfers().DownloadProg(file.toStdString());
    const double wall = timer.elapsed() / 1000.0;
    const double cpu = CpuSeconds() - cpu0;
    const int sent = lines + 5;
    const double floor = sent * 0.05 + (lines - 1) * 0.060 + 3 * 0.8;
    std::printf("download %d lines: wall %.2f s, app CPU %.2f s (%.1f %%), floor %.2f s, "
                "ratio %.3f, boxes %d\n",
                lines, wall, cpu, 100 * cpu / wall, floor, wall / floor, dialogs.boxes);
    sim.terminate();
    sim.waitForFinished();
    return dialogs.boxes == 1 ? 0 : 2;
}
