#include "support/scripted_dialogs.h"

namespace quandel::test {

BoxAnswer ScriptedDialogs::MessageBox(const std::string &text, const std::string &title,
                                      BoxIcon icon, BoxButtons buttons) {
    boxes.push_back({text, title, icon, buttons});
    if (!answers.empty()) {
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case BoxButtons::YesNo:
    case BoxButtons::YesNoCancel:
        return BoxAnswer::Yes;
    case BoxButtons::RetryCancel:
        return BoxAnswer::Retry;
    case BoxButtons::AbortRetryIgnore:
        return BoxAnswer::Abort;
    default:
        return BoxAnswer::Ok;
    }
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string &prompt,
                                                     const std::string &title,
                                                     const std::string &) {
    boxes.push_back({prompt, title, BoxIcon::None, BoxButtons::OkCancel});
    if (inputs.empty())
        return std::nullopt;
    auto a = inputs.front();
    inputs.pop_front();
    return a;
}

void ScriptedDialogs::TableBox(const TableBoxContent &table) {
    tables.push_back(table);
    MessageBox(table.text, table.title, table.icon, BoxButtons::Ok);
}

bool ScriptedDialogs::FileDialog(FileDialogState &state) {
    fileDialogs.push_back(state);
    if (files.empty() || !files.front()) {
        if (!files.empty())
            files.pop_front();
        return false;
    }
    state.fileName = *files.front();
    files.pop_front();
    return true;
}

} // namespace quandel::test
