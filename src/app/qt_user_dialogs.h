#pragma once

#include "core/user_dialogs.h"

#include <QString>

namespace quandel {

// The real boxes: QMessageBox, QInputDialog and QFileDialog, parented to the
// active window.
class QtUserDialogs final : public UserDialogs {
public:
    BoxAnswer MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                        const std::string &proposal) override;
    bool OpenFileDialog(FileDialogState &state) override;
    bool SaveFileDialog(FileDialogState &state) override;
};

// Box texts use CR (or CR LF, LF CR) between lines; Qt wants LF.
QString BoxText(const std::string &text);
// Lines longer than a box can show (a 4096-character program line) are cut
// after `maxChars` with a note of how much is left out; the box offers the
// whole text under "Details".
QString ShortenBoxLines(const QString &text, qsizetype maxChars = 160);
// "Name|*.a;*.b|Other|*.c" to Qt's "Name (*.a *.b);;Other (*.c)".
QString QtFileFilter(const std::string &filter);

} // namespace quandel
