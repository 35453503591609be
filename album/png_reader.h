#pragma once
// Reading a PNG file for the preview with libspng, as the JPEG reader does: the header when
// the file is loaded, the pixels when the picture is first drawn. Every kind of PNG is
// shown (any bit depth, grey, palette, colour, with or without alpha, interlaced);
// transparent pixels are laid on black, the preview's background. The whole file is
// checked, chunk checksums and the chunks after the pixels included.

#include "album/jpeg_reader.h"

#include <cstdint>
#include <span>

namespace vistrel {

struct PngHeader {
    int width = 0, height = 0;
};

// Throws Error("PNG image is not valid (<the library's reason>)") when the signature or
// the header chunk is wrong, and TooLargeToPreview when the picture is larger than the
// preview decodes.
PngHeader ReadPngHeader(std::span<const uint8_t> file);

// Decodes the picture into 24 bits per pixel (blue, green, red, rows from the top), at full
// size or, with a target size, picked to it by NearestSource as the JPEG reader picks. Only
// the target is kept in memory, with a row or two (interlaced files: the full-width rows
// that the target shows). Throws Error("PNG image is not valid (<reason>)").
DecodedPicture DecodePng(std::span<const uint8_t> file, int targetWidth = 0, int targetHeight = 0);

} // namespace vistrel
