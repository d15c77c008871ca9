#pragma once

namespace quandel {

// A control's place in twips (1/1440 inch): left, top, width, height.
struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect &) const = default;
};

// What the layout reads from the window, in twips.
struct WindowMetrics {
    int outerWidth = 0;      // the window with its frame
    int clientWidth = 0;     // the client area
    int clientHeight = 0;    // the client area, status bar included
    int statusBarHeight = 0; // the bottom strip the left pane leaves free
    bool minimised = false;
};

// Limits of this program's own choosing, so that no control is ever given a
// negative or absurd size: the smallest window the main window allows, and
// the least height either list of the left pane keeps when the horizontal
// splitter is dragged or the window shrinks.
inline constexpr int kMinWindowWidth = 6000;  // 400 pixels at 96 dpi
inline constexpr int kMinWindowHeight = 4500; // 300 pixels
inline constexpr int kMinListHeight = 300;

// The geometry of the main window's left pane, its two splitters and the tab
// control, as plain numbers. The widget side copies the rectangles onto the
// real controls after each call; positions inside the left pane are relative
// to the pane, all others to the window's client area.
class WindowLayout {
public:
    // The left pane and what it holds, with their start geometry.
    TwipRect picLeft{0, 0, 2175, 0};
    TwipRect lblEngineering{165, 555, 1605, 195}; // never moved
    TwipRect lblDatei{0, 840, 1935, 255};
    TwipRect drvLaufwerk{0, 1080, 1935, 315};
    TwipRect dirVerzeichnis{0, 1440, 1935, 1890};
    TwipRect imgQuer{0, 3480, 1935, 75};
    TwipRect picQuer{0, 3600, 1935, 72};
    TwipRect filDateien{0, 3840, 1935, 1650};
    // The vertical splitter's handle and bar, in the window.
    TwipRect imgSplitter{2400, 1200, 150, 4785};
    TwipRect picSplitter{2280, 1200, 72, 4800};
    // The tab control and the panes on its tabs.
    TwipRect sstMain{2275, 360, 8535, 6000};
    TwipRect rtbTerm{120, 4440, 8535, 1935};
    TwipRect txtEdit{120, 0, 8535, 5000};
    int tbrEditorHeight = 0;

    bool SplitterDragging = false;
    bool QuerDragging = false;
    bool picSplitterVisible = false;
    bool picQuerVisible = false;

    // The directory list shows whole rows only: its height is its frame plus
    // a whole number of rows. A row height of 0 means no rounding.
    int dirRowHeight = 0;
    int dirFrame = 0;

    // The window as it is now. The left pane always spans the client area
    // above the status bar.
    void SetWindow(const WindowMetrics &metrics);
    const WindowMetrics &Window() const { return window_; }

    // Lays out the left pane for width w; w receives the width after the
    // limits (1500, then window width − 1500, never below 0).
    void ResizeWidthLeft(int &w);
    // Lays out the horizontal split at y; y receives the directory list's
    // real bottom.
    void ResizeWidthHeight(int &y);
    // The window changed its size (nothing happens while it is minimised).
    void WindowResized();
    // Step 9 of the start-up.
    void StartupPlacement();

    // Mouse on the vertical splitter's handle; x relative to the handle.
    void SplitterMouseDown();
    void SplitterMouseMove(int x);
    void SplitterMouseUp();
    // Mouse on the horizontal splitter's handle; y relative to the handle.
    void QuerMouseDown();
    void QuerMouseMove(int y);
    void QuerMouseUp();

private:
    // Where the horizontal split may lie so that both lists keep their least
    // height (the directory list wins on a pane too small for both).
    int SplitBounded(int y) const;
    void FitTabControlWidth();

    WindowMetrics window_;
    // The directory list's height as the user last left it. A window made too
    // small for it squeezes the list only for as long as it stays that small.
    int dirChosenHeight_ = 1890;
};

} // namespace quandel
