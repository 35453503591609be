#pragma once
// Resizing a photo to any width and height, each direction on its own: an averaging (box)
// filter where it shrinks, so that fine detail turns into its average colour, and a smooth
// (linear) one where it grows.

#include "capture/pixels.h"

#include <cstdint>

namespace vistrel {

// The largest photo the program makes: 65,500 pixels a side (the JPEG limit) and
// 16384 * 16384 pixels in all (1 GiB at 32 bits per pixel).
constexpr int kMaxPhotoSide = 65500;
constexpr int64_t kMaxPhotoPixels = int64_t{16384} * 16384;
bool PhotoSizeAllowed(int64_t width, int64_t height);

// Resamples source into target, which has its own width and height and the source's
// pixel format (and palette). Returns false when the sizes cannot be resampled (a side
// of 0, a format it does not know, or memory running out).
bool ResamplePixels(const PixelView& source, const PixelView& target, uint8_t* targetBits);

} // namespace vistrel
