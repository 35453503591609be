#pragma once
// Where the preview draws a picture: scaled to fit the area, enlarged as well as reduced,
// its aspect ratio kept, centred.

#include "base/geometry.h"

namespace vistrel {

// The drawn rectangle, relative to the area's top-left corner. The arithmetic is the
// preview's own (a double-precision aspect ratio, truncation toward zero), so a 640 by 480
// picture in a 198 by 147 area is 195 by 147 at 1,0.
Box FitPicture(int width, int height, int areaWidth, int areaHeight);

} // namespace vistrel
