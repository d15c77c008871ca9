// Downloads a program into velnor-sim through the real main window (offscreen)
// and compares the time with the protocol's floor: the least time in which
// any sender that waits for each prompt and then settles 50 ms gets the same
// lines into this simulator. It adds up, from the bytes counted at the port:
//
//   wire    how the simulator spends its char delay (serial_line.cpp): the
//           bytes of a line arrive one delay apart and each is echoed as it
//           arrives, so the echo costs nothing on top (full duplex); after the
//           CR the answer goes out one delay apart, the prompt right after the
//           busy time. A line of n bytes with a answer bytes before its prompt
//           costs n - 1 + a - 1 delays, one more when it has no busy time.
//           Summed: (received - 2 x lines + lines without busy time) x delay.
//   busy    what the simulator charges per line (controller.cpp): 60 ms per
//           stored line, 800 ms for NEW, RUN, MTOP= and the first stored line
//           after them, nothing for empty lines and RAM.
//   settle  the app's 50 ms after each prompt.
//
// Usage: bench_download [lines] [char-delay-ms] [--list | --changes]
// With --changes the program file is then edited (one line changed, one
// added, one removed) and loaded again with "Änderungen laden"; its time is
// reported against the full download's, with the listing alone (the floor
// of any comparison) and the CPU time of comparing the lines.
// Prints one readable line and RESULT lines for bench/run.sh. With --list the
// program is listed back afterwards and compared line by line (slow at 9600
// baud); without it the echo of every line is checked, which the simulator
// only sends for bytes it kept.
#include "app/frm_main.h"
#include "app/qsettings_store.h"
#include "app/qt_event_pump.h"
#include "app/transfer_controller.h"
#include "bench_program.h"
#include "core/clock.h"
#include "counting_port.h"
#include "port/device_map.h"
#include "port/qt_serial_port.h"
#include "process_usage.h"
#include "sim_process.h"
#include "support/scripted_devices.h"
#include "support/scripted_dialogs.h"
#include "transfer/program_compare.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace {

// velnor-sim's defaults, with which the benchmark runs it.
constexpr double kBusySeconds = 0.060;
constexpr double kSlowBusySeconds = 0.800;
constexpr double kSettleSeconds = 0.050;

// What velnor-sim charges for the lines in `sent` (each ended by CR).
struct LineCosts {
    int lines = 0;
    int withoutBusy = 0;
    double busySeconds = 0;
};

LineCosts SimLineCosts(const std::string &sent) {
    LineCosts costs;
    bool slowNext = false;
    std::size_t start = 0;
    for (std::size_t cr; (cr = sent.find('\r', start)) != std::string::npos; start = cr + 1) {
        ++costs.lines;
        std::string line = sent.substr(start, cr - start);
        while (!line.empty() && line.front() == ' ')
            line.erase(0, 1);
        for (char &c : line)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line.front()))) {
            costs.busySeconds += slowNext ? kSlowBusySeconds : kBusySeconds;
            slowNext = false;
        } else if (line == "NEW" || line == "RUN" || line.rfind("MTOP", 0) == 0 ||
                   line.rfind("LET MTOP", 0) == 0) {
            costs.busySeconds += kSlowBusySeconds;
            slowNext = true;
        } else {
            ++costs.withoutBusy;
        }
    }
    return costs;
}

// Program lines whose echo ("line" CR LF) is missing from what came back.
int MissingEchoes(const std::string &received, int lines) {
    int missing = 0;
    std::size_t from = 0;
    for (int i = 1; i <= lines; ++i) {
        const std::size_t at = received.find(bench::ProgramLine(i) + "\r\n", from);
        if (at == std::string::npos)
            ++missing;
        else
            from = at;
    }
    return missing;
}

// Sends LIST through the port and returns the answer up to the final prompt.
std::string ListProgram(quandel::SerialPort &port) {
    port.ClearInBuffer();
    port.Output("LIST\r");
    std::string answer;
    QElapsedTimer quiet;
    quiet.start();
    while (answer.find("READY\r\n>") == std::string::npos && quiet.elapsed() < 5000) {
        port.WaitForData(100);
        const std::string chunk = port.Input();
        if (!chunk.empty())
            quiet.restart();
        answer += chunk;
    }
    return answer;
}

} // namespace

