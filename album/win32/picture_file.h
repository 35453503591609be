#pragma once
// A picture file as the album reads it, and the headers with which GDI is handed its
// pixels (built from checked values only).

#include "album/bmp_reader.h"
#include "album/jpeg_reader.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vistrel {

// The whole file. Throws Error("Cannot open file "%s". %s"), or "Out of memory" for a file
// larger than the largest picture the album reads.
std::vector<uint8_t> ReadPictureFile(const std::wstring& path);

struct DrawHeader {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{}; // the palette, or the three masks of BI_BITFIELDS
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// For the pixels of a BMP file as ParseBmp read it, rows as the file stores them.
DrawHeader DrawHeaderOf(const BmpPicture& bmp);
// For decoded pixels, rows from the top.
DrawHeader DrawHeaderOf(const DecodedPicture& picture);

} // namespace vistrel
