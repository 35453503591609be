#include "tests/wine/support/images.h"

#include "tools/standin/pattern.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <jpeglib.h>
#include <spng.h>

namespace testing_support {

std::vector<uint8_t> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

namespace {
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
} // namespace

RgbImage ReadBmp(const std::vector<uint8_t>& b, int* bitsPerPixel) {
    RgbImage img;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return img;
    int w = static_cast<int>(U32(b, 18)), h = static_cast<int>(U32(b, 22));
    int bpp = b[28] | (b[29] << 8);
    if (bitsPerPixel)
        *bitsPerPixel = bpp;
    if ((bpp != 24 && bpp != 32) || w <= 0 || h <= 0)
        return img;
    size_t stride = (static_cast<size_t>(w) * bpp / 8 + 3) & ~size_t{3};
    size_t offset = U32(b, 10);
    if (offset + stride * h > b.size())
        return img;
    img.width = w;
    img.height = h;
    img.rgb.resize(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = b.data() + offset + stride * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const uint8_t* px = row + x * (bpp / 8);
            uint8_t* out = img.rgb.data() + (static_cast<size_t>(y) * w + x) * 3;
            out[0] = px[2];
            out[1] = px[1];
            out[2] = px[0];
        }
    }
    return img;
}

RgbImage ReadJpeg(const std::vector<uint8_t>& bytes) {
    RgbImage img;
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, const_cast<unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    img.width = static_cast<int>(d.output_width);
    img.height = static_cast<int>(d.output_height);
    img.rgb.resize(static_cast<size_t>(img.width) * img.height * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = img.rgb.data() + static_cast<size_t>(d.output_scanline) * img.width * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return img;
}

RgbImage ReadPng(const std::vector<uint8_t>& bytes) {
    RgbImage img;
    spng_ctx* ctx = spng_ctx_new(0);
    spng_ihdr ihdr{};
    size_t size = 0;
    if (ctx && spng_set_png_buffer(ctx, bytes.data(), bytes.size()) == 0 &&
        spng_get_ihdr(ctx, &ihdr) == 0 && ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR &&
        ihdr.bit_depth == 8 && spng_decoded_image_size(ctx, SPNG_FMT_RGB8, &size) == 0) {
        img.rgb.resize(size);
        if (spng_decode_image(ctx, img.rgb.data(), size, SPNG_FMT_RGB8, 0) == 0) {
            img.width = static_cast<int>(ihdr.width);
            img.height = static_cast<int>(ihdr.height);
        } else {
            img.rgb.clear();
        }
    }
    spng_ctx_free(ctx);
    return img;
}

double MeanErrorAgainstPattern(const RgbImage& image, int dx, int dy) {
    long long sum = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            standin::Rgb c = standin::PatternPixel(x + dx, y + dy);
            const uint8_t* p = image.At(x, y);
            sum += std::abs(p[0] - c.r) + std::abs(p[1] - c.g) + std::abs(p[2] - c.b);
        }
    return image.width ? static_cast<double>(sum) / (3.0 * image.width * image.height) : 1e9;
}

int PixelsOffPattern(const RgbImage& image, int dx, int dy) {
    int off = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            standin::Rgb c = standin::PatternPixel(x + dx, y + dy);
            const uint8_t* p = image.At(x, y);
            off += p[0] != c.r || p[1] != c.g || p[2] != c.b;
        }
    return off;
}

} // namespace testing_support
