#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quandel {

class UserDialogs;
struct FileDialogState;
struct SharedFlags;

// The editor pane as the document sees it. Texts are Windows-1252; lines are
// separated by "\n" (the pane shows lines, not line-end characters).
class EditorTextView {
public:
    virtual ~EditorTextView() = default;

    // Replaces the whole text; the pane reports the change like any edit.
    virtual void SetEditorText(const std::string &text) = 0;

    struct Encoded {
        bool ok = true;   // false: a character Windows-1252 cannot hold
        std::string text; // the text, lines separated by "\n"
        int badLine = 0;  // 1-based line of the first such character
    };
    virtual Encoded GetEditorText() const = 0;

    // The main window's caption.
    virtual void SetCaption(const std::string &caption) = 0;
    // The hourglass while a file is written.
    virtual void SetBusy(bool busy) = 0;
};

// The main window's caption while the editor names no file.
inline constexpr const char *kMainCaption = "KAVOLT Quandel";
// Larger files are not loaded: the pane would become unusable.
inline constexpr std::uintmax_t kMaxEditorFileBytes = 8u * 1024u * 1024u;

// A file's bytes split into the pane's text and the line ends found in it.
struct SplitText {
    std::string text;              // lines separated by "\n"
    std::vector<std::string> ends; // "\r\n", "\r" or "\n", one per separator
};
// A line ends at CR LF, CR or LF.
SplitText SplitLineEnds(const std::string &bytes);
// Puts the line ends back. While the text has as many line breaks as the file
// had, each line gets its own end back; after lines were added or removed
// every line gets the file's most frequent end (CR LF for a new text).
std::string JoinLineEnds(const std::string &text, const std::vector<std::string> &ends);

// The text editor: open, save and the modified flag. Files are read and
// written as raw Windows-1252 bytes, so a file opened and saved again keeps
// every byte (plus the CR LF that a save adds at the end).
class EditorDocument {
public:
    EditorDocument(EditorTextView &view, UserDialogs &dialogs, FileDialogState &openLog,
                   SharedFlags &flags);

    // Every change of the pane's text.
    void TextChanged() { modified_ = true; }
    bool EditorModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The file the text belongs to; empty for a new text.
    const std::string &FileName() const { return fileName_; }
    // "KAVOLT Quandel", or "EDITOR - " + the file's path in capitals.
    const std::string &Caption() const { return caption_; }

    // "btnNew": an empty, unnamed text. An empty pane stays as it is.
    void New();
    // "btnOpen": asks for a file and loads it.
    bool OpenTextFile();
    // Loads `path` (its bytes, not a copy of what another editor shows).
    bool OpenFile(const std::string &path);
    // The same after the question about a changed text; false when the
    // user keeps the text or the file cannot be loaded.
    bool OpenAfterAsking(const std::string &path) { return AskToSave() && OpenFile(path); }
    // Writes the text plus CR LF to `fileName`; false after a failure box.
    // Neither the flag nor the caption change.
    bool FileSaveAs(const std::string &fileName);
    // The save dialog proposing `proposal`; "" when cancelled.
    std::string GetFileName(const std::string &proposal);
    // "btnSave": under the current name, asking for one when there is none.
    bool Save();
    // "btnSaveAs": under a name chosen in the save dialog.
    bool SaveAs();
    // The question of the close request. False when the window must stay
    // open: Cancel, a cancelled save dialog or a failed write.
    bool SaveBeforeClose();

private:
    bool SaveUnder(const std::string &name);
    bool AskToSave(); // false: do not go on
    void SetCaption(std::string caption);

    EditorTextView &view_;
    UserDialogs &dialogs_;
    FileDialogState &openLog_;
    SharedFlags &flags_;
    bool modified_ = false;
    std::string fileName_;
    std::string caption_ = kMainCaption;
    std::vector<std::string> lineEnds_;
};

} // namespace quandel
