#pragma once

// Dialogs for benchmarks: no box is ever shown. Every message box gets a fixed
// answer to yes/no questions (the first button's answer otherwise) and is
// counted; input and file dialogs are cancelled.

#include "core/user_dialogs.h"

namespace bench {

class SilentDialogs final : public quandel::UserDialogs {
public:
    explicit SilentDialogs(quandel::BoxAnswer yesNo = quandel::BoxAnswer::Yes) : yesNo_(yesNo) {}

    int boxes = 0;

    quandel::BoxAnswer MessageBox(const std::string &, const std::string &, quandel::BoxIcon,
                                  quandel::BoxButtons buttons) override {
        ++boxes;
        switch (buttons) {
        case quandel::BoxButtons::YesNo:
        case quandel::BoxButtons::YesNoCancel:
            return yesNo_;
        case quandel::BoxButtons::RetryCancel:
            return quandel::BoxAnswer::Retry;
        case quandel::BoxButtons::AbortRetryIgnore:
            return quandel::BoxAnswer::Abort;
        case quandel::BoxButtons::Ok:
        case quandel::BoxButtons::OkCancel:
            break;
        }
        return quandel::BoxAnswer::Ok;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &,
                                        const std::string &) override {
        return std::nullopt;
    }
    bool OpenFileDialog(quandel::FileDialogState &) override { return false; }
    bool SaveFileDialog(quandel::FileDialogState &) override { return false; }

private:
    quandel::BoxAnswer yesNo_;
};

} // namespace bench