// Edits the downloaded file in three places, loads the changes, lists the
// program alone, and times the comparison of the lines.
int LoadChanges(quandel::FrmMain &window, quandel::test::ScriptedDialogs &dialogs,
                const QString &file, int lines, double downloadWall) {
    std::string text;
    const int changed = lines / 2, removed = lines * 2 / 3;
    for (int i = 1; i <= lines; ++i) {
        if (i == removed)
            continue;
        text += (i == changed ? std::to_string(i * 10) + " PRINT \"GEAENDERT\""
                              : bench::ProgramLine(i)) +
                "\r\n";
        if (i == changed)
            text += std::to_string(i * 10 + 5) + " PRINT \"NEU\"\r\n";
    }
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    f.write(QByteArray::fromStdString(text));
    f.close();

    dialogs.boxes.clear();
    dialogs.files = {file.toStdString()};
    dialogs.answers = {quandel::BoxAnswer::Ok, quandel::BoxAnswer::No};
    QElapsedTimer timer;
    timer.start();
    window.Transfers().LoadChangesCommand();
    const double changesWall = timer.elapsed() / 1000.0;
    const bool loaded = dialogs.boxes.size() == 2;

    dialogs.boxes.clear();
    dialogs.files = {file.toStdString()};
    timer.restart();
    window.Transfers().CompareCommand();
    const double listingWall = timer.elapsed() / 1000.0;
    const bool clean = dialogs.boxes.size() == 1 &&
                       dialogs.boxes[0].text.find("genau das Programm") != std::string::npos;

    // The comparison's own work on the lines, without the listing.
    std::string listing = "LIST\r\n";
    for (int i = 1; i <= lines; ++i)
        listing += bench::ListedLine(i) + "\r\n";
    listing += "\r\nREADY\r\n>";
    const double cpu0 = bench::CpuSeconds();
    constexpr int kRounds = 50;
    std::size_t found = 0;
    for (int round = 0; round < kRounds; ++round)
        found +=
            quandel::CompareProgram(quandel::DownloadedLines(text), quandel::ListedLines(listing))
                .size();
    const double compareMs = (bench::CpuSeconds() - cpu0) * 1000.0 / kRounds;

    std::fprintf(stderr,
                 "changes (1 changed, 1 added, 1 removed): wall %.2f s = %.3f of the download; "
                 "listing alone %.2f s; comparing %d lines %.2f ms CPU (%zu differences); %s\n",
                 changesWall, changesWall / downloadWall, listingWall, lines, compareMs,
                 found / kRounds, loaded && clean ? "clean afterwards" : "NOT CLEAN");
    bench::Result("changes_wall_s", changesWall);
    bench::Result("changes_over_download", changesWall / downloadWall);
    bench::Result("listing_wall_s", listingWall);
    bench::Result("compare_cpu_ms", compareMs);
    return loaded && clean ? 0 : 2;
}

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 300;
    const std::string charDelay = argc > 2 ? argv[2] : "1.04";
    const bool listBack = argc > 3 && std::string(argv[3]) == "--list";
    const bool changes = argc > 3 && std::string(argv[3]) == "--changes";
    const double byteSeconds = std::atof(charDelay.c_str()) / 1000.0;

    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const std::string link = dir.filePath(QStringLiteral("velnor")).toStdString();
    bench::SimProcess sim(VELNOR_SIM_PATH, {"--link", link, "--char-delay", charDelay});
    if (!sim.Started())
        return 1;

    const QString file = dir.filePath(QStringLiteral("bench.bas"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write(QByteArray::fromStdString(bench::ProgramText(lines)));
    f.close();

    quandel::QSettingsStore settings;
    settings.Save(quandel::kAppTitle, quandel::kDeviceSection, "COM1", link);
    quandel::test::ScriptedDialogs dialogs;
    dialogs.answers = {quandel::BoxAnswer::No}; // no EEPROM programming
    quandel::QtEventPump events;
    quandel::SteadyClock clock;
    quandel::QtSerialPort realPort([&](int n) { return quandel::DeviceFor(n, settings); });
    bench::CountingPort port(realPort);
    quandel::test::ScriptedDeviceList devices;
    quandel::FrmMain window({settings, dialogs, port, events, clock, devices});
    window.Startup();
    window.show();
    // The sign-on arrives 100 ms after the port opened.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        app.processEvents(QEventLoop::AllEvents, 20);

    port.sent.clear();
    port.received.clear();
    const double cpu0 = bench::CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    window.Transfers().DownloadProg(file.toStdString());
    const double wall = timer.elapsed() / 1000.0;
    const double cpu = bench::CpuSeconds() - cpu0;

    // What went over the line during the download (LIST comes later).
    const std::string sent = port.sent;
    const std::string received = port.received;
    const LineCosts costs = SimLineCosts(sent);
    const int sentLines = costs.lines;
    const double busy = costs.busySeconds;
    const double wire =
        (double(received.size()) - 2.0 * sentLines + costs.withoutBusy) * byteSeconds;
    const double settleTotal = sentLines * kSettleSeconds;
    const double floor = wire + busy + settleTotal;

    int lost = MissingEchoes(received, lines);
    if (listBack) {
        std::vector<int> all(static_cast<std::size_t>(lines), 0);
        std::iota(all.begin(), all.end(), 1);
        lost = bench::MissingLines(ListProgram(port), all);
    }
    std::fprintf(stderr,
                 "download %d lines (%d sent with the opening): wall %.2f s, app CPU %.2f s "
                 "(%.1f %%), floor %.2f s (wire %.2f s for %zu bytes out, %zu in; busy %.2f s; "
                 "settle %.2f s), app/floor %.3f, lines lost %d (%s), boxes %d\n",
                 lines, sentLines, wall, cpu, 100 * cpu / wall, floor, wire, sent.size(),
                 received.size(), busy, settleTotal, wall / floor, lost, listBack ? "LIST" : "echo",
                 int(dialogs.boxes.size()));
    bench::Result("download_wall_s", wall);
    bench::Result("download_cpu_s", cpu);
    bench::Result("download_cpu_share_pct", 100 * cpu / wall);
    bench::Result("download_floor_s", floor);
    bench::Result("download_ratio", wall / floor);
    bench::Result("download_lost_lines", lost);
    bench::Result("download_bytes_out", double(sent.size()));
    bench::Result("download_bytes_in", double(received.size()));
    // One box: the EEPROM question, answered No.
    if (dialogs.boxes.size() != 1 || lost != 0)
        return 2;
    return changes ? LoadChanges(window, dialogs, file, lines, wall) : 0;
}
