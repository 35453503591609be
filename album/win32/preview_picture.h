#pragma once
// The picture the preview shows: a BMP, JPEG or PNG file read into memory and drawn scaled
// to fit. JPEG and PNG pixels are decoded on the first paint, straight to the size they
// are drawn at.

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
    // Chooses the decoder by the file's last extension, letter case ignored: ".bmp",
    // ".jpg"/".jpeg" or ".png". Throws Error: "Unknown picture file extension (.%s)",
    // "Bitmap image is not valid", "JPEG error #%d", "Cannot open file "%s". %s". A PNG
    // that is not valid loads, and tells its error when drawn.
    static std::unique_ptr<PreviewPicture> Load(const std::wstring& path);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Draws the picture fitted into the area. A JPEG or PNG whose data turns out damaged
    // draws nothing, now and later; its error text is returned once, for the caller to
    // report after painting. While the area is being resized (a drag of the window's
    // frame), the pixels kept from the last decode are stretched instead of decoding
    // again at each step; they are decoded with room to grow when the area outgrows them.
    std::wstring Draw(HDC dc, const RECT& area, bool resizing = false);

private:
    enum class Kind { Bmp, Jpeg, Png };
    Kind kind_ = Kind::Bmp;
    std::vector<uint8_t> file_;
    BmpPicture bmp_;
    std::optional<DecodedPicture> decoded_;
    bool failed_ = false;
    std::wstring error_; // found at load, told at the first drawing
    int width_ = 0, height_ = 0;
};

} // namespace vistrel
