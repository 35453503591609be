#pragma once
// Checks on pictures decoded to a smaller size.

#include "album/jpeg_reader.h"

namespace testing_support {

// How many pixels of the small picture are not the full picture's pixel that the nearest
// source rule picks for them.
inline int PixelsNotPickedFrom(const vistrel::DecodedPicture& small,
                               const vistrel::DecodedPicture& full) {
    int wrong = 0;
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x) {
            const int sx = vistrel::NearestSource(x, small.width, full.width);
            const int sy = vistrel::NearestSource(y, small.height, full.height);
            const uint8_t* a = small.bits.data() + y * small.stride + 3 * x;
            const uint8_t* b = full.bits.data() + sy * full.stride + 3 * sx;
            wrong += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
        }
    return wrong;
}

} // namespace testing_support
