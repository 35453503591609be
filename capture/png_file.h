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

// The whole PNG file, compressed on all the processor's cores. Besides the file, it holds
// at most a few megabytes a core at once. Throws Error("PNG image could not be made
// (<the reason>)").
std::vector<uint8_t> EncodePng(const PixelView& view);
// The same file made of this many strips (fewer for a small picture, more for a large
// one, whose strips would be large), compressed on at most this many threads.
std::vector<uint8_t> EncodePngInStrips(const PixelView& view, size_t strips, size_t threads);

} // namespace vistrel
