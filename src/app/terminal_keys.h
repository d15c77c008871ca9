#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <string>

class QKeyEvent;
class QTabWidget;

namespace quandel {

class SerialPort;
class TerminalPage;
struct SharedFlags;

// The key preview of the main window on the "Terminal" tab: every keystroke
// goes to the controller before the focused pane sees it. Qt delivers one
// event where the terminal has a key-down and a character handler; both run
// from it, in that order. Menu shortcuts are handled before this filter.
//
// Ctrl+F is no key of the controller's: wherever the focus is on the tab, it
// opens the terminal pane's find bar. While the focus is inside that bar,
// every key is the bar's and nothing goes to the controller; the bar's own
// shortcuts come first, so there F3 and Shift+F3 find the next and previous
// hit and Escape closes the bar (it stops nothing then: a second Escape, from
// the LCD pane, does).
class TerminalKeys : public QObject {
    Q_OBJECT
public:
    TerminalKeys(QTabWidget &tabs, TerminalPage &page, SerialPort &port, SharedFlags &flags,
                 std::function<void()> sendClipboardLines, QObject *parent = nullptr);

    // While `blocked` says so (the navigator's lists have the focus and take
    // Enter, the arrows and type-ahead letters themselves), only the keys
    // that stop a transfer or send a command reach the controller: Escape,
    // Ctrl+C and F1..F8.
    void SetBlockedWhen(std::function<bool()> blocked) { blocked_ = std::move(blocked); }

    // True when the key was the terminal's (nothing else should see it).
    bool HandleKey(const QKeyEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void KeyDown(int keyCode);
    void Character(int code);

    QTabWidget &tabs_;
    TerminalPage &page_;
    SerialPort &port_;
    SharedFlags &flags_;
    std::function<void()> sendClipboardLines_;
    std::function<bool()> blocked_;
};

// The terminal's key code for a Qt key (the Windows virtual key numbers of
// Backspace, Enter, Escape and F1..F12), or 0.
int TerminalKeyCode(int qtKey);
// The character a keystroke produces, or -1: control characters from the
// key and Ctrl (Ctrl+C is 3 on every platform), printable ones from the
// text, which must be a Windows-1252 character.
int TerminalCharacter(const QKeyEvent &event);
// Escape, Ctrl+C and F1..F8: the terminal's keys whatever pane has the focus.
bool ReachesTerminalFromAnyPane(const QKeyEvent &event);
// Ctrl+F, which opens the terminal pane's find bar instead of sending code 6.
bool OpensTerminalFind(const QKeyEvent &event);

} // namespace quandel
