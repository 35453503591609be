// The preview's readers: what they accept, and how they refuse everything else.

#include "album/bmp_reader.h"
#include "album/jpeg_reader.h"
#include "album/picture_kind.h"
#include "album/png_reader.h"
#include "base/error.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "tests/native/support/decoded.h"
#include "tests/native/support/error_of.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

using namespace vistrel;
using testing_support::ErrorOf;
using testing_support::PixelsNotPickedFrom;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

std::vector<uint8_t> BmpFile(int w, int h, int bpp) {
    PixelBuffer p(w, h, bpp);
    if (bpp <= 8)
        p.palette.assign(size_t{1} << bpp, 0x00808080);
    for (size_t i = 0; i < p.bits.size(); ++i)
        p.bits[i] = static_cast<uint8_t>(i * 7);
    auto file = BmpFileHeaders(p.View());
    file.insert(file.end(), p.bits.begin(), p.bits.end());
    return file;
}

std::vector<uint8_t> JpegFile(int w, int h, int quality = 80) {
    PixelBuffer p(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* px = p.Row(y) + 4 * x;
            px[0] = static_cast<uint8_t>(x), px[1] = static_cast<uint8_t>(y), px[2] = 200;
        }
    return EncodeJpeg(p.View(), quality);
}

// A PNG of its signature and header chunk alone: all the reader needs for the size.
std::vector<uint8_t> PngHeaderOnly(uint32_t w, uint32_t h, uint8_t type = 2, uint8_t depth = 8) {
    std::vector<uint8_t> f{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                           0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    auto put = [&](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            f.push_back(static_cast<uint8_t>(v >> shift));
    };
    put(w), put(h);
    f.insert(f.end(), {depth, type, 0, 0, 0});
    put(static_cast<uint32_t>(crc32(0, f.data() + 12, 17)));
    return f;
}

const std::wstring kInvalidBmp = L"Bitmap image is not valid";

} // namespace

TEST(PictureKind, IsChosenByTheLastExtensionAloneWithoutRegardToCase) {
    EXPECT_EQ(PictureKindOf(L"C:\\a.b\\x.BMP"), PictureKind::Bmp);
    EXPECT_EQ(PictureKindOf(L"x.png.Jpeg"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf(L"/a/x.jpg"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf(L"x.pNg"), PictureKind::Png);
    EXPECT_EQ(testing_support::ErrorOf([] { PictureKindOf(L"x.jpg.gif"); }),
              L"Unknown picture file extension (.gif)");
    EXPECT_EQ(testing_support::ErrorOf([] { PictureKindOf(L"C:\\a.jpg\\x"); }),
              L"Unknown picture file extension (.)");
}

TEST(BmpReader, AcceptsTheProgramsOwnPhotosOfEveryDepth) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        auto file = BmpFile(13, 7, bpp);
        BmpPicture p = ParseBmp(file);
        EXPECT_FALSE(p.empty);
        EXPECT_EQ(p.width, 13);
        EXPECT_EQ(p.height, 7);
        EXPECT_EQ(p.bitsPerPixel, bpp);
        EXPECT_FALSE(p.topDown);
        EXPECT_EQ(p.pixelOffset + p.stride * 7, file.size());
        EXPECT_EQ(p.palette.size(), bpp <= 8 ? size_t{1} << bpp : 0u);
    }
}

