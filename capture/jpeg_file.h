#pragma once
// JPEG compression of a photo with libjpeg: the library's default parameters, the quality
// with baseline forced, the floating-point DCT, standard Huffman tables, a JFIF header.

#include "capture/pixels.h"

#include <cstdint>
#include <vector>

namespace vistrel {

// How the rows reach the compressor: as the bitmap holds them (blue, green, red and a
// filler byte, which libjpeg-turbo reads directly), or first converted to red, green, blue.
// Both give the same file.
enum class JpegInput { Direct, ConvertedRgb };

// The whole JPEG file. Throws Error("JPEG error #<n>") when the library fails.
std::vector<uint8_t> EncodeJpeg(const PixelView& view, int quality,
                                JpegInput input = JpegInput::Direct);

} // namespace vistrel
