#include "editor/find_bar.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace quandel {

namespace {

std::u16string_view View(const QString &text) {
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

QShortcut *Key(QWidget &scope, const QKeySequence &keys, std::function<void()> action) {
    auto *shortcut = new QShortcut(keys, &scope);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &scope, std::move(action));
    return shortcut;
}

QToolButton *ArrowButton(const char *name, Qt::ArrowType arrow, const QString &tip,
                         QWidget *parent) {
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

FindBar::FindBar(QPlainTextEdit &editor, QWidget &scope, QWidget *parent)
    : FindBar(editor, &scope, editor, parent) {}

FindBar *FindBar::ForReadOnlyPane(QPlainTextEdit &pane, QWidget &focusAfterClose, QWidget *parent) {
    return new FindBar(pane, nullptr, focusAfterClose, parent);
}

FindBar::FindBar(QPlainTextEdit &editor, QWidget *scope, QWidget &focusAfterClose, QWidget *parent)
    : QWidget(parent), editor_(editor), focusAfterClose_(focusAfterClose) {
    setObjectName(QStringLiteral("picFindBar"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 2, 0, 2);
    rows->setSpacing(2);

    auto *findRow = new QHBoxLayout;
    auto *findLabel = new QLabel(QStringLiteral("Suchen:"), this);
    txtFind_ = new QLineEdit(this);
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    txtFind_->setClearButtonEnabled(true);
    findLabel->setBuddy(txtFind_);
    fieldPalette_ = txtFind_->palette();
    QToolButton *previous = ArrowButton("btnFindPrevious", Qt::UpArrow,
                                        QStringLiteral("Vorheriger Treffer (Umschalt+F3)"), this);
    QToolButton *next =
        ArrowButton("btnFindNext", Qt::DownArrow, QStringLiteral("Nächster Treffer (F3)"), this);
    chkMatchCase_ = new QCheckBox(QStringLiteral("Groß-/Kleinschreibung"), this);
    chkMatchCase_->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWords_ = new QCheckBox(QStringLiteral("Ganze Wörter"), this);
    chkWholeWords_->setObjectName(QStringLiteral("chkWholeWords"));
    lblNote_ = new QLabel(this);
    lblNote_->setObjectName(QStringLiteral("lblFindNote"));
    // A note's length must not push the field and boxes about.
    lblNote_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblNote_->setWordWrap(true);
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("btnFindClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(QStringLiteral("Schließen (Esc)"));
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    findRow->addWidget(findLabel);
    findRow->addWidget(txtFind_);
    findRow->addWidget(previous);
    findRow->addWidget(next);
    findRow->addWidget(chkMatchCase_);
    findRow->addWidget(chkWholeWords_);
    findRow->addWidget(lblNote_, 1);
    findRow->addWidget(close);
    rows->addLayout(findRow);

    replaceRow_ = new QWidget(this);
    auto *replaceRow = new QHBoxLayout(replaceRow_);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    auto *replaceLabel = new QLabel(QStringLiteral("Ersetzen durch:"), replaceRow_);
    txtReplace_ = new QLineEdit(replaceRow_);
    txtReplace_->setObjectName(QStringLiteral("txtReplace"));
    replaceLabel->setBuddy(txtReplace_);
    auto *replace = new QPushButton(QStringLiteral("Ersetzen"), replaceRow_);
    replace->setObjectName(QStringLiteral("btnReplace"));
    auto *replaceAll = new QPushButton(QStringLiteral("Alle ersetzen"), replaceRow_);
    replaceAll->setObjectName(QStringLiteral("btnReplaceAll"));
    for (QPushButton *button : {replace, replaceAll})
        button->setAutoDefault(false);
    replaceRow->addWidget(replaceLabel);
    replaceRow->addWidget(txtReplace_);
    replaceRow->addWidget(replace);
    replaceRow->addWidget(replaceAll);
    replaceRow->addStretch(1);
    rows->addWidget(replaceRow_);
    // Both fields one under the other, wide enough for a line's statement.
    const int labelWidth =
        std::max(findLabel->sizeHint().width(), replaceLabel->sizeHint().width());
    for (QLabel *label : {findLabel, replaceLabel})
        label->setFixedWidth(labelWidth);
    const int fieldWidth = txtFind_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 20;
    for (QLineEdit *field : {txtFind_, txtReplace_})
        field->setFixedWidth(fieldWidth);

    txtFind_->installEventFilter(this);
    txtReplace_->installEventFilter(this);
    connect(txtFind_, &QLineEdit::textEdited, this, [this] { SearchAsTyped(); });
    for (QCheckBox *box : {chkMatchCase_, chkWholeWords_})
        connect(box, &QCheckBox::toggled, this, [this] { SearchAsTyped(); });
    connect(previous, &QToolButton::clicked, this, [this] { FindPrevious(); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(); });
    connect(close, &QToolButton::clicked, this, [this] { CloseBar(); });
    connect(replace, &QPushButton::clicked, this, [this] { ReplaceCurrent(); });
    connect(replaceAll, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(editor_.document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if (removed || added)
                    textValid_ = false;
            });

    if (scope) {
        Key(*scope, QKeySequence(Qt::CTRL | Qt::Key_F), [this] { OpenFind(); });
        Key(*scope, QKeySequence(Qt::CTRL | Qt::Key_H), [this] { OpenReplace(); });
    } else {
        chkWholeWords_->hide();
    }
    QWidget &keys = scope ? *scope : *this;
    // F3 without a search text asks for one.
    Key(keys, QKeySequence(Qt::Key_F3), [this] {
        if (txtFind_->text().isEmpty())
            OpenFind();
        else
            FindNext();
    });
    Key(keys, QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] {
        if (txtFind_->text().isEmpty())
            OpenFind();
        else
            FindPrevious();
    });
    escape_ = Key(keys, QKeySequence(Qt::Key_Escape), [this] { CloseBar(); });
    escape_->setEnabled(false);
    hide();
}

void FindBar::OpenFind() {
    Open(false);
}

void FindBar::OpenReplace() {
    Open(true);
}

void FindBar::Open(bool withReplace) {
    const QTextCursor cursor = editor_.textCursor();
    const QString selected = cursor.selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        txtFind_->setText(selected);
    replaceRow_->setVisible(withReplace);
    show();
    escape_->setEnabled(true);
    txtFind_->setFocus(Qt::ShortcutFocusReason);
    txtFind_->selectAll();
    ShowNote(QString());
    if (!txtFind_->text().isEmpty())
        SearchAsTyped();
}

void FindBar::ShowQuietly() {
    // F3 with the bar closed: its notes must show, the focus stays.
    if (isHidden()) {
        show();
        escape_->setEnabled(true);
    }
}

void FindBar::CloseBar() {
    hide();
    escape_->setEnabled(false);
    focusAfterClose_.setFocus(Qt::ShortcutFocusReason);
}

bool FindBar::ReplaceRowShown() const {
    return replaceRow_->isVisibleTo(this);
}

QString FindBar::Note() const {
    return lblNote_->text();
}

SearchOptions FindBar::Options() const {
    return {chkMatchCase_->isChecked(), chkWholeWords_->isChecked()};
}

std::u16string_view FindBar::Text() {
    if (!textValid_) {
        // The raw text keeps one character per document position; its
        // paragraph separators bound words like any line end.
        text_ = editor_.document()->toRawText();
        textValid_ = true;
    }
    return View(text_);
}

void FindBar::ShowNote(const QString &note, bool notFound) {
    lblNote_->setText(note);
    lblNote_->setToolTip(note); // for a window too narrow for all of it
    if (notFound == notFound_)
        return;
    notFound_ = notFound;
    QPalette palette = fieldPalette_;
    if (notFound)
        palette.setColor(QPalette::Base, QColor(0xff, 0xd0, 0xd0));
    txtFind_->setPalette(palette);
}

bool FindBar::Find(SearchDirection direction, std::size_t from) {
    const QString needle = txtFind_->text();
    if (needle.isEmpty()) {
        ShowNote(QString());
        return false;
    }
    const SearchResult result = FindText(Text(), View(needle), from, direction, Options());
    QTextCursor cursor = editor_.textCursor();
    if (!result.found) {
        // Stay where the search began, so that a corrected text starts there.
        cursor.setPosition(cursor.selectionStart());
        editor_.setTextCursor(cursor);
        ShowNote(QStringLiteral("Nicht gefunden"), true);
        return false;
    }
    cursor.setPosition(int(result.hit.position));
    cursor.setPosition(int(result.hit.position + std::size_t(needle.size())),
                       QTextCursor::KeepAnchor);
    editor_.setTextCursor(cursor);
    editor_.ensureCursorVisible();
    if (!result.hit.wrapped)
        ShowNote(QString());
    else if (direction == SearchDirection::Forward)
        ShowNote(QStringLiteral("Am Ende angekommen, vom Anfang fortgesetzt"));
    else
        ShowNote(QStringLiteral("Am Anfang angekommen, vom Ende fortgesetzt"));
    return true;
}

void FindBar::SearchAsTyped() {
    // From the current hit's start: a longer text that still matches there stays.
    Find(SearchDirection::Forward, std::size_t(editor_.textCursor().selectionStart()));
}

bool FindBar::FindNext() {
    ShowQuietly();
    return Find(SearchDirection::Forward, std::size_t(editor_.textCursor().selectionEnd()));
}

bool FindBar::FindPrevious() {
    ShowQuietly();
    return Find(SearchDirection::Backward, std::size_t(editor_.textCursor().selectionStart()));
}

void FindBar::ReplaceCurrent() {
    if (editor_.isReadOnly())
        return;
    const QString needle = txtFind_->text();
    QTextCursor cursor = editor_.textCursor();
    if (cursor.hasSelection() && cursor.selectionEnd() - cursor.selectionStart() == needle.size() &&
        MatchesAt(Text(), View(needle), std::size_t(cursor.selectionStart()), Options())) {
        cursor.insertText(txtReplace_->text());
        editor_.setTextCursor(cursor);
    }
    FindNext();
}

int FindBar::ReplaceAll() {
    if (editor_.isReadOnly())
        return 0;
    const QString needle = txtFind_->text();
    const std::vector<std::size_t> hits = FindAll(Text(), View(needle), Options());
    if (hits.empty()) {
        ShowNote(needle.isEmpty() ? QString() : QStringLiteral("Nicht gefunden"),
                 !needle.isEmpty());
        return 0;
    }
    const QString replacement = txtReplace_->text();
    QTextCursor cursor(editor_.document());
    cursor.beginEditBlock();
    // From the end, so that the positions still ahead stay valid.
    for (auto hit = hits.rbegin(); hit != hits.rend(); ++hit) {
        cursor.setPosition(int(*hit));
        cursor.setPosition(int(*hit + std::size_t(needle.size())), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
    const int count = int(hits.size());
    ShowNote(count == 1 ? QStringLiteral("1 Stelle ersetzt")
                        : QStringLiteral("%1 Stellen ersetzt").arg(count));
    return count;
}

bool FindBar::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == txtReplace_)
                ReplaceCurrent();
            else if (key->modifiers() & Qt::ShiftModifier)
                FindPrevious();
            else
                FindNext();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quandel
