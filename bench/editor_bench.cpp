// The editor with a 10000-line program, offscreen: the time to open it
// (reading, colouring every line, the first checks), the checks alone as
// they run after a pause in typing, and the time a keystroke at the end of
// the file takes until its line is coloured. Medians of several runs.
// Prints a readable line on stderr and RESULT lines for bench/run.sh.
#include "basictools/program_checks.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "editor/code_editor.h"
#include "editor/editor_pane.h"
#include "support/scripted_dialogs.h"
#include "tool_program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("BIG.BAS")).toStdString();
    std::string text;
    for (const std::string &line : bench::ToolProgramLines(lines))
        text += line + "\r\n";
    std::ofstream(path, std::ios::binary) << text;

    quandel::test::ScriptedDialogs dialogs;
    quandel::FileDialogState openLog;
    quandel::SharedFlags flags;
    quandel::EditorPane pane(dialogs, openLog, flags);
    pane.resize(900, 700);
    pane.show();
    QApplication::processEvents();

    std::vector<double> open, check, key;
    for (int run = 0; run < runs; ++run) {
        pane.Document().New();
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        if (!pane.Document().OpenFile(path))
            return 1;
        QApplication::processEvents();
        open.push_back(double(t.nsecsElapsed()) / 1e6);

        t.restart();
        const std::size_t found = quandel::CheckProgram(text).size();
        check.push_back(double(t.nsecsElapsed()) / 1e6);
        if (found != 0)
            std::fprintf(stderr, "the program has %zu findings\n", found);

        quandel::CodeEditor *code = pane.codeEditor();
        code->setFocus();
        code->moveCursor(QTextCursor::End);
        std::vector<double> keys;
        for (int i = 0; i < 200; ++i) {
            const int k = i % 2 ? Qt::Key_Backspace : Qt::Key_A;
            QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, k == Qt::Key_A ? "A" : "");
            t.restart();
            QApplication::sendEvent(code, &press);
            QApplication::processEvents();
            keys.push_back(double(t.nsecsElapsed()) / 1e3);
        }
        key.push_back(Median(keys));
    }
    std::fprintf(stderr,
                 "editor, %d lines: open and colour %.1f ms, checks %.1f ms, keystroke at the "
                 "end %.0f us (medians of %d runs)\n",
                 lines, Median(open), Median(check), Median(key), runs);
    std::printf("RESULT editor_open_ms %.2f\n", Median(open));
    std::printf("RESULT editor_check_ms %.2f\n", Median(check));
    std::printf("RESULT editor_key_us %.1f\n", Median(key));
    return 0;
}
