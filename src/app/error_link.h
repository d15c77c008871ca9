#pragma once

#include "terminal/controller_error.h"

#include <QObject>
#include <functional>

class QPlainTextEdit;

namespace quandel {

// Makes the controller's error reports in the terminal pane links: the
// pointer turns into a hand over such a line, and a double-click on it
// hands the report on.
class ErrorLink : public QObject {
    Q_OBJECT
public:
    ErrorLink(QPlainTextEdit &pane, std::function<void(const ControllerError &)> open);

    // The report on the pane's line at `viewportPos`, if that line is one.
    std::optional<ControllerError> ErrorAt(const QPoint &viewportPos) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit &pane_;
    // Kept: the filter sees the viewport's last events while the pane is
    // being destroyed, when the pane can no longer be asked for it.
    QWidget *viewport_;
    std::function<void(const ControllerError &)> open_;
};

} // namespace quandel
