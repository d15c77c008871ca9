#pragma once

#include <QMimeData>
#include <QPlainTextEdit>

namespace quandel {

// Qt 6.4 crashes when an empty clipboard is pasted into an editable
// QPlainTextEdit (X11 with nothing offered): refuse such a paste.
class SafePlainTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override {
        return source && !source->formats().isEmpty() &&
               QPlainTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData *source) override {
        if (source && !source->formats().isEmpty())
            QPlainTextEdit::insertFromMimeData(source);
    }
};

} // namespace quandel
