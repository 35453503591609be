// The bytes of photo files: BMP layout for every screen depth, JPEG structure and tables.

#include "base/error.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <map>

using namespace vistrel;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

PixelBuffer Gradient(int w, int h, int bpp) {
    PixelBuffer p(w, h, bpp);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p.Row(y);
        for (int x = 0; x < w; ++x) {
            uint8_t r = static_cast<uint8_t>(x * 255 / std::max(w - 1, 1));
            uint8_t g = static_cast<uint8_t>(y * 255 / std::max(h - 1, 1));
            uint8_t b = static_cast<uint8_t>((x + y) & 0xFF);
            if (bpp == 32) {
                row[4 * x] = b, row[4 * x + 1] = g, row[4 * x + 2] = r, row[4 * x + 3] = 0;
            } else if (bpp == 24) {
                row[3 * x] = b, row[3 * x + 1] = g, row[3 * x + 2] = r;
            }
        }
    }
    return p;
}

struct Segment {
    uint8_t marker;
    std::vector<uint8_t> body;
};

// Splits a JPEG file into its marker segments up to the start of scan, then checks the
// entropy-coded data for markers other than stuffing and ends with EOI.
std::vector<Segment> Segments(const std::vector<uint8_t>& f, bool& restartMarkers) {
    std::vector<Segment> out;
    restartMarkers = false;
    EXPECT_GE(f.size(), 4u);
    EXPECT_EQ(f[0], 0xFF);
    EXPECT_EQ(f[1], 0xD8);
    out.push_back({0xD8, {}});
    size_t i = 2;
    while (i + 4 <= f.size()) {
        EXPECT_EQ(f[i], 0xFF);
        uint8_t marker = f[i + 1];
        size_t length = (f[i + 2] << 8) | f[i + 3];
        out.push_back(
            {marker, std::vector<uint8_t>(f.begin() + i + 4, f.begin() + i + 2 + length)});
        i += 2 + length;
        if (marker == 0xDA)
            break;
    }
    for (; i + 1 < f.size(); ++i) {
        if (f[i] != 0xFF)
            continue;
        uint8_t next = f[i + 1];
        if (next >= 0xD0 && next <= 0xD7)
            restartMarkers = true;
        if (next == 0xD9 && i + 2 == f.size())
            out.push_back({0xD9, {}});
        else if (next != 0x00)
            ADD_FAILURE() << "marker FF" << std::hex << int(next) << " in the scan data";
        ++i;
    }
    return out;
}

// The 64 entries of a DQT segment's table, in zigzag order as stored.
std::vector<int> TableOf(const Segment& dqt) {
    return std::vector<int>(dqt.body.begin() + 1, dqt.body.begin() + 65);
}

// The standard's tables scaled as libjpeg's quality does, in natural order.
std::vector<int> Scaled(const int* base, int quality) {
    quality = std::clamp(quality, 1, 100);
    int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    std::vector<int> out(64);
    for (int i = 0; i < 64; ++i)
        out[i] = std::clamp((base[i] * scale + 50) / 100, 1, 255);
    return out;
}

const int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                            14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                            18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                            49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                              24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                              99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                              99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
const int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                         12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                         35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                         58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

std::vector<int> Natural(const std::vector<int>& zigzag) {
    std::vector<int> out(64);
    for (int i = 0; i < 64; ++i)
        out[kZigzag[i]] = zigzag[i];
    return out;
}

} // namespace

TEST(BmpFile, TrueColourPhotoHasHeadersThenRowsAtOffset54) {
    PixelBuffer p = Gradient(800, 600, 32);
    auto h = BmpFileHeaders(p.View());
    ASSERT_EQ(h.size(), 54u);
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(U32(h, 2), 1920054u); // 54 + 800 * 600 * 4
    EXPECT_EQ(U32(h, 6), 0u);
    EXPECT_EQ(U32(h, 10), 54u);
    EXPECT_EQ(U32(h, 14), 40u);
    EXPECT_EQ(U32(h, 18), 800u);
    EXPECT_EQ(U32(h, 22), 600u);
    EXPECT_EQ(U16(h, 26), 1);
    EXPECT_EQ(U16(h, 28), 32);
    EXPECT_EQ(U32(h, 30), 0u);
    EXPECT_EQ(U32(h, 34), 1920000u);
    for (size_t at : {38u, 42u, 46u, 50u})
        EXPECT_EQ(U32(h, at), 0u);
}

TEST(BmpFile, RowsArePaddedToFourBytesForEachDepth) {
    struct Case {
        int bpp, width;
        uint32_t stride;
    };
    for (Case c : {Case{24, 3, 12}, Case{24, 1, 4}, Case{16, 3, 8}, Case{16, 2, 4}, Case{8, 5, 8},
                   Case{4, 9, 8}, Case{1, 33, 8}, Case{32, 3, 12}}) {
        PixelBuffer p(c.width, 7, c.bpp);
        if (c.bpp <= 8)
            p.palette.assign(static_cast<size_t>(1) << c.bpp, 0x00112233);
        auto h = BmpFileHeaders(p.View());
        uint32_t colours = c.bpp <= 8 ? 1u << c.bpp : 0u;
        EXPECT_EQ(h.size(), 54u + 4 * colours) << c.bpp;
        EXPECT_EQ(U32(h, 34), c.stride * 7) << c.bpp << " bits, width " << c.width;
        EXPECT_EQ(U32(h, 2), h.size() + c.stride * 7);
        EXPECT_EQ(U32(h, 10), h.size());
        EXPECT_EQ(U16(h, 28), c.bpp);
        EXPECT_EQ(U32(h, 46), colours);
    }
}

