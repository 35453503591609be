#pragma once
// Reading photo files back in tests: BMP by hand, JPEG through libjpeg.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // top row first, 3 bytes a pixel
    const uint8_t* At(int x, int y) const {
        return rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
    }
};

std::vector<uint8_t> ReadAll(const std::filesystem::path& file);
// A 24- or 32-bit uncompressed BMP; empty image when it is not one.
RgbImage ReadBmp(const std::vector<uint8_t>& bytes, int* bitsPerPixel = nullptr);
RgbImage ReadJpeg(const std::vector<uint8_t>& bytes);
// An 8-bit RGB PNG; empty image when it is not one.
RgbImage ReadPng(const std::vector<uint8_t>& bytes);

// Mean absolute difference per channel between an image and the stand-in's pattern seen
// from the view's (dx, dy) on.
double MeanErrorAgainstPattern(const RgbImage& image, int dx, int dy);
// How many pixels differ from that pattern.
int PixelsOffPattern(const RgbImage& image, int dx, int dy);

} // namespace testing_support