TEST(BmpReader, ZeroBytesIsAnEmptyPictureAndTopDownAndBitFieldsAreRead) {
    EXPECT_TRUE(ParseBmp({}).empty);

    auto file = BmpFile(4, 3, 24);
    Put32(file, 22, static_cast<uint32_t>(-3));
    BmpPicture top = ParseBmp(file);
    EXPECT_TRUE(top.topDown);
    EXPECT_EQ(top.height, 3);

    // A 32-bit BI_BITFIELDS picture: masks after the 40-byte header.
    std::vector<uint8_t> bf(54 + 12 + 4 * 2 * 2, 0);
    bf[0] = 'B', bf[1] = 'M';
    Put32(bf, 2, static_cast<uint32_t>(bf.size()));
    Put32(bf, 10, 66);
    Put32(bf, 14, 40);
    Put32(bf, 18, 2);
    Put32(bf, 22, 2);
    Put16(bf, 26, 1);
    Put16(bf, 28, 32);
    Put32(bf, 30, 3);
    Put32(bf, 54, 0x00FF0000);
    Put32(bf, 58, 0x0000FF00);
    Put32(bf, 62, 0x000000FF);
    BmpPicture p = ParseBmp(bf);
    EXPECT_TRUE(p.bitFields);
    EXPECT_EQ(p.masks[0], 0x00FF0000u);
    EXPECT_EQ(p.pixelOffset, 66u);
    Put32(bf, 58, 0x0000F0F0); // not one run of bits
    EXPECT_EQ(ErrorOf([&] { ParseBmp(bf); }), kInvalidBmp);
}

