#pragma once

#include "core/user_dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace quandel::test {

// Records every box shown and answers from queues set up by the test. A box
// with no scripted answer gets the first button's answer (Ok / Yes / Retry /
// Abort); an input or file dialog with no scripted answer is cancelled.
class ScriptedDialogs final : public UserDialogs {
public:
    struct Box {
        std::string text, title;
        BoxIcon icon;
        BoxButtons buttons;
    };
    std::vector<Box> boxes;
    std::deque<BoxAnswer> answers;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::optional<std::string>> files; // for open and save dialogs
    std::vector<FileDialogState> fileDialogs;     // the state each dialog was shown with
    std::vector<TableBoxContent> tables;          // every table box; its text is in boxes too

    BoxAnswer MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                        const std::string &proposal) override;
    bool OpenFileDialog(FileDialogState &state) override { return FileDialog(state); }
    bool SaveFileDialog(FileDialogState &state) override { return FileDialog(state); }
    void TableBox(const TableBoxContent &table) override;

private:
    bool FileDialog(FileDialogState &state);
};

} // namespace quandel::test
