#include "album/fit.h"

#include <cmath>

namespace vistrel {

namespace {
// Truncation toward zero, kept within int for absurd sizes.
int Truncate(long double v) {
    if (!(v > -2147483648.0L))
        return v != v ? 0 : -2147483647 - 1;
    if (v >= 2147483647.0L)
        return 2147483647;
    return static_cast<int>(v);
}
} // namespace

Box FitPicture(int width, int height, int areaWidth, int areaHeight) {
    if (width <= 0 || height <= 0)
        return {0, 0, 0, 0};
    // The ratio is a double; the products and quotients with it are taken in extended
    // precision, as the x87 takes them, so that 147 * (4/3) stays just below 196 and the
    // drawn width is 195, not 196.
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    const long double ratio = aspect;
    int w, h;
    if (width > height) {
        w = areaWidth;
        h = Truncate(areaWidth / ratio);
        if (h > areaHeight) {
            h = areaHeight;
            w = Truncate(areaHeight * ratio);
        }
    } else {
        h = areaHeight;
        w = Truncate(areaHeight * ratio);
        if (w > areaWidth) {
            w = areaWidth;
            h = Truncate(areaWidth / ratio);
        }
    }
    // Centring offsets, rounded toward zero.
    return {static_cast<int>((static_cast<long long>(areaWidth) - w) / 2),
            static_cast<int>((static_cast<long long>(areaHeight) - h) / 2), w, h};
}

} // namespace vistrel
