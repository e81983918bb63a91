#pragma once

#include <cmath>

namespace korvel {

// Screen sizes are given in twips (1/1440 inch). Qt lays widgets out in device-independent
// pixels of 1/96 inch, so 15 twips make one pixel on every screen.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

inline int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

} // namespace korvel
