#pragma once
// A picture's rows as a PNG holds them (8-bit red, green, blue, each row filtered by Sub),
// compressed into one raw deflate stream in horizontal strips on several threads at once.
// Besides the file, no more than a few megabytes a thread are held at once.

#include "capture/pixels.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistrel {

// Throws Error("PNG image could not be made (<reason>)").
[[noreturn]] void FailPng(const char* reason);

struct CompressedRows {
    uint32_t adler; // the zlib stream's checksum of the filtered rows
    uint32_t crc;   // crc continued over the bytes appended
};

// Appends the stream, made of about this many strips (fewer for a small picture, more for
// a large one) on at most this many threads, to file. The picture's filtered rows take at
// most 2^31 - 1 bytes.
CompressedRows AppendCompressedRows(const PixelView& view, size_t strips, size_t threads,
                                    std::vector<uint8_t>& file, uint32_t crc);

} // namespace vistrel