TEST(BmpFile, PaletteScreensWriteTheirColourTableAsBlueGreenRedZero) {
    PixelBuffer p(4, 2, 8);
    p.palette = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456};
    auto h = BmpFileHeaders(p.View());
    ASSERT_EQ(h.size(), 54u + 16);
    EXPECT_EQ(U32(h, 46), 4u);
    const uint8_t expected[] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0x56, 0x34, 0x12, 0};
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(h[54 + i], expected[i]) << i;
}

TEST(JpegFile, HasTheSegmentsTablesAndSamplingOfABaselineJfifFile) {
    PixelBuffer p = Gradient(320, 240, 32);
    auto file = EncodeJpeg(p.View(), 80);
    bool restarts = false;
    auto s = Segments(file, restarts);
    std::vector<uint8_t> markers;
    for (auto& seg : s)
        markers.push_back(seg.marker);
    const std::vector<uint8_t> expected{0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4,
                                        0xC4, 0xC4, 0xC4, 0xDA, 0xD9};
    EXPECT_EQ(markers, expected);
    EXPECT_FALSE(restarts);

    // JFIF 1.01, density unit 0, densities 1 and 1, no thumbnail.
    const std::vector<uint8_t> jfif{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(s[1].body, jfif);
    // Two tables with 8-bit entries, table 0 then table 1.
    EXPECT_EQ(s[2].body.size(), 65u);
    EXPECT_EQ(s[2].body[0], 0x00);
    EXPECT_EQ(s[3].body[0], 0x01);
    // SOF0: precision 8, height, width, Y 0x22 table 0, Cb and Cr 0x11 table 1.
    const std::vector<uint8_t> sof{8, 0, 240, 1, 64, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
    EXPECT_EQ(s[4].body, sof);
    // Huffman tables: DC 0, AC 0, DC 1, AC 1, the standard's (DC 0 has 12 values).
    EXPECT_EQ(s[5].body[0], 0x00);
    EXPECT_EQ(s[6].body[0], 0x10);
    EXPECT_EQ(s[7].body[0], 0x01);
    EXPECT_EQ(s[8].body[0], 0x11);
    EXPECT_EQ(s[5].body.size(), 1u + 16 + 12);
    EXPECT_EQ(s[6].body.size(), 1u + 16 + 162);
    // One scan with all three components.
    EXPECT_EQ(s[9].body[0], 3);
}

TEST(JpegFile, QualityScalesTheStandardTables) {
    PixelBuffer p = Gradient(64, 48, 32);
    std::map<int, std::vector<int>> luma;
    for (int quality : {0, 1, 50, 80, 100}) {
        bool restarts;
        auto s = Segments(EncodeJpeg(p.View(), quality), restarts);
        ASSERT_EQ(s[2].marker, 0xDB);
        auto y = Natural(TableOf(s[2]));
        auto c = Natural(TableOf(s[3]));
        EXPECT_EQ(y, Scaled(kLuminance, quality)) << "quality " << quality;
        EXPECT_EQ(c, Scaled(kChrominance, quality)) << "quality " << quality;
        luma[quality] = y;
    }
    EXPECT_EQ(luma[100], std::vector<int>(64, 1));
    EXPECT_EQ(luma[50], std::vector<int>(kLuminance, kLuminance + 64));
}

TEST(JpegFile, QualityZeroAndOneGiveTheSameBytes) {
    PixelBuffer p = Gradient(100, 60, 32);
    EXPECT_EQ(EncodeJpeg(p.View(), 0), EncodeJpeg(p.View(), 1));
}

TEST(JpegFile, FeedingBitmapRowsDirectlyGivesTheBytesOfTheConvertedPath) {
    for (int bpp : {32, 24}) {
        for (auto [w, h] : {std::pair{320, 240}, std::pair{17, 9}, std::pair{1, 1}}) {
            PixelBuffer p = Gradient(w, h, bpp);
            for (int quality : {10, 80, 100}) {
                EXPECT_EQ(EncodeJpeg(p.View(), quality, JpegInput::Direct),
                          EncodeJpeg(p.View(), quality, JpegInput::ConvertedRgb))
                    << bpp << " bits " << w << "x" << h << " quality " << quality;
            }
        }
    }
}

TEST(JpegFile, DecodesBackToThePictureWithinASmallError) {
    PixelBuffer p = Gradient(256, 128, 32);
    auto file = EncodeJpeg(p.View(), 90);
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    std::vector<uint8_t> row(256 * 3);
    long long error = 0;
    while (d.output_scanline < d.output_height) {
        int y = static_cast<int>(d.output_scanline);
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&d, &r, 1);
        const uint8_t* src = p.Row(y);
        for (int x = 0; x < 256; ++x)
            for (int c = 0; c < 3; ++c)
                error += std::abs(int(row[3 * x + c]) - int(src[4 * x + 2 - c]));
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    EXPECT_LT(static_cast<double>(error) / (256 * 128 * 3), 2.0);
}
