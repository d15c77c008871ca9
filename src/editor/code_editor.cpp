#include "editor/code_editor.h"

#include <QPainter>
#include <QTextBlock>

namespace quandel {

namespace {

class GutterWidget : public QWidget {
public:
    explicit GutterWidget(CodeEditor *editor) : QWidget(editor), editor_(editor) {
        setObjectName(QStringLiteral("picLineNumbers"));
    }
    QSize sizeHint() const override { return {editor_->GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent *event) override { editor_->PaintGutter(event); }

private:
    CodeEditor *editor_;
};

} // namespace

CodeEditor::CodeEditor(QWidget *parent)
    : SafePlainTextEdit(parent), gutter_(new GutterWidget(this)) {
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this,
            [this](const QRect &rect, int dy) { UpdateGutter(rect, dy); });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        ShowCurrentLine();
        gutter_->update();
    });
    UpdateGutterWidth();
    ShowCurrentLine();
}

int CodeEditor::GutterWidth() const {
    int digits = 1;
    for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10)
        ++digits;
    digits = std::max(digits, 3); // no jump while a short file grows
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void CodeEditor::UpdateGutterWidth() {
    setViewportMargins(GutterWidth(), 0, 0, 0);
}

void CodeEditor::UpdateGutter(const QRect &rect, int dy) {
    if (dy)
        gutter_->scroll(0, dy);
    else
        gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        UpdateGutterWidth();
}

void CodeEditor::resizeEvent(QResizeEvent *event) {
    SafePlainTextEdit::resizeEvent(event);
    const QRect inner = contentsRect();
    gutter_->setGeometry(QRect(inner.left(), inner.top(), GutterWidth(), inner.height()));
}

void CodeEditor::changeEvent(QEvent *event) {
    SafePlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateGutterWidth();
}

void CodeEditor::SetMarks(QList<QTextEdit::ExtraSelection> marks) {
    marks_ = std::move(marks);
    ShowCurrentLine();
}

void CodeEditor::ShowCurrentLine() {
    QList<QTextEdit::ExtraSelection> all;
    QTextEdit::ExtraSelection line;
    line.format.setBackground(QColor(0xff, 0xf8, 0xd8));
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    all << line << marks_;
    setExtraSelections(all);
}

void CodeEditor::PaintGutter(QPaintEvent *event) {
    QPainter painter(gutter_);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int width = gutter_->width() - 4;
    const int lineHeight = fontMetrics().height();
    QFont bold = font();
    bold.setBold(true);
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            const bool here = block.blockNumber() == current;
            painter.setFont(here ? bold : font());
            painter.setPen(here ? palette().color(QPalette::Text)
                                : palette().color(QPalette::PlaceholderText));
            painter.drawText(0, top, width, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

} // namespace quandel
