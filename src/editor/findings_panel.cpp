#include "editor/findings_panel.h"

#include "app/cp1252_codec.h"
#include "basictools/program_checks.h"
#include "editor/code_editor.h"

#include <QLabel>
#include <QListWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace quandel {

namespace {

constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;

// The stretch a mark underlines: from the column to the end of its word,
// at least one character.
int MarkLength(const QString &line, int column) {
    int end = column;
    while (end < line.size() && !line.at(end).isSpace())
        ++end;
    return std::max(1, end - column);
}

} // namespace

FindingsPanel::FindingsPanel(CodeEditor &editor, std::function<std::string()> text, QWidget *parent)
    : QWidget(parent), editor_(editor), text_(std::move(text)) {
    setObjectName(QStringLiteral("picHinweise"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(1);
    caption_ = new QLabel(QStringLiteral("Hinweise"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstHinweise"));
    list_->setMaximumHeight(list_->fontMetrics().height() * 5 + 8);
    layout->addWidget(caption_);
    layout->addWidget(list_);
    timer_.setSingleShot(true);
    timer_.setInterval(kPauseMs);
    connect(&timer_, &QTimer::timeout, this, &FindingsPanel::CheckNow);
    const auto go = [this](QListWidgetItem *item) {
        GoTo(item->data(kLineRole).toInt(), item->data(kColumnRole).toInt());
    };
    connect(list_, &QListWidget::itemClicked, this, go);
    connect(list_, &QListWidget::itemActivated, this, go);
}

void FindingsPanel::CheckNow() {
    timer_.stop();
    findings_ = CheckProgram(text_());
    Show();
}

void FindingsPanel::ShowExternal(int line, const QString &text) {
    externalLine_ = line;
    externalText_ = text;
    Show();
    GoTo(line, 0);
}

void FindingsPanel::Show() {
    list_->clear();
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    underline.setUnderlineColor(QColor(0xd0, 0x20, 0x20));
    const auto add = [&](int line, int column, const QString &text) {
        auto *item = new QListWidgetItem(QStringLiteral("Zeile %1: %2").arg(line).arg(text), list_);
        item->setData(kLineRole, line);
        item->setData(kColumnRole, column);
    };
    if (!externalText_.isEmpty())
        add(externalLine_, 0, externalText_);
    QTextDocument *document = editor_.document();
    for (const Finding &f : findings_) {
        add(f.line, f.column, FromCp1252(FindingSummary(f)));
        const QTextBlock block = document->findBlockByNumber(f.line - 1);
        if (!block.isValid())
            continue;
        const int column = std::min(f.column, std::max(0, int(block.length()) - 1));
        QTextEdit::ExtraSelection mark;
        mark.format = underline;
        mark.cursor = QTextCursor(block);
        mark.cursor.setPosition(block.position() + column);
        mark.cursor.setPosition(block.position() + column + MarkLength(block.text(), column),
                                QTextCursor::KeepAnchor);
        marks << mark;
    }
    editor_.SetMarks(marks);
    caption_->setText(findings_.empty() && externalText_.isEmpty()
                          ? QStringLiteral("Hinweise: keine")
                          : QStringLiteral("Hinweise: %1").arg(list_->count()));
}

void FindingsPanel::GoTo(int line, int column) {
    const QTextBlock block = editor_.document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::min(column, std::max(0, int(block.length()) - 1)));
    editor_.setTextCursor(cursor);
    editor_.centerCursor();
    editor_.setFocus(Qt::OtherFocusReason);
}

} // namespace quandel
