#pragma once

#include "editor/editor_document.h"

#include <QWidget>

class QAction;
class QPlainTextEdit;
class QToolBar;

namespace quandel {

class BasicHighlighter;
class CodeEditor;
class FindingsPanel;
class FindBar;
class UserDialogs;
struct FileDialogState;
struct SharedFlags;

// The "Editor" tab: the toolbar `tbrEditor` over the text pane `txtEdit`.
// It translates the toolbar and the pane's changes into calls of its
// EditorDocument and shows the document's state.
class EditorPane : public QWidget, private EditorTextView {
    Q_OBJECT
public:
    // `openLog` is the main window's shared file dialog state.
    EditorPane(UserDialogs &dialogs, FileDialogState &openLog, SharedFlags &flags,
               QWidget *parent = nullptr);
    ~EditorPane() override;

    EditorDocument &Document() { return document_; }
    bool EditorModified() const { return document_.EditorModified(); }
    // The close request's question; false when the window must stay open.
    bool SaveBeforeClose() { return document_.SaveBeforeClose(); }

    QToolBar *toolbar() const { return tbrEditor_; }
    QPlainTextEdit *textPane() const;
    CodeEditor *codeEditor() const { return txtEdit_; }
    BasicHighlighter *highlighter() const { return highlighter_; }
    FindingsPanel *findings() const { return findings_; }

    // "btnDownload": saves a changed or unnamed text (asking for a name when
    // it has none), then asks for the download of its file.
    void DownloadCommand();
    FindBar *findBar() const { return findBar_; }

    // Puts the cursor at the start of the line that carries BASIC line
    // number `number` and scrolls it into view; false (and the cursor stays)
    // when the text has no such line.
    bool GoToBasicLine(long number);

signals:
    // The main window's caption: "KAVOLT Quandel" or "EDITOR - " + path.
    void captionChanged(const QString &caption);
    // The file the editor holds is to go to the controller.
    void downloadRequested(const QString &path);

private:
    // EditorTextView
    void SetEditorText(const std::string &text) override;
    Encoded GetEditorText() const override;
    void SetCaption(const std::string &caption) override;
    void SetBusy(bool busy) override;

    QToolBar *tbrEditor_ = nullptr;
    CodeEditor *txtEdit_ = nullptr;
    BasicHighlighter *highlighter_ = nullptr;
    FindingsPanel *findings_ = nullptr;
    FindBar *findBar_ = nullptr; // find and replace, shown over txtEdit
    int shownRevision_ = -1;     // the document's revision the last change came with
    EditorDocument document_;
};

} // namespace quandel
