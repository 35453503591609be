#include "album/png_reader.h"

#include "album/picture_limits.h"
#include "base/bitmap_rows.h"
#include "base/error.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <spng.h>
#include <zlib.h>

namespace vistrel {

namespace {

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

[[noreturn]] void Invalid(std::wstring reason) {
    throw Error(L"PNG image is not valid (" + reason + L")");
}

[[noreturn]] void Invalid(int code) {
    Invalid(WidenAscii(spng_strerror(code)));
}

void Check(int code) {
    if (code != 0)
        Invalid(code);
}

// libspng 0.7.3 takes a file cut inside the end chunk's checksum for whole (it reads the
// missing bytes' end-of-data code as "discard this chunk"). It has read up to the end chunk
// and stopped there, so such a file ends in part of an end chunk, from its type on.
bool EndChunkCut(std::span<const uint8_t> file) {
    static const uint8_t kEnd[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    for (size_t kept = 8; kept < sizeof kEnd; ++kept)
        if (file.size() >= kept && std::memcmp(file.data() + file.size() - kept, kEnd, kept) == 0)
            return true;
    return false;
}

uint32_t Big32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The header chunk comes first, right after the 8-byte signature. libspng checks its
// checksum only once it reads on, so a size is not told from a damaged header.
constexpr size_t kHeaderEnd = 8 + 8 + 13 + 4;
bool HeaderChecksumRight(std::span<const uint8_t> file) {
    return file.size() >= kHeaderEnd &&
           crc32(0, file.data() + 12, 4 + 13) == Big32(file.data() + kHeaderEnd - 4);
}

// The header is read and checked against the preview's bounds before anything else.
Context Open(std::span<const uint8_t> file, spng_ihdr* ihdr) {
    Context ctx(spng_ctx_new(0));
    if (!ctx)
        throw Error(L"Out of memory");
    spng_ctx* c = ctx.get();
    // A damaged ancillary chunk is an error too, not quietly dropped: the file is broken.
    Check(spng_set_crc_action(c, SPNG_CRC_ERROR, SPNG_CRC_ERROR));
    // libspng keeps its own limits (any size PNG allows): a picture beyond the preview's is
    // told by its size below, not as a library error.
    Check(spng_set_chunk_limits(c, kMaxPngChunkBytes, kMaxPngChunkMemory));
    // libspng refuses an empty buffer as a wrong argument; for a file, that is its end.
    Check(file.empty() ? SPNG_IO_EOF : spng_set_png_buffer(c, file.data(), file.size()));
    int code = spng_get_ihdr(c, ihdr);
    // Rows of half a billion pixels and more overflow libspng's arithmetic; it has checked
    // every field of the header by then, so the size is the header's own.
    if (code == SPNG_EOVERFLOW && file.size() >= kHeaderEnd) {
        ihdr->width = Big32(file.data() + 16);
        ihdr->height = Big32(file.data() + 20);
        if (PreviewSizeAllowed(ihdr->width, ihdr->height))
            Invalid(code);
    } else {
        Check(code);
    }
    if (!PreviewSizeAllowed(ihdr->width, ihdr->height)) {
        if (!HeaderChecksumRight(file))
            Invalid(SPNG_ECHUNK_CRC);
        throw TooLargeToPreview(ihdr->width, ihdr->height);
    }
    return ctx;
}

} // namespace

PngHeader ReadPngHeader(std::span<const uint8_t> file) {
    spng_ihdr ihdr{};
    Open(file, &ihdr);
    return {static_cast<int>(ihdr.width), static_cast<int>(ihdr.height)};
}

DecodedPicture DecodePng(std::span<const uint8_t> file, int targetWidth, int targetHeight) {
    spng_ihdr ihdr{};
    Context ctx = Open(file, &ihdr);
    spng_ctx* c = ctx.get();
    const int width = static_cast<int>(ihdr.width), height = static_cast<int>(ihdr.height);
    if (targetWidth <= 0 || targetHeight <= 0) {
        targetWidth = width;
        targetHeight = height;
    }
    if (!PreviewSizeAllowed(targetWidth, targetHeight))
        throw Error(L"Out of memory");

    // Without transparency libspng gives red, green, blue of every kind directly; with it,
    // red, green, blue, alpha, which is then laid on black here.
    spng_trns trns{};
    int hasTrns = spng_get_trns(c, &trns);
    if (hasTrns != 0 && hasTrns != SPNG_ECHUNKAVAIL)
        Invalid(hasTrns);
    const bool alpha = hasTrns == 0 || ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                       ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    const int format = alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
    const size_t pixelBytes = alpha ? 4 : 3;
    Check(spng_decode_image(c, nullptr, 0, format,
                            SPNG_DECODE_PROGRESSIVE | (alpha ? SPNG_DECODE_TRNS : 0)));

    DecodedPicture picture;
    picture.sourceWidth = width;
    picture.sourceHeight = height;
    picture.width = targetWidth;
    picture.height = targetHeight;
    picture.bitsPerPixel = 24;
    picture.stride = static_cast<size_t>(BitmapRowBytes(static_cast<uint64_t>(targetWidth), 24));
    picture.bits.assign(picture.stride * static_cast<size_t>(targetHeight), 0);
    std::vector<int> columns(static_cast<size_t>(targetWidth)),
        rows(static_cast<size_t>(targetHeight));
    for (int x = 0; x < targetWidth; ++x)
        columns[static_cast<size_t>(x)] = NearestSource(x, targetWidth, width);
    for (int y = 0; y < targetHeight; ++y)
        rows[static_cast<size_t>(y)] = NearestSource(y, targetHeight, height);

    auto emit = [&](int target, const uint8_t* source) {
        uint8_t* out = picture.bits.data() + static_cast<size_t>(target) * picture.stride;
        for (int x = 0; x < targetWidth; ++x, out += 3) {
            const uint8_t* p =
                source + static_cast<size_t>(columns[static_cast<size_t>(x)]) * pixelBytes;
            if (alpha) {
                unsigned a = p[3];
                out[0] = static_cast<uint8_t>((p[2] * a + 127) / 255);
                out[1] = static_cast<uint8_t>((p[1] * a + 127) / 255);
                out[2] = static_cast<uint8_t>((p[0] * a + 127) / 255);
            } else {
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
            }
        }
    };

    // Rows arrive in order unless interlaced; then each row is visited by several passes,
    // so the full-width rows the target shows are kept until the last pass.
    const size_t rowBytes = static_cast<size_t>(width) * pixelBytes;
    const bool interlaced = ihdr.interlace_method != SPNG_INTERLACE_NONE;
    std::vector<uint8_t> scratch(rowBytes), kept;
    std::vector<int> slot;
    if (interlaced) {
        slot.assign(static_cast<size_t>(height), -1);
        int slots = 0;
        for (int source : rows)
            if (slot[static_cast<size_t>(source)] < 0)
                slot[static_cast<size_t>(source)] = slots++;
        kept.resize(static_cast<size_t>(slots) * rowBytes);
    }
    auto keptRow = [&](int source) {
        return kept.data() + static_cast<size_t>(slot[static_cast<size_t>(source)]) * rowBytes;
    };

    // The end of the pixels is told by the last row's decoding, or (for interlaced files
    // whose last pass is not the seventh, where libspng 0.7.3 does not tell it) by the row
    // information that follows.
    int next = 0; // the next target row to fill, when rows arrive in order
    for (int code = 0; code != SPNG_EOI;) {
        spng_row_info info{};
        code = spng_get_row_info(c, &info);
        if (code == SPNG_EOI)
            break;
        Check(code);
        const int y = static_cast<int>(info.row_num);
        uint8_t* out =
            interlaced && slot[static_cast<size_t>(y)] >= 0 ? keptRow(y) : scratch.data();
        code = spng_decode_row(c, out, rowBytes);
        if (code != 0 && code != SPNG_EOI)
            Invalid(code);
        for (; !interlaced && next < targetHeight && rows[static_cast<size_t>(next)] == y; ++next)
            emit(next, out);
    }
    if (interlaced)
        for (int y = 0; y < targetHeight; ++y)
            emit(y, keptRow(rows[static_cast<size_t>(y)]));
    // The rest of the file up to its end marker, so that damage there is found too.
    Check(spng_decode_chunks(c));
    if (EndChunkCut(file))
        Invalid(SPNG_IO_EOF);
    return picture;
}

} // namespace vistrel
