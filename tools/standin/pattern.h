#pragma once
// The stand-in browser's picture, so that a test can compute the colour of every pixel of
// a photo. x and y count from the view window's top-left corner. Red and green step by 1
// per pixel (an offset of one pixel changes every pixel); blue changes in 256-pixel blocks.

#include <cstdint>

namespace standin {

struct Rgb {
    uint8_t r, g, b;
};

inline Rgb PatternPixel(int x, int y) {
    return Rgb{static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF),
               static_cast<uint8_t>(((x >> 8) * 64 + (y >> 8) * 40 + 20) & 0xFF)};
}

} // namespace standin
