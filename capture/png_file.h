#pragma once
// PNG compression of a photo: 8-bit red, green, blue (colour type 2), not interlaced, no
// other chunks, so the file holds exactly the pixels RowToRgb gives for every screen depth.
// Tuned for speed over size, since the photo is made while the user waits: zlib's fastest
// level, and horizontal strips compressed on the processor's cores at once into one
// stream.

#include "capture/pixels.h"

#include <cstdint>
#include <vector>

namespace vistrel {

// The whole PNG file, in as many strips as the processor has cores. Throws
// Error("PNG image could not be made (<the reason>)").
std::vector<uint8_t> EncodePng(const PixelView& view);
// The same file made from at most this many strips (fewer for a small picture).
std::vector<uint8_t> EncodePngInStrips(const PixelView& view, size_t strips);

} // namespace vistrel
