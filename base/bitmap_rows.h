#pragma once
// Rows of Windows bitmaps (BMP files, device-independent bitmaps, the clipboard's pixels)
// are padded to whole 4-byte words.

#include <cstdint>

namespace vistrel {

constexpr uint64_t BitmapRowBytes(uint64_t width, uint64_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

} // namespace vistrel
