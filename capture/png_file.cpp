#include "capture/png_file.h"

#include "capture/png_rows.h"

#include <algorithm>
#include <iterator>
#include <thread>

#include <zlib.h>

namespace vistrel {

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

// A chunk's length, type and data are in place from start on; its CRC, of its type and
// data, goes after them.
void EndChunk(std::vector<uint8_t>& out, size_t start, uLong crc) {
    const size_t length = out.size() - start - 8;
    for (int i = 0; i < 4; ++i)
        out[start + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (24 - 8 * i));
    PutBigEndian(out, static_cast<uint32_t>(crc));
}

uLong CrcSince(const std::vector<uint8_t>& out, size_t start, uLong crc = 0) {
    return crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
}

void EndChunk(std::vector<uint8_t>& out, size_t start) {
    EndChunk(out, start, CrcSince(out, start + 4));
}

void BeginChunk(std::vector<uint8_t>& out, const char (&type)[5]) {
    PutBigEndian(out, 0);
    out.insert(out.end(), type, type + 4);
}

} // namespace

std::vector<uint8_t> EncodePng(const PixelView& view) {
    const size_t cores = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 16);
    // Two strips a thread, so that what the threads hold at once stays below half the
    // picture.
    return EncodePngInStrips(view, 2 * cores, cores);
}

std::vector<uint8_t> EncodePngInStrips(const PixelView& view, size_t strips, size_t threads) {
    if (view.width <= 0)
        FailPng("invalid image width");
    if (view.height <= 0)
        FailPng("invalid image height");
    // Lengths given to zlib (a strip's, a combined checksum's) are 32-bit signed on Windows.
    const uint64_t rawBytes =
        (1 + uint64_t{static_cast<uint32_t>(view.width)} * 3) * static_cast<uint32_t>(view.height);
    if (rawBytes > 0xFFFFFFFFu / 2)
        FailPng("image too large");

    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> file(std::begin(kSignature), std::end(kSignature));
    // The strips' encoder sees to the room for the rest.
    file.reserve(8 + 25 + 12 + 2);

    // 8-bit red, green, blue, not interlaced.
    size_t chunk = file.size();
    BeginChunk(file, "IHDR");
    PutBigEndian(file, static_cast<uint32_t>(view.width));
    PutBigEndian(file, static_cast<uint32_t>(view.height));
    file.insert(file.end(), {8, 2, 0, 0, 0});
    EndChunk(file, chunk);

    // One zlib stream in one IDAT chunk: its header (fastest level), the strips, the
    // combined checksum.
    chunk = file.size();
    BeginChunk(file, "IDAT");
    file.insert(file.end(), {0x78, 0x01});
    const CompressedRows rows = AppendCompressedRows(
        view, strips, threads, file, static_cast<uint32_t>(CrcSince(file, chunk + 4)));
    // The chunk's length is at most 2^31 - 1.
    if (file.size() - chunk - 8 > 0x7FFFFFFFu - 4)
        FailPng("image too large");
    const size_t checksum = file.size();
    PutBigEndian(file, rows.adler);
    EndChunk(file, chunk, CrcSince(file, checksum, rows.crc));

    chunk = file.size();
    BeginChunk(file, "IEND");
    EndChunk(file, chunk);
    return file;
}

} // namespace vistrel
