#include "app/status_panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace quandel {

StatusPanel::StatusPanel(const QString &key, const QString &text, const QString &tip,
                         QWidget *parent)
    : QLabel(text, parent) {
    setObjectName(key);
    setToolTip(tip);
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMargin(1);
}

void StatusPanel::setPicture(const QPixmap &picture, const QString &pictureName) {
    picture_ = picture;
    pictureName_ = pictureName;
    setIndent(picture.isNull() ? -1 : picture.width() + 6);
    updateGeometry();
    update();
}

void StatusPanel::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QLabel::mousePressEvent(event);
}

void StatusPanel::paintEvent(QPaintEvent *event) {
    QLabel::paintEvent(event);
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.drawPixmap(area.left() + 2, area.top() + (area.height() - picture_.height()) / 2,
                       picture_);
}

QSize StatusPanel::sizeHint() const {
    QSize s = QLabel::sizeHint();
    return {s.width() + (picture_.isNull() ? 0 : picture_.width() + 6), s.height()};
}

QSize StatusPanel::minimumSizeHint() const {
    return sizeHint();
}

namespace {

QPixmap Plug(const QColor &colour, bool joined) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour.darker(150), 1.5));
    p.setBrush(colour);
    // Two halves of a connector, touching when connected.
    const int gap = joined ? 0 : 3;
    p.drawRoundedRect(QRectF(1, 4, 6 - gap / 2.0, 8), 1.5, 1.5);
    p.drawRoundedRect(QRectF(9 + gap / 2.0, 4, 6 - gap / 2.0, 8), 1.5, 1.5);
    p.drawLine(QPointF(7, 8), QPointF(9, 8));
    return pm;
}

} // namespace

QPixmap ConnectedIcon() {
    return Plug(QColor(40, 170, 60), true);
}
QPixmap NotConnectedIcon() {
    return Plug(QColor(200, 50, 40), false);
}

QPixmap LogIcon() {
    // A sheet with lines and a red recording dot.
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 9, 13));
    for (int y = 4; y <= 11; y += 3)
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(9.5, y + 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QRectF(9, 9, 6, 6));
    return pm;
}

} // namespace quandel
