// How long the receive path takes for a burst from velnor-sim: the real
// serial port, the terminal tab's widgets (offscreen) and the LCD emulation.
// Prints one line: bytes, seconds, bytes/s, CPU seconds.
#include "app/qt_event_pump.h"
#include "app/terminal_controller.h"
#include "app/terminal_page.h"
#include "core/clock.h"
#include "port/qt_serial_port.h"

#include <QApplication>
#include <QElapsedTimer>
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

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long target = argc > 1 ? std::atol(argv[1]) : 1000000;
    const bool lcdFeed = !(argc > 2 && QByteArray(argv[2]) == "--no-lcd");

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("velnor"));
    QProcess sim;
    sim.start(QStringLiteral(VELNOR_SIM_PATH),
              {QStringLiteral("--link"), link, QStringLiteral("--busy-scale"), QStringLiteral("0"),
               QStringLiteral("--statement-ms"), QStringLiteral("0"),
               QStringLiteral("--no-signon")});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        return 1;

    quandel::QtEventPump events;
    quandel::SteadyClock clock;
    quandel::QtSerialPort port([&](int) { return link.toStdString(); });
    quandel::TerminalPage page;
    page.resize(800, 600);
    page.show();
    quandel::TerminalController terminal(page, port, events, clock);
    terminal.Receive().SetLcdFeedEnabled(lcdFeed);
    if (!port.SetPortOpen(true))
        return 1;

    // A program whose output is `target` bytes: 78-character lines plus CR LF.
    const long lines = target / 80;
    const std::string text(76, 'X');
    for (const std::string &line :
         {std::string("10 FOR I=1 TO ") + std::to_string(lines), "20 PRINT \"" + text + "\"",
          std::string("30 NEXT I"), std::string("40 END")}) {
        port.Output(line + "\r");
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300)
            app.processEvents(QEventLoop::AllEvents, 20);
    }
    terminal.SetTerminalText("");
    const double cpu0 = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    port.Output("RUN\r");
    auto *pane = page.terminalPane();
    while (!pane->toPlainText().endsWith(QStringLiteral("READY\n>")) && timer.elapsed() < 120000)
        app.processEvents(QEventLoop::AllEvents, 20);
    const double secs = timer.elapsed() / 1000.0;
    const double cpu = CpuSeconds() - cpu0;
    std::printf("receive burst: %ld bytes, %.2f s, %.0f bytes/s, app CPU %.2f s, LCD feed %s\n",
                lines * 80, secs, lines * 80 / secs, cpu, lcdFeed ? "on" : "off");
    sim.terminate();
    sim.waitForFinished();
    return 0;
}
