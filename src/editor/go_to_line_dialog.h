#pragma once

#include "editor/go_to_line.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace quandel {

// "Gehe zu Zeile": a number, read as a line of the text or as a BASIC line
// number. A number that leads nowhere is said in the dialog, which stays
// open for another one.
class GoToLineDialog : public QDialog {
    Q_OBJECT
public:
    // `lines` is the text (Windows-1252), `currentLine` the cursor's, from 0.
    GoToLineDialog(std::vector<std::string> lines, int currentLine, QWidget *parent = nullptr);

    // The line to go to, from 0, once the dialog was accepted; else -1.
    int TargetLine() const { return target_; }
    QString Message() const;

    void accept() override;

private:
    std::vector<std::string> lines_;
    QLineEdit *txtLine_ = nullptr;
    QRadioButton *optFileLine_ = nullptr;
    QRadioButton *optBasicLine_ = nullptr;
    QLabel *lblMessage_ = nullptr;
    int target_ = -1;
};

// The editor's lines as the lookups read them.
std::vector<std::string> EditorLines(const QPlainTextEdit &editor);
// Puts the cursor at the start of line `index` (from 0) and scrolls it into view.
void ShowEditorLine(QPlainTextEdit &editor, int index);
// Asks with the dialog and goes there; false when it was cancelled.
bool RunGoToLineDialog(QPlainTextEdit &editor, QWidget *parent);

} // namespace quandel
