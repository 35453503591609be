#pragma once
// A photo's pixels as Windows keeps a device-independent bitmap: rows from the bottom row
// up, each padded to a multiple of 4 bytes, in the screen's own format (32 or 24 bits per
// pixel as blue, green, red; 16 bits as 5-5-5; 8 bits or fewer through a palette).

#include "base/bitmap_rows.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistrel {

struct PixelView {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    const uint8_t* bits = nullptr;     // the bottom row first
    const uint32_t* palette = nullptr; // 0x00RRGGBB entries, for 8 bits or fewer
    int paletteSize = 0;

    size_t Stride() const { return StrideFor(width, bitsPerPixel); }
    const uint8_t* Row(int yFromTop) const {
        return bits + static_cast<size_t>(height - 1 - yFromTop) * Stride();
    }
    static size_t StrideFor(int width, int bitsPerPixel) {
        return static_cast<size_t>(
            BitmapRowBytes(static_cast<uint64_t>(width), static_cast<uint64_t>(bitsPerPixel)));
    }
};

// Pixels owned in memory, in the same layout (for tests and for formats made in code).
struct PixelBuffer {
    int width = 0, height = 0, bitsPerPixel = 32;
    std::vector<uint8_t> bits;
    std::vector<uint32_t> palette;

    PixelBuffer() = default;
    PixelBuffer(int w, int h, int bpp)
        : width(w), height(h), bitsPerPixel(bpp), bits(PixelView::StrideFor(w, bpp) * h) {}
    PixelView View() const {
        return {width,       height,         bitsPerPixel,
                bits.data(), palette.data(), static_cast<int>(palette.size())};
    }
    uint8_t* Row(int yFromTop) {
        return bits.data() + static_cast<size_t>(height - 1 - yFromTop) *
                                 PixelView::StrideFor(width, bitsPerPixel);
    }
};

// One row converted to 8-bit red, green, blue triples (3 * width bytes).
void RowToRgb(const PixelView& view, int yFromTop, uint8_t* rgb);

} // namespace vistrel
