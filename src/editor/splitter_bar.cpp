#include "editor/splitter_bar.h"

#include "core/twips.h"
#include "editor/navigator_pane.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <utility>

namespace quandel {

SplitterHandle::SplitterHandle(const QString &name, Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent) {
    setObjectName(name);
    // A vertical bar is dragged sideways, a horizontal one up and down.
    setCursor(orientation == Qt::Vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
}

void SplitterHandle::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit pressed(event->position().toPoint());
}

void SplitterHandle::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() & Qt::LeftButton)
        emit moved(event->position().toPoint());
}

void SplitterHandle::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit released(event->position().toPoint());
}

SplitterBar::SplitterBar(const QString &name, QWidget *parent) : QWidget(parent) {
    setObjectName(name);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(p);
    setAttribute(Qt::WA_TransparentForMouseEvents); // a click on the bar does nothing
    hide();
}

namespace {

// The label keeps its fixed place; on a screen whose font is wider than the
// place was made for, the font gets smaller instead of the text being cut.
void FitFontToWidth(QLabel *label) {
    QFont font = label->parentWidget()->font();
    const int room = label->contentsRect().width();
    while (font.pointSizeF() > 6.0 && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

} // namespace

WindowLayoutHost::WindowLayoutHost(const LayoutWidgets &widgets, QObject *parent)
    : QObject(parent), w_(widgets) {
    // The rules place the pane's controls themselves.
    delete w_.picLeft->layout();
    imgSplitter_ = new SplitterHandle(QStringLiteral("imgSplitter"), Qt::Vertical, w_.client);
    imgSplitter_->lower(); // where it overlaps the tab control, the tab control wins
    picSplitter_ = new SplitterBar(QStringLiteral("picSplitter"), w_.client);
    imgQuer_ = new SplitterHandle(QStringLiteral("imgQuer"), Qt::Horizontal, w_.picLeft);
    picQuer_ = new SplitterBar(QStringLiteral("picQuer"), w_.picLeft);

    connect(imgSplitter_, &SplitterHandle::pressed, this, [this] {
        ReadWindow();
        layout_.SplitterMouseDown();
        Apply();
    });
    connect(imgSplitter_, &SplitterHandle::moved, this, [this](QPoint pos) {
        layout_.SplitterMouseMove(Twips(pos.x()));
        Apply();
    });
    connect(imgSplitter_, &SplitterHandle::released, this, [this] {
        layout_.SplitterMouseUp();
        Apply();
    });
    connect(imgQuer_, &SplitterHandle::pressed, this, [this] {
        ReadWindow();
        layout_.QuerMouseDown();
        Apply();
    });
    connect(imgQuer_, &SplitterHandle::moved, this, [this](QPoint pos) {
        layout_.QuerMouseMove(Twips(pos.y()));
        Apply();
    });
    connect(imgQuer_, &SplitterHandle::released, this, [this] {
        layout_.QuerMouseUp();
        Apply();
    });

    w_.window->setMinimumSize(MinimumWindowSize());
    w_.client->installEventFilter(this);
}

double WindowLayoutHost::Dpi() const {
    const QScreen *screen = w_.window->screen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

int WindowLayoutHost::Twips(int pixels) const {
    return PixelsToTwips(pixels, Dpi());
}

QRect WindowLayoutHost::Pixels(const TwipRect &r) const {
    const double dpi = Dpi();
    return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi),
            TwipsToPixels(r.height, dpi)};
}

QSize WindowLayoutHost::MinimumWindowSize() const {
    return {TwipsToPixels(kMinWindowWidth, Dpi()), TwipsToPixels(kMinWindowHeight, Dpi())};
}

void WindowLayoutHost::ReadWindow() {
    const int statusPx = w_.statusBar && w_.statusBar->isVisible() ? w_.statusBar->height() : 0;
    WindowMetrics m;
    m.outerWidth = Twips(w_.window->frameGeometry().width());
    m.clientWidth = Twips(w_.client->width());
    m.clientHeight = Twips(w_.client->height() + statusPx);
    m.statusBarHeight = Twips(statusPx);
    m.minimised = w_.window->isMinimized();
    layout_.SetWindow(m);

    const QListWidget *dir = w_.picLeft->directoryList();
    const int rowPx = dir->count() > 0 ? dir->sizeHintForRow(0) : dir->fontMetrics().height();
    layout_.dirRowHeight = rowPx > 0 ? Twips(rowPx) : 0;
    layout_.dirFrame = Twips(2 * dir->frameWidth());
    if (w_.tbrEditor)
        layout_.tbrEditorHeight = Twips(w_.tbrEditor->sizeHint().height());
}

void WindowLayoutHost::Apply() {
    NavigatorPane *pane = w_.picLeft;
    QRect left = Pixels(layout_.picLeft);
    left.setHeight(w_.client->height()); // exactly the client area, whatever the rounding
    pane->setGeometry(left);
    pane->engineeringLabel()->setGeometry(Pixels(layout_.lblEngineering));
    FitFontToWidth(pane->engineeringLabel());
    pane->titleLabel()->setGeometry(Pixels(layout_.lblDatei));
    pane->driveList()->setGeometry(Pixels(layout_.drvLaufwerk));
    pane->directoryList()->setGeometry(Pixels(layout_.dirVerzeichnis));
    imgQuer_->setGeometry(Pixels(layout_.imgQuer));
    pane->fileList()->setGeometry(Pixels(layout_.filDateien));
    picQuer_->setGeometry(Pixels(layout_.picQuer));
    picQuer_->setVisible(layout_.picQuerVisible);
    if (layout_.picQuerVisible)
        picQuer_->raise();

    imgSplitter_->setGeometry(Pixels(layout_.imgSplitter));
    picSplitter_->setGeometry(Pixels(layout_.picSplitter));
    picSplitter_->setVisible(layout_.picSplitterVisible);
    if (layout_.picSplitterVisible)
        picSplitter_->raise();
    w_.sstMain->setGeometry(Pixels(layout_.sstMain));
    // The panes' pages place them; the rules set how large they may become,
    // and a page too small for that squeezes them instead of its other controls.
    for (auto [pane, rect] :
         {std::pair{w_.rtbTerm, layout_.rtbTerm}, std::pair{w_.txtEdit, layout_.txtEdit}})
        if (pane)
            pane->setMaximumSize(Pixels(rect).size());
}

void WindowLayoutHost::StartupPlacement() {
    ReadWindow();
    layout_.StartupPlacement();
    layout_.WindowResized();
    Apply();
}

void WindowLayoutHost::WindowResized() {
    ReadWindow();
    layout_.WindowResized();
    Apply();
}

bool WindowLayoutHost::eventFilter(QObject *watched, QEvent *event) {
    if (watched == w_.client && event->type() == QEvent::Resize)
        WindowResized();
    return QObject::eventFilter(watched, event);
}

} // namespace quandel
