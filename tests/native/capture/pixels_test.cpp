#include "capture/jpeg_file.h"
#include "capture/pixels.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(RowToRgb, ReadsEveryScreenDepthTopRowFirst) {
    // Two rows; the top one is stored last (bottom-up).
    PixelBuffer p32(2, 2, 32);
    uint8_t* top = p32.Row(0);
    top[0] = 1, top[1] = 2, top[2] = 3; // blue, green, red
    uint8_t rgb[6];
    RowToRgb(p32.View(), 0, rgb);
    EXPECT_EQ(rgb[0], 3);
    EXPECT_EQ(rgb[1], 2);
    EXPECT_EQ(rgb[2], 1);
    EXPECT_EQ(p32.bits[p32.bits.size() - 8], 1) << "the top row is the last in memory";

    PixelBuffer p16(2, 1, 16);
    // 5-5-5: red 31, green 0, blue 16 → 0x7C10; then white.
    p16.Row(0)[0] = 0x10, p16.Row(0)[1] = 0x7C, p16.Row(0)[2] = 0xFF, p16.Row(0)[3] = 0x7F;
    RowToRgb(p16.View(), 0, rgb);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[1], 0);
    EXPECT_EQ(rgb[2], 132);
    EXPECT_EQ(rgb[3], 255);
    EXPECT_EQ(rgb[4], 255);
    EXPECT_EQ(rgb[5], 255);

    PixelBuffer p8(2, 1, 8);
    p8.palette = {0x000000, 0x102030};
    p8.Row(0)[0] = 1, p8.Row(0)[1] = 200; // an index past the palette reads as black
    RowToRgb(p8.View(), 0, rgb);
    EXPECT_EQ(rgb[0], 0x10);
    EXPECT_EQ(rgb[2], 0x30);
    EXPECT_EQ(rgb[3] + rgb[4] + rgb[5], 0);

    PixelBuffer p4(3, 1, 4);
    p4.palette.assign(16, 0);
    p4.palette[5] = 0xFF0000, p4.palette[10] = 0x00FF00;
    p4.Row(0)[0] = 0x5A, p4.Row(0)[1] = 0x50;
    uint8_t rgb3[9];
    RowToRgb(p4.View(), 0, rgb3);
    EXPECT_EQ(rgb3[0], 255);
    EXPECT_EQ(rgb3[4], 255);
    EXPECT_EQ(rgb3[6], 255);

    PixelBuffer p1(9, 1, 1);
    p1.palette = {0x000000, 0xFFFFFF};
    p1.Row(0)[0] = 0x80, p1.Row(0)[1] = 0x80;
    uint8_t rgb9[27];
    RowToRgb(p1.View(), 0, rgb9);
    EXPECT_EQ(rgb9[0], 255);
    EXPECT_EQ(rgb9[3], 0);
    EXPECT_EQ(rgb9[24], 255);
}

TEST(JpegFile, SixteenBitAndPaletteScreensAreCompressedFromTheirColours) {
    PixelBuffer p16(16, 16, 16);
    PixelBuffer p8(16, 16, 8);
    p8.palette = {0x0000FF};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            p16.Row(y)[2 * x] = 0x1F; // blue 31
            p16.Row(y)[2 * x + 1] = 0x00;
            p8.Row(y)[x] = 0;
        }
    // Both are all blue: the files are the same.
    EXPECT_EQ(EncodeJpeg(p16.View(), 75), EncodeJpeg(p8.View(), 75));
}
