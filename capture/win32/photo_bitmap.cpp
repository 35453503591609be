#include "capture/win32/photo_bitmap.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "capture/resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vistrel {

PhotoBitmap::PhotoBitmap(int width, int height) {
    WindowDC screen = WindowDC::Whole(nullptr);
    int bpp = ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES);
    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        // The screen's own colours, so that the copy needs no colour matching.
        int count = 1 << bpp;
        std::vector<PALETTEENTRY> entries(static_cast<size_t>(count));
        ::GetSystemPaletteEntries(screen.get(), 0, static_cast<UINT>(count), entries.data());
        for (const PALETTEENTRY& e : entries)
            palette.push_back((uint32_t{e.peRed} << 16) | (uint32_t{e.peGreen} << 8) | e.peBlue);
    } else if (bpp != 16 && bpp != 24) {
        bpp = 32;
    }
    Create(width, height, bpp, std::move(palette));
}

PhotoBitmap::PhotoBitmap(int width, int height, const PhotoBitmap& formatOf) {
    Create(width, height, formatOf.bitsPerPixel_, formatOf.palette_);
}

void PhotoBitmap::Create(int width, int height, int bitsPerPixel, std::vector<uint32_t> palette) {
    if (width <= 0 || height <= 0)
        throw Error(L"Out of system resources");
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    palette_ = std::move(palette);
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * palette_.size());
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height; // bottom-up, as the file stores it
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bitsPerPixel);
    header->biCompression = BI_RGB;
    header->biClrUsed = static_cast<DWORD>(palette_.size());
    auto* colours = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    for (size_t i = 0; i < palette_.size(); ++i)
        colours[i] = {static_cast<BYTE>(palette_[i]), static_cast<BYTE>(palette_[i] >> 8),
                      static_cast<BYTE>(palette_[i] >> 16), 0};
    void* bits = nullptr;
    dib_.reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                  DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib_ || !bits)
        throw Error(L"Out of system resources");
    bits_ = static_cast<uint8_t*>(bits);
}

PixelView PhotoBitmap::View() const {
    return {width_, height_,         bitsPerPixel_,
            bits_,  palette_.data(), static_cast<int>(palette_.size())};
}

void PhotoBitmap::CopyFromScreen(int left, int top, CopyFunction copy) {
    WindowDC screen = WindowDC::Whole(nullptr);
    UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    if (!screen || !memory)
        throw Error(L"Out of system resources");
    // Wine copies nothing at all from a rectangle that leaves the screen, so only the part
    // on the virtual screen (all monitors) is copied, into its place; the rest is black,
    // as Windows leaves it.
    const int64_t screenLeft = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int64_t screenTop = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int64_t x0 = std::max<int64_t>(left, screenLeft);
    const int64_t y0 = std::max<int64_t>(top, screenTop);
    const int64_t x1 =
        std::min(int64_t{left} + width_, screenLeft + ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    const int64_t y1 =
        std::min(int64_t{top} + height_, screenTop + ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (x0 != left || y0 != top || x1 - x0 != width_ || y1 - y0 != height_)
        std::memset(bits_, 0, View().Stride() * static_cast<size_t>(height_));
    if (x0 < x1 && y0 < y1) {
        SelectObjectGuard select(memory.get(), dib_.get());
        ::SetLastError(ERROR_SUCCESS);
        if (!copy(memory.get(), static_cast<int>(x0 - left), static_cast<int>(y0 - top),
                  static_cast<int>(x1 - x0), static_cast<int>(y1 - y0), screen.get(),
                  static_cast<int>(x0), static_cast<int>(y0), SRCCOPY)) {
            DWORD code = ::GetLastError();
            throw Error(FormatMessageText(L"Cannot copy the browser's view from the screen. %s",
                                          {SystemErrorText(code ? code : ERROR_GEN_FAILURE)}));
        }
    }
    ::GdiFlush();
    if (bitsPerPixel_ == 32) {
        // The fourth byte of each pixel is unused: keep it 0 whatever the driver left.
        const size_t count = static_cast<size_t>(width_) * height_;
        for (size_t i = 0; i < count; ++i)
            bits_[4 * i + 3] = 0;
    }
}

void StretchBitmap(PhotoBitmap& bitmap, int width, int height) {
    if (!PhotoSizeAllowed(width, height))
        throw Error(L"Out of system resources");
    PhotoBitmap resized(width, height, bitmap);
    PixelView target = resized.View();
    if (!ResamplePixels(bitmap.View(), target, const_cast<uint8_t*>(target.bits)))
        throw Error(L"Out of system resources");
    bitmap = std::move(resized);
}

} // namespace vistrel
