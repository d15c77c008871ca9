#include "app/terminal_keys.h"

#include "app/cp1252_codec.h"
#include "app/terminal_page.h"
#include "core/shared_flags.h"
#include "editor/find_bar.h"
#include "port/serial_port.h"
#include "terminal/key_table.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace quandel {

int TerminalKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace:
        return kKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyReturn;
    case Qt::Key_Escape:
        return kKeyEscape;
    default:
        if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
            return kKeyF1 + (qtKey - Qt::Key_F1);
        return 0;
    }
}

int TerminalCharacter(const QKeyEvent &event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    const QString text = event.text();
    if (text.size() != 1 || text.at(0).unicode() < 32)
        return -1;
    qsizetype bad = -1;
    const std::string byte = ToCp1252(text, &bad);
    // A character the controller's code page cannot hold is not sent as junk.
    return bad >= 0 || byte.size() != 1 ? -1 : static_cast<unsigned char>(byte[0]);
}

TerminalKeys::TerminalKeys(QTabWidget &tabs, TerminalPage &page, SerialPort &port,
                           SharedFlags &flags, std::function<void()> sendClipboardLines,
                           QObject *parent)
    : QObject(parent), tabs_(tabs), page_(page), port_(port), flags_(flags),
      sendClipboardLines_(std::move(sendClipboardLines)) {}

bool TerminalKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress)
        return HandleKey(static_cast<const QKeyEvent &>(*event));
    return QObject::eventFilter(watched, event);
}

bool ReachesTerminalFromAnyPane(const QKeyEvent &event) {
    const int key = event.key();
    if (key == Qt::Key_Escape || (key >= Qt::Key_F1 && key <= Qt::Key_F8))
        return true;
    return key == Qt::Key_C && (event.modifiers() & Qt::ControlModifier) &&
           !(event.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
}

bool OpensTerminalFind(const QKeyEvent &event) {
    return event.keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_F);
}

bool TerminalKeys::HandleKey(const QKeyEvent &event) {
    if (tabs_.currentIndex() == 1)
        return false;
    if (OpensTerminalFind(event)) {
        page_.findBar()->OpenFind();
        return true;
    }
    if (page_.findBarHasFocus())
        return false;
    if (blocked_ && blocked_() && !ReachesTerminalFromAnyPane(event))
        return false;
    const int keyCode = TerminalKeyCode(event.key());
    const int character = TerminalCharacter(event);
    if (keyCode == 0 && character < 0)
        return false; // arrows, modifiers alone, Alt combinations: not the controller's
    KeyDown(keyCode);
    if (character >= 0)
        Character(character);
    return true;
}

void TerminalKeys::KeyDown(int keyCode) {
    page_.lcdPane()->setFocus(Qt::OtherFocusReason);
    std::array<std::string, 4> userTexts;
    for (int i = 0; i < 4; ++i)
        userTexts[std::size_t(i)] = ToCp1252(page_.functionKeyText(4 + i));
    const std::string text = KeyDownText(keyCode, userTexts);
    if (!text.empty())
        port_.Output(text); // a closed port is no error here
    if (keyCode == kKeyEscape)
        flags_.StopRequested = true;
}

void TerminalKeys::Character(int code) {
    if (!port_.PortOpen())
        return;
    if (code == 3) {
        QApplication::beep();
        port_.ClearOutBuffer();
        port_.Output(std::string(1, char(3)));
        flags_.StopRequested = true;
    } else if (code == 22) {
        sendClipboardLines_();
    } else {
        port_.Output(std::string(1, char(code)));
    }
}

} // namespace quandel
