#include "capture/resample.h"

#include <cstring>
#include <new>
#include <vector>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STBIR_ASSERT(x) ((void)0)
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-function"
#pragma clang diagnostic ignored "-Wmissing-field-initializers"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif
#include <stb_image_resize.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace vistrel {

bool PhotoSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPhotoSide && height <= kMaxPhotoSide &&
           width * height <= kMaxPhotoPixels;
}

namespace {

stbir_filter FilterFor(int from, int to) {
    return to < from ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
}

bool Resize(const uint8_t* in, int inW, int inH, size_t inStride, uint8_t* out, int outW, int outH,
            size_t outStride, int channels) {
    // Bottom-up rows on both sides: resampling does not care which row comes first.
    return stbir_resize(in, inW, inH, static_cast<int>(inStride), out, outW, outH,
                        static_cast<int>(outStride), STBIR_TYPE_UINT8, channels,
                        STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                        FilterFor(inW, outW), FilterFor(inH, outH), STBIR_COLORSPACE_LINEAR,
                        nullptr) != 0;
}

// The palette entry nearest to a colour, remembered per 15-bit colour.
class NearestColour {
public:
    NearestColour(const uint32_t* palette, int size)
        : palette_(palette), size_(size), cache_(32768, -1) {}
    uint8_t Index(uint8_t r, uint8_t g, uint8_t b) {
        int key = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        if (cache_[key] < 0) {
            long best = -1;
            int bestIndex = 0;
            for (int i = 0; i < size_; ++i) {
                uint32_t c = palette_[i];
                long dr = static_cast<long>((c >> 16) & 255) - r;
                long dg = static_cast<long>((c >> 8) & 255) - g;
                long db = static_cast<long>(c & 255) - b;
                long d = dr * dr + dg * dg + db * db;
                if (best < 0 || d < best) {
                    best = d;
                    bestIndex = i;
                }
            }
            cache_[key] = bestIndex;
        }
        return static_cast<uint8_t>(cache_[key]);
    }

private:
    const uint32_t* palette_;
    int size_;
    std::vector<int> cache_;
};

} // namespace

bool ResamplePixels(const PixelView& source, const PixelView& target, uint8_t* out) {
    if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0)
        return false;
    if (source.bitsPerPixel != target.bitsPerPixel)
        return false;
    try {
        if (source.bitsPerPixel == 32 || source.bitsPerPixel == 24) {
            return Resize(source.bits, source.width, source.height, source.Stride(), out,
                          target.width, target.height, target.Stride(), source.bitsPerPixel / 8);
        }
        // Other formats go through red, green, blue and back.
        const size_t inStride = static_cast<size_t>(source.width) * 3;
        const size_t outStride = static_cast<size_t>(target.width) * 3;
        std::vector<uint8_t> rgbIn(inStride * source.height), rgbOut(outStride * target.height);
        for (int y = 0; y < source.height; ++y)
            RowToRgb(source, y, rgbIn.data() + inStride * y);
        if (!Resize(rgbIn.data(), source.width, source.height, inStride, rgbOut.data(),
                    target.width, target.height, outStride, 3))
            return false;
        NearestColour nearest(target.palette, target.paletteSize);
        const size_t stride = target.Stride();
        for (int y = 0; y < target.height; ++y) {
            const uint8_t* rgb = rgbOut.data() + outStride * y;
            uint8_t* row = out + static_cast<size_t>(target.height - 1 - y) * stride;
            std::memset(row, 0, stride);
            for (int x = 0; x < target.width; ++x, rgb += 3) {
                switch (target.bitsPerPixel) {
                case 16: {
                    unsigned v = ((rgb[0] >> 3) << 10) | ((rgb[1] >> 3) << 5) | (rgb[2] >> 3);
                    row[2 * x] = static_cast<uint8_t>(v);
                    row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                    break;
                }
                case 8:
                    row[x] = nearest.Index(rgb[0], rgb[1], rgb[2]);
                    break;
                case 4:
                    row[x / 2] |= static_cast<uint8_t>(nearest.Index(rgb[0], rgb[1], rgb[2])
                                                       << (x % 2 ? 0 : 4));
                    break;
                case 1:
                    row[x / 8] |= static_cast<uint8_t>((nearest.Index(rgb[0], rgb[1], rgb[2]) & 1)
                                                       << (7 - x % 8));
                    break;
                default:
                    return false;
                }
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace vistrel
