// PNG photos hold exactly the screen's pixels, from every screen depth.

#include "album/png_reader.h"
#include "base/error.h"
#include "capture/pixels.h"
#include "capture/png_file.h"
#include "tests/native/support/allocation_peak.h"
#include "tests/native/support/error_of.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vistrel;
using testing_support::AllocationPeak;
using testing_support::ErrorOf;

TEST(PngFile, HoldsExactlyThePixelsOfEveryScreenDepth) {
    for (int bpp : {32, 24, 16, 8, 4, 1}) {
        // An odd width, so that rows are padded, and bytes that differ everywhere.
        PixelBuffer p(37, 23, bpp);
        uint32_t seed = static_cast<uint32_t>(bpp);
        for (auto& b : p.bits)
            b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
        if (bpp <= 8)
            for (int i = 0; i < (1 << bpp); ++i)
                p.palette.push_back((seed = seed * 1103515245 + 12345) & 0xFFFFFF);
        std::vector<uint8_t> file = EncodePng(p.View());

        // 8-bit red, green, blue (colour type 2), not interlaced.
        ASSERT_GT(file.size(), 33u);
        EXPECT_EQ(file[24], 8) << bpp;
        EXPECT_EQ(file[25], 2) << bpp;
        EXPECT_EQ(file[28], 0) << bpp;

        DecodedPicture d = DecodePng(file);
        ASSERT_EQ(d.width, 37);
        ASSERT_EQ(d.height, 23);
        std::vector<uint8_t> rgb(37 * 3);
        int wrong = 0;
        for (int y = 0; y < 23; ++y) {
            RowToRgb(p.View(), y, rgb.data());
            const uint8_t* got = d.bits.data() + y * d.stride;
            for (int x = 0; x < 37; ++x)
                wrong += got[3 * x] != rgb[3 * x + 2] || got[3 * x + 1] != rgb[3 * x + 1] ||
                         got[3 * x + 2] != rgb[3 * x];
        }
        EXPECT_EQ(wrong, 0) << bpp << " bits per pixel";
    }
}

TEST(PngFile, StripsCompressedAtOnceMakeOneStreamOfTheSamePixels) {
    // Rows that repeat the ones above, shifted: the compressor refers back across the
    // strips' borders, into each strip's dictionary.
    // Tall enough for 7 strips of the least size worth a thread.
    PixelBuffer p(1000, 620, 32);
    uint32_t seed = 7;
    std::vector<uint8_t> pattern(4 * 1000 + 4 * 620);
    for (auto& b : pattern)
        b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    for (int y = 0; y < 620; ++y)
        std::copy_n(pattern.begin() + 4 * y, 4 * 1000, p.Row(y));
    const std::vector<uint8_t> one = EncodePngInStrips(p.View(), 1, 1);
    const DecodedPicture reference = DecodePng(one);
    for (size_t strips : {2u, 3u, 7u}) {
        // Fewer threads than strips too: a thread takes the next strip when it is done.
        std::vector<uint8_t> file = EncodePngInStrips(p.View(), strips, strips == 7 ? 3 : strips);
        // The decoder checks the stream's checksum and each chunk's CRC.
        DecodedPicture d = DecodePng(file);
        EXPECT_EQ(d.bits, reference.bits) << strips << " strips";
        EXPECT_LT(file.size(), one.size() + one.size() / 50) << strips << " strips";
    }
}

TEST(PngFile, HoldsLessThanTwiceTheBitmapAtOnceEvenForPixelsThatDoNotShrink) {
    // Noise: the file is as large as the filtered rows, the worst case for memory.
    PixelBuffer p(2048, 2048, 32);
    uint64_t seed = 11;
    for (auto& b : p.bits)
        b = static_cast<uint8_t>((seed = seed * 6364136223846793005u + 1) >> 56);
    AllocationPeak peak;
    const std::vector<uint8_t> file = EncodePng(p.View());
    EXPECT_LT(peak.Bytes(), 2 * p.bits.size());
    EXPECT_GT(file.size(), p.bits.size() / 4 * 3);

    DecodedPicture d = DecodePng(file);
    std::vector<uint8_t> rgb(3 * 2048);
    for (int y : {0, 1023, 2047}) {
        RowToRgb(p.View(), y, rgb.data());
        const uint8_t* got = d.bits.data() + y * d.stride;
        for (int x = 0; x < 2048; x += 97)
            ASSERT_EQ(got[3 * x], rgb[3 * x + 2]) << x << "," << y;
    }
}

TEST(PngFile, PicturesAPngCannotBeMadeOfAreRefusedWithTheReason) {
    PixelBuffer empty(0, 5, 32);
    EXPECT_EQ(ErrorOf([&] { EncodePng(empty.View()); }),
              L"PNG image could not be made (invalid image width)");
    // Beyond what one stream's 32-bit lengths hold: refused before a pixel is read.
    const PixelView huge{1 << 28, 4, 32, nullptr, nullptr, 0};
    EXPECT_EQ(ErrorOf([&] { EncodePng(huge); }), L"PNG image could not be made (image too large)");
}
