#pragma once
// The photo bitmap: a device-independent bitmap in the screen's own pixel format (its
// colour depth, and its palette on palette screens), so that a copy from the screen is
// one to one and the pixels can be written as they are.

#include "base/win32/handles.h"
#include "capture/pixels.h"

#include <vector>

namespace vistrel {

class PhotoBitmap {
public:
    // A bitmap of the given size in the screen's format. Throws Error("Out of system
    // resources") when it cannot be created.
    PhotoBitmap(int width, int height);
    // A bitmap of the given size in another bitmap's format and palette.
    PhotoBitmap(int width, int height, const PhotoBitmap& formatOf);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    PixelView View() const;

    // How pixels are copied between drawing surfaces: BitBlt, unless a test puts a failing
    // copy in its place.
    using CopyFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);

    // Copies the screen's pixels from the given point, one to one; what lies off the
    // screen is black. Throws Error with the system's reason when the copy fails (a black
    // picture is never taken for the view).
    void CopyFromScreen(int left, int top, CopyFunction copy = ::BitBlt);

private:
    void Create(int width, int height, int bitsPerPixel, std::vector<uint32_t> palette);

    int width_ = 0, height_ = 0, bitsPerPixel_ = 32;
    std::vector<uint32_t> palette_;
    UniqueBitmap dib_;
    uint8_t* bits_ = nullptr;
};

// Replaces the bitmap's picture by a resampled copy of the given size. Throws Error when
// the size is not allowed (see PhotoSizeAllowed) or resampling fails.
void StretchBitmap(PhotoBitmap& bitmap, int width, int height);

} // namespace vistrel
