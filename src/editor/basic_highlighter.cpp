#include "editor/basic_highlighter.h"

#include <string>

namespace quandel {

namespace {

QTextCharFormat Format(const QColor &colour, bool bold = false, bool italic = false) {
    QTextCharFormat f;
    f.setForeground(colour);
    if (bold)
        f.setFontWeight(QFont::Bold);
    f.setFontItalic(italic);
    return f;
}

} // namespace

BasicHighlighter::BasicHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {
    formats_[std::size_t(SyntaxKind::LineNumber)] = Format(QColor(0x80, 0x50, 0x00), true);
    formats_[std::size_t(SyntaxKind::Keyword)] = Format(QColor(0x00, 0x30, 0xa0), true);
    formats_[std::size_t(SyntaxKind::String)] = Format(QColor(0xa0, 0x10, 0x10));
    formats_[std::size_t(SyntaxKind::Number)] = Format(QColor(0x00, 0x70, 0x70));
    formats_[std::size_t(SyntaxKind::Comment)] = Format(QColor(0x30, 0x80, 0x30), false, true);
    formats_[std::size_t(SyntaxKind::Remark)] = Format(QColor(0x30, 0x80, 0x30));
}

void BasicHighlighter::highlightBlock(const QString &text) {
    // The syntax rules look at ASCII only: any other character stands in as
    // '?', which keeps the positions those of the block.
    std::string line(std::size_t(text.size()), '?');
    for (qsizetype i = 0; i < text.size(); ++i)
        if (const char16_t c = text.at(i).unicode(); c < 128)
            line[std::size_t(i)] = char(c);
    for (const SyntaxSpan &span : BasicLineSpans(line))
        setFormat(int(span.start), int(span.length), FormatFor(span.kind));
}

} // namespace quandel
