#pragma once

#include "core/user_dialogs.h"

#include <QString>
#include <QStringList>

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
    void TableBox(const TableBoxContent &table) override;
};

// Box texts use CR (or CR LF, LF CR) between lines; Qt wants LF.
QString BoxText(const std::string &text);
// Runs of characters without a blank longer than a box can show (a
// 4096-character program line) are cut after `maxRun` characters with a note
// of how much is left out; the box offers the whole text under "Details".
// Text with blanks is never cut: the box wraps it.
QString ShortenLongRuns(const QString &text, qsizetype maxRun = 240);
// "Name (*.a)|*.a;*.b|Other|*.*" to the filters handed to QFileDialog, which
// shows each name as it is and filters by the patterns after it:
// {"Name (*.a) (*.a *.b)", "Other (*)"}. "*.*" stands for every file.
QStringList QtNameFilters(const std::string &filter);

} // namespace quandel
