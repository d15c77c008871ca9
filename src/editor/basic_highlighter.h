#pragma once

#include "basictools/basic_syntax.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

namespace quandel {

// Colours a document as the controller's BASIC: line numbers, keywords,
// strings, numbers and comments. What shows as a comment is what the
// download strips. Only formats change, never the text.
class BasicHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit BasicHighlighter(QTextDocument *document);

    const QTextCharFormat &FormatFor(SyntaxKind kind) const {
        return formats_[static_cast<std::size_t>(kind)];
    }

protected:
    void highlightBlock(const QString &text) override;

private:
    std::array<QTextCharFormat, 6> formats_;
};

} // namespace quandel
