#pragma once

#include "basictools/line_model.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QLabel;

namespace quandel {

class CodeEditor;

// "Hinweise": the program checks on the editor's text, a moment after the
// last keystroke. Each finding is underlined in the text and listed; a click
// on an entry puts the cursor there. Nothing here changes the text.
class FindingsPanel : public QWidget {
    Q_OBJECT
public:
    // `text` gives the editor's text as Windows-1252 bytes.
    FindingsPanel(CodeEditor &editor, std::function<std::string()> text, QWidget *parent = nullptr);

    // The text changed: check again once typing pauses.
    void Schedule() { timer_.start(); }
    // Check now (a file was loaded).
    void CheckNow();
    // An entry from elsewhere (the controller's error) heads the list, and
    // the cursor goes to its line; another text loaded drops it.
    void ShowExternal(int line, const QString &text);
    void ClearExternal() { externalText_.clear(); }

    const std::vector<Finding> &Findings() const { return findings_; }
    QListWidget *list() const { return list_; }
    static constexpr int kPauseMs = 300;

private:
    void Show();
    void GoTo(int line, int column);

    CodeEditor &editor_;
    std::function<std::string()> text_;
    QTimer timer_;
    QLabel *caption_;
    QListWidget *list_;
    std::vector<Finding> findings_;
    int externalLine_ = 0;
    QString externalText_;
};

} // namespace quandel
