#include "app/error_link.h"

#include "app/cp1252_codec.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace quandel {

ErrorLink::ErrorLink(QPlainTextEdit &pane, std::function<void(const ControllerError &)> open)
    : QObject(&pane), pane_(pane), viewport_(pane.viewport()), open_(std::move(open)) {
    viewport_->setMouseTracking(true);
    viewport_->installEventFilter(this);
}

std::optional<ControllerError> ErrorLink::ErrorAt(const QPoint &viewportPos) const {
    const QTextBlock block = pane_.cursorForPosition(viewportPos).block();
    return ParseControllerError(ToCp1252(block.text()));
}

bool ErrorLink::eventFilter(QObject *watched, QEvent *event) {
    if (watched != viewport_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (ErrorAt(mouse->position().toPoint()))
            viewport_->setCursor(Qt::PointingHandCursor);
        else
            viewport_->setCursor(Qt::IBeamCursor);
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (const auto error = ErrorAt(mouse->position().toPoint())) {
            open_(*error);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quandel
