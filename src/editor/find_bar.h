#pragma once

#include "editor/text_search.h"

#include <QPalette>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QShortcut;

namespace quandel {

// The bar above the editor's text for finding and replacing, hidden until
// Ctrl+F (find) or Ctrl+H (find and replace) opens it. The field searches as
// it is typed; F3 or Enter goes to the next hit, Shift+F3 or Shift+Enter to
// the previous one, Escape closes the bar. The current hit is the editor's
// selection. The keys work while the focus is anywhere in `scope` (the
// editor's tab), so other tabs keep theirs.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(QPlainTextEdit &editor, QWidget &scope, QWidget *parent = nullptr);
    // A find-only bar (no replace row, no whole words) for a read-only pane
    // on a page that owns its keys: the page opens it with OpenFind(); F3,
    // Shift+F3 and Escape are the bar's only while the focus is inside it,
    // and closing hands the focus to `focusAfterClose`.
    static FindBar *ForReadOnlyPane(QPlainTextEdit &pane, QWidget &focusAfterClose,
                                    QWidget *parent);

    // Show the bar, the focus in its field, filled with the editor's
    // selection when that lies within one line.
    void OpenFind();
    void OpenReplace();
    // Closes the bar and gives the focus back to the editor.
    void CloseBar();

    // Select the next or previous hit, around the end when needed; false
    // when there is none.
    bool FindNext();
    bool FindPrevious();
    // Replaces the selected hit (if the selection is one) and selects the next.
    void ReplaceCurrent();
    // Replaces every hit as one step to undo; the count.
    int ReplaceAll();

    // The bar's last message ("Nicht gefunden", ...), empty when none.
    QString Note() const;
    bool NotFoundShown() const { return notFound_; }
    bool ReplaceRowShown() const;
    QLineEdit *findField() const { return txtFind_; }
    QLineEdit *replaceField() const { return txtReplace_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // `scope` null: the find-only bar, its keys bound to itself.
    FindBar(QPlainTextEdit &editor, QWidget *scope, QWidget &focusAfterClose, QWidget *parent);
    void Open(bool withReplace);
    void ShowQuietly();
    // Searches from `from` and selects the hit, or tells there is none.
    bool Find(SearchDirection direction, std::size_t from);
    void SearchAsTyped();
    void ShowNote(const QString &note, bool notFound = false);
    SearchOptions Options() const;
    // The editor's text with positions as in the document, kept until it changes.
    std::u16string_view Text();

    QPlainTextEdit &editor_;
    QWidget &focusAfterClose_;
    QLineEdit *txtFind_ = nullptr;
    QLineEdit *txtReplace_ = nullptr;
    QCheckBox *chkMatchCase_ = nullptr;
    QCheckBox *chkWholeWords_ = nullptr;
    QLabel *lblNote_ = nullptr;
    QWidget *replaceRow_ = nullptr;
    QShortcut *escape_ = nullptr;
    QPalette fieldPalette_;
    bool notFound_ = false;
    QString text_;
    bool textValid_ = false;
};

} // namespace quandel
