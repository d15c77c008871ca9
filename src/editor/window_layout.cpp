#include "editor/window_layout.h"

#include <algorithm>

namespace quandel {

namespace {

constexpr int kMinLeftWidth = 1500;
constexpr int kDragMargin = 500;
constexpr int kGapAfterDrag = 80;
constexpr int kGapAfterResize = 100;
constexpr int kTabTop = 360;
constexpr int kBottomReserve = 800;
constexpr int kInnerWidthMargin = 300;
constexpr int kTerminalHeightMargin = 4500;
constexpr int kEditorHeightMargin = 600;
constexpr int kTerminalGrowThreshold = 8000;

int NonNegative(int v) {
    return std::max(v, 0);
}

} // namespace

void WindowLayout::SetWindow(const WindowMetrics &metrics) {
    window_ = metrics;
    if (metrics.minimised)
        return; // a minimised window has no client area worth laying out
    picLeft.left = 0;
    picLeft.top = 0;
    picLeft.height = NonNegative(metrics.clientHeight - metrics.statusBarHeight);
}

void WindowLayout::ResizeWidthLeft(int &w) {
    if (w < kMinLeftWidth)
        w = kMinLeftWidth;
    if (w > window_.outerWidth - kMinLeftWidth)
        w = window_.outerWidth - kMinLeftWidth; // on a narrow window this limit wins
    w = NonNegative(w);
    picLeft.width = w;
    lblDatei.width = NonNegative(picLeft.width - kGapAfterDrag);
    for (TwipRect *r : {&drvLaufwerk, &dirVerzeichnis, &picQuer, &imgQuer, &filDateien})
        r->width = lblDatei.width;
    sstMain.left = picLeft.width + kGapAfterDrag;
    FitTabControlWidth();
    imgSplitter.left = w;
    imgSplitter.top = picLeft.top;
    imgSplitter.height = picLeft.height;
    imgQuer.top = dirVerzeichnis.top + dirVerzeichnis.height;
    picQuer.top = imgQuer.top;
    filDateien.top = imgQuer.top + imgQuer.height;
    // The list lies in the pane's own coordinates: it ends at the pane's bottom.
    filDateien.height = NonNegative(picLeft.height - filDateien.top);
}

void WindowLayout::FitTabControlWidth() {
    // The tab control keeps its right edge at the window's edge when the
    // left pane changes its width, instead of sticking out or leaving a gap.
    sstMain.width = NonNegative(window_.clientWidth - sstMain.left);
}

int WindowLayout::SplitBounded(int y) const {
    const int lowest = dirVerzeichnis.top + kMinListHeight;
    const int highest = picLeft.height - imgQuer.height - kMinListHeight;
    return std::max(std::min(y, highest), lowest);
}

void WindowLayout::ResizeWidthHeight(int &y) {
    int height = SplitBounded(y) - dirVerzeichnis.top;
    if (dirRowHeight > 0) {
        const int rows = std::max(1, (height - dirFrame) / dirRowHeight);
        height = dirFrame + rows * dirRowHeight;
    }
    dirVerzeichnis.height = height;
    y = dirVerzeichnis.top + dirVerzeichnis.height;
    imgQuer.top = y;
    filDateien.top = y + imgQuer.height;
    filDateien.height = NonNegative(picLeft.height - filDateien.top);
}

void WindowLayout::WindowResized() {
    if (window_.minimised)
        return;
    int w = picLeft.width;
    ResizeWidthLeft(w);
    int y = dirVerzeichnis.top + dirChosenHeight_;
    ResizeWidthHeight(y);
    sstMain.left = picLeft.width + kGapAfterResize;
    sstMain.top = kTabTop;
    sstMain.width = NonNegative(window_.clientWidth - picLeft.width - kGapAfterResize);
    sstMain.height = NonNegative(window_.clientHeight - kBottomReserve);
    rtbTerm.width = NonNegative(sstMain.width - kInnerWidthMargin);
    if (sstMain.height > kTerminalGrowThreshold)
        rtbTerm.height = sstMain.height - kTerminalHeightMargin;
    txtEdit.width = NonNegative(sstMain.width - kInnerWidthMargin);
    txtEdit.height = NonNegative(sstMain.height - tbrEditorHeight - kEditorHeightMargin);
}

void WindowLayout::StartupPlacement() {
    imgSplitter.left = picLeft.width;
    picQuer.left = picLeft.left;
    imgQuer.left = picLeft.left;
    imgSplitter.top = picLeft.top;
    imgSplitter.height = picLeft.height;
    imgQuer.top = dirVerzeichnis.top + dirVerzeichnis.height;
    picQuer.top = imgQuer.top;
}

void WindowLayout::SplitterMouseDown() {
    picSplitter = {imgSplitter.left, imgSplitter.top, imgSplitter.width / 2,
                   NonNegative(imgSplitter.height - 20)};
    picSplitterVisible = true;
    SplitterDragging = true;
}

void WindowLayout::SplitterMouseMove(int x) {
    if (!SplitterDragging)
        return;
    const int pos = imgSplitter.left + x;
    if (pos < kDragMargin)
        picSplitter.left = kDragMargin;
    else if (pos > window_.outerWidth - kDragMargin)
        picSplitter.left = window_.outerWidth - kDragMargin;
    else
        picSplitter.left = pos;
}

void WindowLayout::SplitterMouseUp() {
    if (!SplitterDragging)
        return;
    int w = picSplitter.left;
    ResizeWidthLeft(w);
    picSplitterVisible = false;
    SplitterDragging = false;
}

void WindowLayout::QuerMouseDown() {
    picQuer = {imgQuer.left, imgQuer.top, imgQuer.width, imgQuer.height / 2};
    picQuerVisible = true;
    QuerDragging = true;
}

void WindowLayout::QuerMouseMove(int y) {
    if (!QuerDragging)
        return;
    // The bar shows where the split can really go.
    picQuer.top = SplitBounded(imgQuer.top + y);
}

void WindowLayout::QuerMouseUp() {
    if (!QuerDragging)
        return;
    int y = picQuer.top;
    ResizeWidthHeight(y);
    dirChosenHeight_ = dirVerzeichnis.height;
    picQuerVisible = false;
    QuerDragging = false;
}

} // namespace quandel
