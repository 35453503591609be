#pragma once
// The picture the preview shows: a BMP or JPEG file read into memory and drawn scaled to
// fit. A JPEG's pixels are decoded on its first paint, straight to the size they are
// drawn at.

#include "album/bmp_reader.h"
#include "album/jpeg_reader.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vistrel {

class PreviewPicture {
public:
    // Chooses the decoder by the file's last extension, letter case ignored: ".bmp", or
    // ".jpg"/".jpeg". Throws Error: "Unknown picture file extension (.%s)", "Bitmap image
    // is not valid", "JPEG error #%d", "Cannot open file "%s". %s".
    static std::unique_ptr<PreviewPicture> Load(const std::wstring& path);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Draws the picture fitted into the area. A JPEG whose data turns out to be damaged
    // draws nothing, now and later; its error text is returned once, for the caller to
    // report after painting. While the area is being resized (a drag of the window's
    // frame), the pixels kept from the last decode are stretched instead of decoding
    // again at each step; they are decoded with room to grow when the area outgrows them.
    std::wstring Draw(HDC dc, const RECT& area, bool resizing = false);

private:
    enum class Kind { Bmp, Jpeg };
    Kind kind_ = Kind::Bmp;
    std::vector<uint8_t> file_;
    BmpPicture bmp_;
    std::optional<DecodedPicture> decoded_;
    bool failed_ = false;
    int width_ = 0, height_ = 0;
};

} // namespace vistrel
