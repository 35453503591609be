#include "album/win32/preview_picture.h"

#include "album/fit.h"
#include "album/picture_kind.h"
#include "album/picture_limits.h"
#include "album/win32/picture_file.h"
#include "album/png_reader.h"
#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <algorithm>
#include <new>
#include <utility>

namespace vistrel {

namespace {

// Draws pixels of the given size into the fitted box of the area.
void Stretch(HDC dc, const RECT& area, const Box& fit, int width, int height, const void* bits,
             const DrawHeader& h) {
    if (fit.width <= 0 || fit.height <= 0)
        return;
    // Whole pixels kept or repeated on true-colour screens; palette screens blend.
    bool palette = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES) <= 8;
    int oldMode = ::SetStretchBltMode(dc, palette ? HALFTONE : COLORONCOLOR);
    ::StretchDIBits(dc, area.left + fit.left, area.top + fit.top, fit.width, fit.height, 0, 0,
                    width, height, bits, h.Info(), DIB_RGB_COLORS, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
}

} // namespace

std::unique_ptr<PreviewPicture> PreviewPicture::Load(const std::wstring& path) {
    const PictureKind kind = PictureKindOf(path);
    auto picture = std::make_unique<PreviewPicture>();
    if (kind == PictureKind::Bmp) {
        picture->kind_ = Kind::Bmp;
        picture->file_ = ReadPictureFile(path);
        picture->bmp_ = ParseBmp(picture->file_);
        picture->width_ = picture->bmp_.width;
        picture->height_ = picture->bmp_.height;
    } else if (kind == PictureKind::Jpeg) {
        picture->kind_ = Kind::Jpeg;
        picture->file_ = ReadPictureFile(path);
        // An empty file loads; it fails when drawn, like any data the library rejects.
        if (!picture->file_.empty()) {
            JpegHeader header = ReadJpegHeader(picture->file_);
            picture->width_ = header.width;
            picture->height_ = header.height;
        }
    } else {
        picture->kind_ = Kind::Png;
        picture->file_ = ReadPictureFile(path);
        // Any damage, in the header too, is told once when the picture is drawn.
        try {
            PngHeader header = ReadPngHeader(picture->file_);
            picture->width_ = header.width;
            picture->height_ = header.height;
        } catch (const Error& e) {
            picture->failed_ = true;
            picture->error_ = e.Message();
        }
    }
    return picture;
}

std::wstring PreviewPicture::Draw(HDC dc, const RECT& area, bool resizing) {
    if (kind_ == Kind::Bmp) {
        if (bmp_.empty)
            return {};
        const DrawHeader h = DrawHeaderOf(bmp_);
        Stretch(dc, area,
                FitPicture(bmp_.width, bmp_.height, area.right - area.left, area.bottom - area.top),
                bmp_.width, bmp_.height, file_.data() + bmp_.pixelOffset, h);
        return {};
    }

    // Decoded (again) for the size it is drawn at, so that only that is kept in memory.
    std::wstring error = std::exchange(error_, std::wstring());
    const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
    Box fit = FitPicture(width_, height_, areaWidth, areaHeight);
    const bool exact = decoded_ && decoded_->width == fit.width && decoded_->height == fit.height;
    const bool keptIsEnough =
        decoded_ && decoded_->width >= fit.width && decoded_->height >= fit.height;
    if (!failed_ && !exact && !(resizing && keptIsEnough)) {
        // While resizing, twice the room: the next steps of the drag then fit in it.
        Box target = resizing ? FitPicture(width_, height_, 2 * areaWidth, 2 * areaHeight) : fit;
        if (resizing && (target.width > width_ || target.height > height_))
            target = {0, 0, width_, height_};
        decoded_.reset();
        try {
            bool paletteScreen = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES) <= 8;
            const int w = std::max(target.width, 1), h = std::max(target.height, 1);
            decoded_ = kind_ == Kind::Png ? DecodePng(file_, w, h)
                                          : DecodeJpeg(file_, paletteScreen, w, h);
        } catch (const Error& e) {
            failed_ = true;
            error = e.Message();
        } catch (const std::bad_alloc&) {
            // Told once, like damaged data, not again at every paint.
            failed_ = true;
            error = L"Out of memory";
        }
    }
    if (!decoded_ || fit.width <= 0 || fit.height <= 0)
        return error;
    const DecodedPicture& d = *decoded_;
    const DrawHeader h = DrawHeaderOf(d);
    if (d.width == fit.width && d.height == fit.height)
        ::SetDIBitsToDevice(dc, area.left + fit.left, area.top + fit.top, d.width, d.height, 0, 0,
                            0, static_cast<UINT>(d.height), d.bits.data(), h.Info(),
                            DIB_RGB_COLORS);
    else
        Stretch(dc, area, fit, d.width, d.height, d.bits.data(), h);
    return error;
}

} // namespace vistrel
