#include "capture/resample.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

PixelBuffer Columns(int w, int h) {
    PixelBuffer p(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                p.Row(y)[4 * x + c] = x % 2 ? 255 : 0;
    return p;
}

PixelBuffer Resampled(const PixelBuffer& source, int w, int h) {
    PixelBuffer out(w, h, source.bitsPerPixel);
    out.palette = source.palette;
    EXPECT_TRUE(ResamplePixels(source.View(), out.View(), out.bits.data()));
    return out;
}

} // namespace

TEST(Resample, HalvingAlternatingColumnsAveragesToGrey) {
    PixelBuffer half = Resampled(Columns(64, 8), 32, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x)
            for (int c = 0; c < 3; ++c) {
                int v = half.Row(y)[4 * x + c];
                EXPECT_NEAR(v, 128, 1) << x << "," << y;
            }
}

TEST(Resample, UniformPictureStaysUniformAtAnySize) {
    for (int bpp : {32, 24, 16}) {
        PixelBuffer p(50, 40, bpp);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x) {
                uint8_t* px = p.Row(y) + x * (bpp / 8);
                if (bpp == 16) {
                    px[0] = 0x9C; // 5-5-5: r=10, g=20, b=28 → 0x29 0x9C
                    px[1] = 0x2A;
                } else {
                    px[0] = 30, px[1] = 90, px[2] = 200;
                }
            }
        for (auto [w, h] : {std::pair{13, 97}, std::pair{200, 3}, std::pair{1, 1},
                            std::pair{50, 40}, std::pair{123, 45}}) {
            PixelBuffer out = Resampled(p, w, h);
            const uint8_t* first = out.Row(0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < bpp / 8; ++c)
                        ASSERT_EQ(out.Row(y)[x * (bpp / 8) + c], first[c])
                            << bpp << " bits to " << w << "x" << h;
        }
    }
}

TEST(Resample, WidthAndHeightChangeIndependently) {
    // Top half black, bottom half white; stretched wide and squeezed low, the rows keep
    // their order (bottom-up storage) and every column is the same.
    PixelBuffer p(4, 8, 32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c)
                p.Row(y)[4 * x + c] = y < 4 ? 0 : 255;
    PixelBuffer out = Resampled(p, 40, 2);
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(out.Row(0)[4 * x], 0);
        EXPECT_EQ(out.Row(1)[4 * x], 255);
    }
}

TEST(Resample, PaletteBitmapsKeepTheirPalette) {
    PixelBuffer p(8, 8, 8);
    p.palette = {0x000000, 0xFFFFFF, 0x808080, 0xFF0000};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.Row(y)[x] = static_cast<uint8_t>(x % 2); // black and white columns
    PixelBuffer out = Resampled(p, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(out.Row(y)[x], 2) << "grey is the nearest entry";
}

TEST(Resample, RefusesEmptySizesAndSizesBeyondTheBound) {
    PixelBuffer p = Columns(4, 4);
    PixelBuffer zero(0, 4, 32);
    EXPECT_FALSE(ResamplePixels(p.View(), zero.View(), zero.bits.data()));
    EXPECT_TRUE(PhotoSizeAllowed(1, 1));
    EXPECT_TRUE(PhotoSizeAllowed(16384, 16384));
    EXPECT_TRUE(PhotoSizeAllowed(65500, 100));
    EXPECT_FALSE(PhotoSizeAllowed(65501, 1));
    EXPECT_FALSE(PhotoSizeAllowed(100000, 100000));
    EXPECT_FALSE(PhotoSizeAllowed(16385, 16384));
    EXPECT_FALSE(PhotoSizeAllowed(0, 5));
    EXPECT_FALSE(PhotoSizeAllowed(-5, 5));
}
