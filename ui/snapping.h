#pragma once
// Screen-edge snapping of the main window: a window about to move snaps onto the edges of
// its monitor's work area when closer than 10 pixels.

#include "base/geometry.h"

namespace vistrel {

constexpr int kSnapDistance = 10;

// The position the window takes instead of the proposed one. A proposed position of
// exactly 0,0 is kept as it is. Left and top edges snap first; the right and bottom edges
// snap after them and win.
// The distance is kSnapDistance scaled for the screen's DPI.
Point SnapToWorkArea(Point proposed, int width, int height, const Box& workArea,
                     int distance = kSnapDistance);

} // namespace vistrel
