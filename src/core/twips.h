#pragma once

#include <vector>

namespace quandel {

// Window geometry is stored in twips, 1/1440 inch: 15 twips per pixel at 96
// dots per inch. Conversions round to the nearest unit so that a value
// written and read back at the same resolution is unchanged.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect &) const = default;
};

// A window rectangle that would be lost off every screen (a monitor that is
// no longer attached) is brought back to the top-left of the first screen,
// shrunk to fit it. A window showing at least a grip of `grip` pixels of its
// top edge on some screen stays where it is, no larger than the rectangle
// around all screens.
Rect BringOntoScreens(const Rect &window, const std::vector<Rect> &screens, int grip = 40);

} // namespace quandel
