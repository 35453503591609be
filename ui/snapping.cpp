#include "ui/snapping.h"

#include <cstdlib>

namespace vistrel {

Point SnapToWorkArea(Point proposed, int width, int height, const Box& workArea, int distance) {
    if (proposed.x == 0 && proposed.y == 0)
        return proposed;
    auto Near = [distance](long long a, long long b) { return std::llabs(a - b) < distance; };
    Point p = proposed;
    if (Near(p.x, workArea.left))
        p.x = workArea.left;
    if (Near(p.y, workArea.top))
        p.y = workArea.top;
    if (Near(static_cast<long long>(p.x) + width, workArea.right()))
        p.x = workArea.right() - width;
    if (Near(static_cast<long long>(p.y) + height, workArea.bottom()))
        p.y = workArea.bottom() - height;
    return p;
}

} // namespace vistrel
