#pragma once
// The BMP file of a photo: a 14-byte file header, a 40-byte information header, the colour
// table on palette screens, then the pixel rows exactly as the bitmap holds them (bottom
// row first, padded to 4 bytes). All numbers little-endian.

#include "capture/pixels.h"

#include <cstdint>
#include <vector>

namespace vistrel {

// Everything in front of the pixel rows. The file is these bytes followed by
// view.Stride() * view.height bytes of pixels.
std::vector<uint8_t> BmpFileHeaders(const PixelView& view);

} // namespace vistrel
