#pragma once

#include "app/safe_plain_text_edit.h"

#include <QList>
#include <QTextEdit>

namespace quandel {

// The editor's text pane: a plain text edit with a gutter of line numbers
// on its left and the cursor's line marked in both.
class CodeEditor : public SafePlainTextEdit {
    Q_OBJECT
public:
    explicit CodeEditor(QWidget *parent = nullptr);

    // The gutter's width for the document's line count: room for its digits.
    int GutterWidth() const;
    QWidget *Gutter() const { return gutter_; }
    // The cursor as the status line shows it, both counted from 1; the
    // column counts characters of the line.
    int CursorLine() const { return textCursor().blockNumber() + 1; }
    int CursorColumn() const { return textCursor().positionInBlock() + 1; }

    // Marks shown under the text besides the cursor's line (findings).
    void SetMarks(QList<QTextEdit::ExtraSelection> marks);

    void PaintGutter(QPaintEvent *event);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void UpdateGutterWidth();
    void UpdateGutter(const QRect &rect, int dy);
    void ShowCurrentLine();

    QWidget *gutter_;
    QList<QTextEdit::ExtraSelection> marks_;
};

} // namespace quandel
