#pragma once

// What the fuzz targets share: a check that stops the run as a finding, and
// dialogs that record every box and answer every question at once.

#include "core/user_dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

// A broken invariant is a finding like a crash: libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace quandel::fuzz {

// Never blocks: a question with buttons gets the next scripted answer (Yes
// when none is left, or the first button), input and file dialogs are
// cancelled.
class RecordingDialogs final : public UserDialogs {
public:
    struct Box {
        std::string text, title;
        BoxIcon icon;
        BoxButtons buttons;
    };
    std::vector<Box> boxes;
    std::deque<bool> yes; // answers to YesNo questions
    int inputs = 0, fileDialogs = 0;

    BoxAnswer MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                         BoxButtons buttons) override {
        boxes.push_back({text, title, icon, buttons});
        switch (buttons) {
        case BoxButtons::YesNo:
        case BoxButtons::YesNoCancel: {
            const bool y = yes.empty() || yes.front();
            if (!yes.empty())
                yes.pop_front();
            return y ? BoxAnswer::Yes : BoxAnswer::No;
        }
        case BoxButtons::RetryCancel:
            return BoxAnswer::Cancel;
        case BoxButtons::AbortRetryIgnore:
            return BoxAnswer::Abort;
        case BoxButtons::OkCancel:
        case BoxButtons::Ok:
            return BoxAnswer::Ok;
        }
        return BoxAnswer::Ok;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &,
                                        const std::string &) override {
        ++inputs;
        return std::nullopt;
    }
    bool OpenFileDialog(FileDialogState &) override { return ++fileDialogs, false; }
    bool SaveFileDialog(FileDialogState &) override { return ++fileDialogs, false; }
};

} // namespace quandel::fuzz
