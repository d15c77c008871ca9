#pragma once

#include "editor/window_layout.h"

#include <QObject>
#include <QWidget>

namespace quandel {

class NavigatorPane;

// The invisible handle of a splitter (`imgSplitter`, `imgQuer`): it shows the
// resize cursor and reports the left button's press, moves and release with
// the mouse position relative to itself, in pixels.
class SplitterHandle : public QWidget {
    Q_OBJECT
public:
    SplitterHandle(const QString &name, Qt::Orientation orientation, QWidget *parent);

signals:
    void pressed(QPoint pos);
    void moved(QPoint pos);
    void released(QPoint pos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The grey bar (`picSplitter`, `picQuer`) shown while a splitter is dragged.
class SplitterBar : public QWidget {
    Q_OBJECT
public:
    SplitterBar(const QString &name, QWidget *parent);
};

// The controls the window layout places. `client` is the area the rules call
// the client area (the main window's central widget); the navigator and the
// tab control must be its children without a layout of their own choosing.
struct LayoutWidgets {
    QWidget *window = nullptr; // the main window: outer width, minimised
    QWidget *client = nullptr; // the central widget
    NavigatorPane *picLeft = nullptr;
    QWidget *sstMain = nullptr;
    QWidget *statusBar = nullptr; // optional: below the client, counted as its part
    // Optional: the panes on the tabs, laid out by their pages within the
    // sizes the rules give them.
    QWidget *rtbTerm = nullptr;
    QWidget *txtEdit = nullptr;
    QWidget *tbrEditor = nullptr;
};

// Applies the geometry rules of WindowLayout to the real controls: places the
// left pane, its lists and the tab control whenever the client area changes
// its size, and runs both splitters. Owns the handles and grey bars.
class WindowLayoutHost : public QObject {
    Q_OBJECT
public:
    explicit WindowLayoutHost(const LayoutWidgets &widgets, QObject *parent = nullptr);

    WindowLayout &Layout() { return layout_; }
    // Step 9 of the start-up: places the handles and lays the window out.
    void StartupPlacement();
    // Reads the window's size and applies the resize rules.
    void WindowResized();
    // The smallest size the main window should allow, in pixels.
    QSize MinimumWindowSize() const;

    SplitterHandle *splitterHandle() const { return imgSplitter_; }
    SplitterHandle *querHandle() const { return imgQuer_; }
    SplitterBar *splitterBar() const { return picSplitter_; }
    SplitterBar *querBar() const { return picQuer_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    double Dpi() const;
    int Twips(int pixels) const;
    QRect Pixels(const TwipRect &r) const;
    void ReadWindow();
    void Apply();

    LayoutWidgets w_;
    WindowLayout layout_;
    SplitterHandle *imgSplitter_ = nullptr;
    SplitterBar *picSplitter_ = nullptr;
    SplitterHandle *imgQuer_ = nullptr;
    SplitterBar *picQuer_ = nullptr;
};

} // namespace quandel
