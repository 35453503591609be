#pragma once
// Reading a BMP file for the preview. Every header field is checked against the file's
// real size before any pixel is touched; what passes is drawn from the file's own pixel
// bytes through a header the program builds itself.

#include <cstdint>
#include <span>
#include <vector>

namespace vistrel {

struct BmpPicture {
    bool empty = true; // a 0-byte file: a picture that draws nothing
    int width = 0;
    int height = 0; // rows in the file: bottom-up unless topDown
    bool topDown = false;
    int bitsPerPixel = 0; // 1, 4, 8, 16, 24 or 32
    bool bitFields = false;
    uint32_t masks[3] = {0, 0, 0}; // red, green, blue, with bitFields
    std::vector<uint32_t> palette; // 0x00RRGGBB, for 8 bits or fewer
    size_t pixelOffset = 0;        // where the rows start in the file
    size_t stride = 0;
};

// Throws Error("Bitmap image is not valid") for anything that is not a BMP the preview
// can draw safely (also RLE compression), and TooLargeToPreview for a whole picture beyond
// the preview's limit.
BmpPicture ParseBmp(std::span<const uint8_t> file);

} // namespace vistrel
