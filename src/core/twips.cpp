#include "core/twips.h"

#include <algorithm>
#include <cmath>

namespace quandel {

int TwipsToPixels(int twips, double dpi) {
    if (dpi <= 0)
        dpi = 96;
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int PixelsToTwips(int pixels, double dpi) {
    if (dpi <= 0)
        dpi = 96;
    return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

namespace {

bool TopEdgeVisible(const Rect &w, const Rect &s, int grip) {
    // The title bar sits at the top edge: some of it must be on the screen.
    const int left = std::max(w.x, s.x);
    const int right = std::min(w.x + w.width, s.x + s.width);
    const bool topInside = w.y >= s.y && w.y < s.y + s.height - grip / 2;
    return topInside && right - left >= std::min(grip, w.width);
}

} // namespace

Rect BringOntoScreens(const Rect &window, const std::vector<Rect> &screens, int grip) {
    if (screens.empty())
        return window;
    // No window is larger than all screens together: a size from a damaged
    // settings file would otherwise ask the window system for a window (and
    // its pixel buffer) of that size.
    long long left = screens.front().x, top = screens.front().y, right = left, bottom = top;
    for (const Rect &s : screens) {
        left = std::min<long long>(left, s.x);
        top = std::min<long long>(top, s.y);
        right = std::max(right, static_cast<long long>(s.x) + s.width);
        bottom = std::max(bottom, static_cast<long long>(s.y) + s.height);
    }
    Rect r = window;
    r.width = int(std::min<long long>(r.width, std::max(1LL, right - left)));
    r.height = int(std::min<long long>(r.height, std::max(1LL, bottom - top)));
    for (const Rect &s : screens)
        if (TopEdgeVisible(r, s, grip))
            return r;
    const Rect &first = screens.front();
    r.width = std::clamp(r.width, 1, std::max(1, first.width));
    r.height = std::clamp(r.height, 1, std::max(1, first.height));
    r.x = first.x;
    r.y = first.y;
    return r;
}

} // namespace quandel
