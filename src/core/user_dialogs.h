#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quandel {

enum class BoxIcon { None, Critical, Question, Exclamation, Information };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class BoxAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// State of the main window's one file dialog. Each use sets what it needs;
// what it does not set carries over from the previous use.
struct FileDialogState {
    std::string title = "DF\xDC-Protokolldatei \xF6"
                        "ffnen";                    // "DFÜ-Protokolldatei öffnen"
    std::string filter = "Log File (*.log)|*.log;"; // "Name|patterns|Name|patterns"
    std::string defaultExt = "LOG";
    std::string fileName; // proposal in, choice out
    // Save: ask before an existing file is chosen. A use that appends turns
    // it off for its own call only.
    bool confirmOverwrite = true;
};

// A box with a text above a table: rows of cells under column captions, for
// results that would not read well as lines of a message box.
struct TableBoxContent {
    std::string title;
    std::string text;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    BoxIcon icon = BoxIcon::Information;
};

// Every modal box, input box and file picker of the program. Texts are
// Windows-1252. Production shows Qt dialogs; tests script the answers.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual BoxAnswer MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                                 BoxButtons buttons) = 0;
    // nullopt when the user cancels.
    virtual std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                                const std::string &proposal) = 0;
    // On acceptance the chosen path is stored in state.fileName and true is
    // returned; on cancel state stays as it was.
    virtual bool OpenFileDialog(FileDialogState &state) = 0;
    virtual bool SaveFileDialog(FileDialogState &state) = 0;
    // Shows `table` until the user closes it. Without a table of its own a
    // dialog shows the rows as lines of a message box (TableBoxText).
    virtual void TableBox(const TableBoxContent &table);
};

// The text of a table box as lines: the box's text, then one line a row,
// the cells with their column captions.
std::string TableBoxText(const TableBoxContent &table);

} // namespace quandel
