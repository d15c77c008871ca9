#pragma once

#include <QLabel>
#include <QPixmap>

namespace quandel {

// A status bar panel with a text and an optional picture left of it.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit StatusPanel(const QString &key, const QString &text, const QString &tip,
                         QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture, const QString &pictureName);
    // The object name of the image shown ("imgConnected", "imgNotConnected"),
    // empty when none.
    QString pictureName() const { return pictureName_; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    QPixmap picture_;
    QString pictureName_;
};

// The two images of the "Status" panel, drawn rather than loaded.
QPixmap ConnectedIcon();
QPixmap NotConnectedIcon();
// The read-out mark of the "Meldung" panel.
QPixmap LogIcon();

} // namespace quandel