TEST(BmpReader, RefusesEveryBadFieldBeforeTouchingPixels) {
    auto good = BmpFile(20, 10, 8);
    struct Damage {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const Damage damages[] = {
        {"no BM", [](auto& b) { b[0] = 'M'; }},
        {"header size", [](auto& b) { Put32(b, 14, 41); }},
        {"header past the end", [](auto& b) { Put32(b, 14, 124), b.resize(100); }},
        {"planes", [](auto& b) { Put16(b, 26, 2); }},
        {"bit count", [](auto& b) { Put16(b, 28, 7); }},
        {"RLE compression", [](auto& b) { Put32(b, 30, 1); }},
        {"JPEG compression", [](auto& b) { Put32(b, 30, 4); }},
        {"bit fields on 8 bits", [](auto& b) { Put32(b, 30, 3); }},
        {"zero width", [](auto& b) { Put32(b, 18, 0); }},
        {"negative width", [](auto& b) { Put32(b, 18, static_cast<uint32_t>(-20)); }},
        {"zero height", [](auto& b) { Put32(b, 22, 0); }},
        {"huge, its rows missing", [](auto& b) { Put32(b, 18, 60000), Put32(b, 22, 60000); }},
        {"most negative height", [](auto& b) { Put32(b, 22, 0x80000000u); }},
        {"too many colours", [](auto& b) { Put32(b, 46, 257); }},
        {"colour table past the end", [](auto& b) { b.resize(54 + 100); }},
        {"pixels before the table", [](auto& b) { Put32(b, 10, 60); }},
        {"pixels past the end", [](auto& b) { Put32(b, 10, 0xFFFFFFF0u); }},
        {"truncated rows", [](auto& b) { b.resize(b.size() - 1); }},
        {"too short", [](auto& b) { b.resize(20); }},
        {"just BM", [](auto& b) { b.resize(2); }},
    };
    for (const Damage& d : damages) {
        auto file = good;
        d.apply(file);
        EXPECT_EQ(ErrorOf([&] { ParseBmp(file); }), kInvalidBmp) << d.what;
    }
    // A 16-bit picture whose width times bits overflows 32 bits is refused by the bound.
    auto wide = BmpFile(4, 4, 16);
    Put32(wide, 18, 0x7FFFFFFF);
    EXPECT_EQ(ErrorOf([&] { ParseBmp(wide); }), kInvalidBmp);
}

TEST(BmpReader, AWholePictureBeyondThePreviewsLimitIsToldByItsSize) {
    EXPECT_EQ(ParseBmp(BmpFile(65535, 2, 1)).width, 65535);
    auto wide = BmpFile(65536, 2, 1);
    EXPECT_EQ(ErrorOf([&] { ParseBmp(wide); }),
              L"The picture is 65536 by 2 pixels: too large to preview");
    Put32(wide, 22, static_cast<uint32_t>(-2)); // top-down
    EXPECT_EQ(ErrorOf([&] { ParseBmp(wide); }),
              L"The picture is 65536 by 2 pixels: too large to preview");
}

TEST(JpegReader, ReadsTheHeaderAndDecodesAtFullSize) {
    auto file = JpegFile(65, 33);
    JpegHeader h = ReadJpegHeader(file);
    EXPECT_EQ(h.width, 65);
    EXPECT_EQ(h.height, 33);
    EXPECT_FALSE(h.greyscale);
    DecodedPicture d = DecodeJpeg(file, false);
    EXPECT_EQ(d.width, 65);
    EXPECT_EQ(d.height, 33);
    EXPECT_EQ(d.bitsPerPixel, 24);
    EXPECT_EQ(d.stride, 196u);
    // Blue, green, red: the red channel was 200 everywhere.
    EXPECT_NEAR(d.bits[2], 200, 4);
    EXPECT_NEAR(d.bits[d.stride * 20 + 3 * 40 + 2], 200, 4);
}

TEST(JpegReader, DecodingToASizePicksTheSamePixelsAsTheFullPicture) {
    // Noise, so that every pixel differs from its neighbours.
    PixelBuffer p(301, 203, 32);
    uint32_t seed = 12345;
    for (auto& b : p.bits)
        b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    auto file = EncodeJpeg(p.View(), 90);
    DecodedPicture full = DecodeJpeg(file, false);
    for (auto [w, h] : {std::pair{198, 133}, std::pair{40, 200}, std::pair{600, 7}, std::pair{1, 1},
                        std::pair{301, 203}}) {
        DecodedPicture small = DecodeJpeg(file, false, w, h);
        ASSERT_EQ(small.width, w);
        ASSERT_EQ(small.height, h);
        EXPECT_EQ(small.sourceWidth, 301);
        EXPECT_EQ(PixelsNotPickedFrom(small, full), 0) << w << "x" << h;
    }
    EXPECT_EQ(NearestSource(0, 2, 4), 1);
    EXPECT_EQ(NearestSource(1, 2, 4), 3);
    EXPECT_EQ(NearestSource(3, 4, 2), 1) << "enlarging repeats pixels";
}

TEST(JpegReader, PaletteScreensGetAtMost236DitheredColours) {
    auto file = JpegFile(64, 64);
    DecodedPicture d = DecodeJpeg(file, true);
    EXPECT_EQ(d.bitsPerPixel, 8);
    EXPECT_GT(d.palette.size(), 1u);
    EXPECT_LE(d.palette.size(), 236u);
    EXPECT_EQ(d.stride, 64u);
}

TEST(JpegReader, ReportsTheLibrarysMessageNumber) {
    EXPECT_EQ(ErrorOf([] { DecodeJpeg({}, false); }), L"JPEG error #42"); // empty input
    std::vector<uint8_t> text{'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(ErrorOf([&] { ReadJpegHeader(text); }), L"JPEG error #53"); // no SOI
    auto file = JpegFile(16, 16);
    file.resize(20); // cut inside the header
    EXPECT_EQ(ErrorOf([&] { ReadJpegHeader(file); }).substr(0, 12), L"JPEG error #");
}

TEST(JpegReader, RefusesPicturesBeyondTheLimitBeforeDecoding) {
    auto file = JpegFile(16, 16);
    // SOF0: FF C0, length, precision, height, width. Make it 60000 by 60000.
    for (size_t i = 0; i + 9 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = 0xEA, file[i + 6] = 0x60;
            file[i + 7] = 0xEA, file[i + 8] = 0x60;
            break;
        }
    EXPECT_EQ(ErrorOf([&] { ReadJpegHeader(file); }),
              L"The picture is 60000 by 60000 pixels: too large to preview");
    EXPECT_EQ(ErrorOf([&] { DecodeJpeg(file, false); }),
              L"The picture is 60000 by 60000 pixels: too large to preview");
    // Past the library's own limit (65,500 a side).
    for (size_t i = 0; i + 9 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = 0, file[i + 6] = 16;
            file[i + 7] = 0xFF, file[i + 8] = 0xFF;
            break;
        }
    EXPECT_EQ(ErrorOf([&] { ReadJpegHeader(file); }),
              L"The picture is 65535 by 16 pixels: too large to preview");
}

TEST(PngReader, APictureBeyondThePreviewsLimitIsToldByItsSizeFromTheHeaderAlone) {
    const std::wstring tooLarge = L"The picture is 20000 by 20000 pixels: too large to preview";
    EXPECT_EQ(ErrorOf([&] { ReadPngHeader(PngHeaderOnly(20000, 20000)); }), tooLarge);
    EXPECT_EQ(ErrorOf([&] { DecodePng(PngHeaderOnly(20000, 20000), 20, 15); }), tooLarge);
    EXPECT_EQ(ErrorOf([&] { ReadPngHeader(PngHeaderOnly(70000, 10)); }),
              L"The picture is 70000 by 10 pixels: too large to preview");
    // Rows this long overflow the library's own arithmetic.
    EXPECT_EQ(ErrorOf([&] { ReadPngHeader(PngHeaderOnly(0x7FFFFFFF, 1, 6, 16)); }),
              L"The picture is 2147483647 by 1 pixels: too large to preview");
    // The largest sizes the preview takes.
    EXPECT_EQ(ReadPngHeader(PngHeaderOnly(16384, 16384)).width, 16384);
    EXPECT_EQ(ReadPngHeader(PngHeaderOnly(65535, 4096)).width, 65535);
    // A damaged header tells no size.
    for (auto damaged : {PngHeaderOnly(20000, 20000), PngHeaderOnly(0x7FFFFFFF, 1, 6, 16)}) {
        damaged[19] ^= 1;
        EXPECT_EQ(ErrorOf([&] { ReadPngHeader(damaged); }),
                  L"PNG image is not valid (invalid chunk checksum)");
    }
}

TEST(JpegReader, DamagedDataDecodesAsFarAsItGoesWithoutAnError) {
    auto file = JpegFile(256, 256, 100);
    ASSERT_GT(file.size(), 2000u);
    file.resize(file.size() - 1000); // cut in the scan data: the library warns, fills in
    DecodedPicture d = DecodeJpeg(file, false);
    EXPECT_EQ(d.width, 256);
    EXPECT_EQ(d.height, 256);
    // Damaged entropy-coded data in the middle decodes too (no marker in it).
    auto damaged = JpegFile(256, 256, 100);
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 64; ++i)
        damaged[i] = static_cast<uint8_t>(i * 37 & 0x7F);
    EXPECT_EQ(DecodeJpeg(damaged, false).height, 256);
}

TEST(JpegReader, AnErrorAnywhereInTheDataIsReportedAlsoWhenDecodingToAPreviewSize) {
    // A marker the library does not know, early in the entropy-coded data: the rows shown
    // are read before it matters, the error comes when the file is read to its end.
    auto file = JpegFile(640, 480, 90);
    size_t scan = 0;
    for (size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xDA)
            scan = i;
    ASSERT_GT(scan, 0u);
    size_t at = scan + (file.size() - scan) / 3;
    file[at] = 0xFF;
    file[at + 1] = 0x8E;
    for (auto [w, h] : {std::pair{0, 0}, {198, 148}, {20, 15}}) {
        for (bool eightBit : {false, true}) {
            try {
                DecodeJpeg(file, eightBit, w, h);
                ADD_FAILURE() << "decoded to " << w << " by " << h << " without an error";
            } catch (const Error& e) {
                EXPECT_EQ(e.Message(), L"JPEG error #68");
            }
        }
    }
}
