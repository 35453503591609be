#pragma once
// PNG compression of a photo with libspng: 8-bit red, green, blue (colour type 2), not
// interlaced, no other chunks, so the file holds exactly the pixels RowToRgb gives for
// every screen depth. Tuned for speed over size: the photo is made while the user waits.

#include "capture/pixels.h"

#include <cstdint>
#include <vector>

namespace vistrel {

// The whole PNG file. Throws Error("PNG image could not be made (<the library's reason>)").
std::vector<uint8_t> EncodePng(const PixelView& view);

} // namespace vistrel
