#include "capture/pixels.h"

namespace vistrel {

void RowToRgb(const PixelView& view, int yFromTop, uint8_t* rgb) {
    const uint8_t* row = view.Row(yFromTop);
    const int w = view.width;
    auto fromPalette = [&](unsigned index, uint8_t* out) {
        uint32_t c = index < static_cast<unsigned>(view.paletteSize) ? view.palette[index] : 0;
        out[0] = static_cast<uint8_t>(c >> 16);
        out[1] = static_cast<uint8_t>(c >> 8);
        out[2] = static_cast<uint8_t>(c);
    };
    switch (view.bitsPerPixel) {
    case 32:
        for (int x = 0; x < w; ++x, row += 4, rgb += 3) {
            rgb[0] = row[2];
            rgb[1] = row[1];
            rgb[2] = row[0];
        }
        break;
    case 24:
        for (int x = 0; x < w; ++x, row += 3, rgb += 3) {
            rgb[0] = row[2];
            rgb[1] = row[1];
            rgb[2] = row[0];
        }
        break;
    case 16:
        // 5-5-5, each 5-bit value widened to 8 bits by repeating its top bits.
        for (int x = 0; x < w; ++x, row += 2, rgb += 3) {
            unsigned v = row[0] | (row[1] << 8);
            unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            rgb[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
            rgb[1] = static_cast<uint8_t>((g << 3) | (g >> 2));
            rgb[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
        }
        break;
    case 8:
        for (int x = 0; x < w; ++x, rgb += 3)
            fromPalette(row[x], rgb);
        break;
    case 4:
        for (int x = 0; x < w; ++x, rgb += 3)
            fromPalette((row[x / 2] >> (x % 2 ? 0 : 4)) & 15, rgb);
        break;
    case 1:
        for (int x = 0; x < w; ++x, rgb += 3)
            fromPalette((row[x / 8] >> (7 - x % 8)) & 1, rgb);
        break;
    default:
        for (int x = 0; x < w * 3; ++x)
            rgb[x] = 0;
    }
}

} // namespace vistrel
