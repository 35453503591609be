#pragma once
// Reading a JPEG file for the preview with libjpeg: the header when the file is loaded,
// the pixels when the picture is first drawn. Errors are reported by the library's message
// number ("JPEG error #<n>"); warnings (damaged data the library can read past) are not.

#include <cstdint>
#include <span>
#include <vector>

namespace vistrel {

struct JpegHeader {
    int width = 0, height = 0;
    bool greyscale = false;
};

// Throws Error("JPEG error #<n>") when the library rejects the header, and TooLargeToPreview
// when the picture is larger than the library or the preview decodes.
JpegHeader ReadJpegHeader(std::span<const uint8_t> file);

struct DecodedPicture {
    int width = 0, height = 0;             // as sampled
    int sourceWidth = 0, sourceHeight = 0; // as in the file
    int bitsPerPixel = 24;                 // 24: blue, green, red; 8: through the palette
    std::vector<uint32_t> palette;         // 0x00RRGGBB, with 8 bits
    size_t stride = 0;                     // bytes a row, a multiple of 4
    std::vector<uint8_t> bits;             // rows from the top
};

// Decodes the picture at full size with smooth upsampling, into 24 bits per pixel, or into
// 8 bits with at most 236 colours, dithered, for grey-scale files and when asked (palette
// screens). With a target size, whole pixels of the full-size picture are picked or
// repeated to that size as they are decoded (no averaging), so only the target is kept in
// memory and rows no target pixel comes from are skipped. Throws Error("JPEG error #<n>").
DecodedPicture DecodeJpeg(std::span<const uint8_t> file, bool eightBit, int targetWidth = 0,
                          int targetHeight = 0);

// The source pixel a target pixel shows, when a length is scaled to another: the one under
// the target pixel's centre.
int NearestSource(int target, int targetLength, int sourceLength);

} // namespace vistrel
