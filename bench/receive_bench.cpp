// The receive path under load: velnor-sim runs a FOR loop of PRINTs and the
// output goes through the real serial port into the terminal tab's widgets
// (offscreen), plain-text mode, LCD feed on, while the app's read-out capture
// writes it to a file. The file is then held against what the loop printed.
//
//   bench_receive burst BYTES            as fast as the pseudo-terminal goes
//   bench_receive stream SECONDS MS      paced at MS per byte (0.0868: 115200 baud)
//
// Prints one readable line on stderr and RESULT lines for bench/run.sh: time,
// bytes lost, app CPU seconds and share, peak RSS.
#include "app/qt_event_pump.h"
#include "app/terminal_controller.h"
#include "app/terminal_page.h"
#include "core/clock.h"
#include "port/qt_serial_port.h"
#include "process_usage.h"
#include "sim_process.h"
#include "transfer/readout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

// The printed text of each line; 60 characters keep the program line below
// the controller's 78.
const std::string kText(60, 'X');

// Line i as the simulator prints `PRINT "XXX";I`: the number with a sign
// place before and a blank after it.
std::string PrintedLine(long i) {
    return kText + " " + std::to_string(i) + " \r\n";
}

// Runs the event loop, as the app does, until `done` holds (looked at every
// 50 ms) or `ms` have passed.
void RunEvents(int ms, const std::function<bool()> &done = {}) {
    QEventLoop loop;
    QTimer look;
    QElapsedTimer t;
    t.start();
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if ((done && done()) || t.elapsed() >= ms)
            loop.quit();
    });
    look.start(50);
    loop.exec();
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bytes of the printed lines 1..lines that the captured text lacks: each line
// is looked for after the one before it.
long LostBytes(const std::string &captured, long lines) {
    long lost = 0;
    std::size_t from = 0;
    for (long i = 1; i <= lines; ++i) {
        const std::string line = PrintedLine(i);
        const std::size_t at = captured.find(line, from);
        if (at == std::string::npos) {
            lost += long(line.size());
        } else {
            from = at + line.size();
        }
    }
    return lost;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "burst";
    const bool stream = mode == "stream";
    const double amount = argc > 2 ? std::atof(argv[2]) : (stream ? 60 : 1000000);
    const std::string charDelay = stream ? (argc > 3 ? argv[3] : "0.0868") : "0";

    // Enough lines for the bytes, or for the seconds at the paced rate.
    const double bytes = stream ? amount * 1000.0 / std::atof(charDelay.c_str()) : amount;
    long lines = 0;
    long printed = 0;
    while (double(printed) < bytes)
        printed += long(PrintedLine(++lines).size());

    QTemporaryDir dir;
    const std::string link = dir.filePath(QStringLiteral("velnor")).toStdString();
    bench::SimProcess sim(VELNOR_SIM_PATH, {"--link", link, "--busy-scale", "0", "--statement-ms",
                                            "0", "--no-signon", "--char-delay", charDelay});
    if (!sim.Started())
        return 1;

    quandel::QtEventPump events;
    quandel::SteadyClock clock;
    quandel::QtSerialPort port([&](int) { return link; });
    quandel::TerminalPage page;
    page.resize(800, 600);
    page.show();
    quandel::TerminalController terminal(page, port, events, clock);
    terminal.Receive().SetMode(quandel::ReceivePath::DisplayMode::NormalText);
    terminal.Receive().SetLcdFeedEnabled(true);
    if (!port.SetPortOpen(true))
        return 1;

    for (const std::string &line :
         {"10 FOR I=1 TO " + std::to_string(lines), "20 PRINT \"" + kText + "\";I",
          std::string("30 NEXT I"), std::string("40 END")}) {
        port.Output(line + "\r");
        RunEvents(300);
    }
    terminal.SetTerminalText("");

    const std::string capturePath = dir.filePath(QStringLiteral("capture.txt")).toStdString();
    quandel::FileCaptureSink file;
    std::string error;
    if (!file.Open(capturePath, error))
        return 1;
    terminal.Receive().StartCapture(file);

    const double cpu0 = bench::CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    port.Output("RUN\r");
    // Generous: a stalled receive path shows as lost bytes, not as a hang.
    const qint64 limit = qint64(bytes / 1000.0 + 60) * 1000;
    // The end: the pane's last lines read "READY" and ">". Only those two
    // blocks are looked at, so that the looking costs next to nothing.
    const QTextDocument *document = page.terminalPane()->document();
    RunEvents(int(limit), [document] {
        const QTextBlock last = document->lastBlock();
        return last.text() == QStringLiteral(">") &&
               last.previous().text() == QStringLiteral("READY");
    });
    const double secs = timer.elapsed() / 1000.0;
    const double cpu = bench::CpuSeconds() - cpu0;
    const bool captureOk = terminal.Receive().EndCapture() && file.Close();

    const std::string captured = ReadFile(capturePath);
    const long lost = LostBytes(captured, lines);
    const double rss = bench::PeakRssMb();
    std::fprintf(stderr,
                 "receive %s: %ld lines, %ld bytes printed, %zu captured, lost %ld, %.2f s, "
                 "%.0f bytes/s, app CPU %.2f s (%.1f %%), peak RSS %.1f MB%s\n",
                 mode.c_str(), lines, printed, captured.size(), lost, secs, printed / secs, cpu,
                 100 * cpu / secs, rss, captureOk ? "" : ", capture file failed");
    const std::string key = stream ? "stream" : "burst";
    bench::Result((key + "_s").c_str(), secs);
    bench::Result((key + "_bytes").c_str(), double(printed));
    bench::Result((key + "_lost_bytes").c_str(), double(lost));
    bench::Result((key + "_cpu_s").c_str(), cpu);
    bench::Result((key + "_cpu_share_pct").c_str(), 100 * cpu / secs);
    bench::Result((key + "_rss_mb").c_str(), rss);
    return lost == 0 && captureOk ? 0 : 2;
}
