#pragma once

#include "core/user_dialogs.h"

namespace quandel {

// Dialogs nobody sees: for checks that run the tools' code without boxes.
// A box answers `answer`; input and file dialogs are cancelled.
class SilentDialogs final : public UserDialogs {
public:
    explicit SilentDialogs(BoxAnswer answer = BoxAnswer::No) : answer_(answer) {}
    BoxAnswer MessageBox(const std::string &, const std::string &, BoxIcon, BoxButtons) override {
        return answer_;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &,
                                        const std::string &) override {
        return std::nullopt;
    }
    bool OpenFileDialog(FileDialogState &) override { return false; }
    bool SaveFileDialog(FileDialogState &) override { return false; }

private:
    BoxAnswer answer_;
};

} // namespace quandel
