#include "album/bmp_reader.h"

#include "album/picture_limits.h"
#include "base/bitmap_rows.h"
#include "base/error.h"

namespace vistrel {

namespace {

[[noreturn]] void Invalid() {
    throw Error(L"Bitmap image is not valid");
}

uint32_t U16(std::span<const uint8_t> b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

// A mask must be one run of set bits within the pixel.
bool GoodMask(uint32_t mask, int bits) {
    if (mask == 0 || (bits < 32 && (mask >> bits) != 0))
        return false;
    uint32_t low = mask & (0u - mask);
    uint32_t run = mask + low;
    return (run & mask) == 0;
}

} // namespace

BmpPicture ParseBmp(std::span<const uint8_t> file) {
    BmpPicture p;
    if (file.empty())
        return p;
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        Invalid();
    if (file.size() < 14 + 12)
        Invalid();
    const size_t headerSize = U32(file, 14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 &&
        headerSize != 108 && headerSize != 124)
        Invalid();
    if (14 + headerSize > file.size())
        Invalid();

    int64_t width, height;
    uint32_t planes, bpp, compression = 0, coloursUsed = 0;
    if (core) {
        width = U16(file, 18);
        height = static_cast<int16_t>(U16(file, 20));
        planes = U16(file, 22);
        bpp = U16(file, 24);
    } else {
        width = static_cast<int32_t>(U32(file, 18));
        height = static_cast<int32_t>(U32(file, 22));
        planes = U16(file, 26);
        bpp = U16(file, 28);
        compression = U32(file, 30);
        coloursUsed = U32(file, 46);
    }
    if (planes != 1)
        Invalid();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        Invalid();
    constexpr uint32_t kRgb = 0, kBitFields = 3;
    if (compression != kRgb && !(compression == kBitFields && (bpp == 16 || bpp == 32)))
        Invalid();
    // A bottom-up picture of -2^31 rows has no top-down form.
    if (width <= 0 || height == 0 || height == INT32_MIN)
        Invalid();
    p.topDown = height < 0;
    if (height < 0)
        height = -height;

    size_t tableStart = 14 + headerSize;
    if (compression == kBitFields) {
        // The masks follow a 40-byte header; larger headers hold them inside.
        size_t at = headerSize == 40 ? tableStart : 14 + 40;
        if (at + 12 > file.size())
            Invalid();
        for (int i = 0; i < 3; ++i) {
            p.masks[i] = U32(file, at + 4 * static_cast<size_t>(i));
            if (!GoodMask(p.masks[i], static_cast<int>(bpp)))
                Invalid();
        }
        if (headerSize == 40)
            tableStart += 12;
        p.bitFields = true;
    }

    if (bpp <= 8) {
        const uint32_t maxColours = 1u << bpp;
        if (coloursUsed > maxColours)
            Invalid();
        uint32_t count = coloursUsed ? coloursUsed : maxColours;
        size_t entry = core ? 3 : 4;
        if (tableStart + count * entry > file.size())
            Invalid();
        p.palette.resize(maxColours, 0); // entries the file lacks are black
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* c = file.data() + tableStart + i * entry;
            p.palette[i] = (uint32_t{c[2]} << 16) | (uint32_t{c[1]} << 8) | c[0];
        }
        tableStart += count * entry;
    } else if (!core && coloursUsed > 65536) {
        Invalid();
    }

    const size_t offset = U32(file, 10);
    if (offset < tableStart)
        Invalid();
    if (offset > file.size())
        Invalid();
    // Rows past the end make the file damaged, whatever its size; only a whole picture is
    // told as too large. (Division: rows times height may not fit 64 bits.)
    const uint64_t stride = BitmapRowBytes(static_cast<uint64_t>(width), bpp);
    if (static_cast<uint64_t>(height) > (file.size() - offset) / stride)
        Invalid();
    if (!PreviewSizeAllowed(width, height))
        throw TooLargeToPreview(width, height);

    p.empty = false;
    p.width = static_cast<int>(width);
    p.height = static_cast<int>(height);
    p.bitsPerPixel = static_cast<int>(bpp);
    p.pixelOffset = offset;
    p.stride = static_cast<size_t>(stride);
    return p;
}

} // namespace vistrel
