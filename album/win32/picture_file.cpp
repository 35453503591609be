#include "album/win32/picture_file.h"

#include "album/picture_limits.h"
#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <algorithm>

namespace vistrel {

namespace {

// Files larger than the largest picture the preview decodes (a 16384-square 32-bit BMP)
// are not read at all.
constexpr uint64_t kMaxFileBytes = static_cast<uint64_t>(kMaxPreviewPixels) * 4 + (1u << 20);

} // namespace

std::vector<uint8_t> ReadPictureFile(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        throw Error(FormatMessageText(L"Cannot open file \"%s\". %s",
                                      {path, SystemErrorText(::GetLastError())}));
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.get(), &size);
    if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes)
        throw Error(L"Out of memory");
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    // A file that shrank while read is judged by what was read.
    if (!ReadWholeFile(file.get(), bytes))
        throw Error(FormatMessageText(L"Cannot read file \"%s\". %s",
                                      {path, SystemErrorText(::GetLastError())}));
    return bytes;
}

namespace {

void SetPalette(DrawHeader& h, const std::vector<uint32_t>& palette) {
    h.header.biClrUsed = static_cast<DWORD>(std::min<size_t>(palette.size(), 256));
    for (size_t i = 0; i < palette.size() && i < 256; ++i)
        h.colours[i] = {static_cast<BYTE>(palette[i]), static_cast<BYTE>(palette[i] >> 8),
                        static_cast<BYTE>(palette[i] >> 16), 0};
}

DrawHeader Empty(int width, int height, int bitsPerPixel) {
    DrawHeader h;
    h.header.biSize = sizeof(BITMAPINFOHEADER);
    h.header.biPlanes = 1;
    h.header.biWidth = width;
    h.header.biHeight = height;
    h.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    h.header.biCompression = BI_RGB;
    return h;
}

} // namespace

DrawHeader DrawHeaderOf(const BmpPicture& bmp) {
    DrawHeader h = Empty(bmp.width, bmp.topDown ? -bmp.height : bmp.height, bmp.bitsPerPixel);
    if (bmp.bitFields) {
        h.header.biCompression = BI_BITFIELDS;
        auto* masks = reinterpret_cast<DWORD*>(h.colours);
        masks[0] = bmp.masks[0];
        masks[1] = bmp.masks[1];
        masks[2] = bmp.masks[2];
    } else {
        SetPalette(h, bmp.palette);
    }
    return h;
}

DrawHeader DrawHeaderOf(const DecodedPicture& picture) {
    DrawHeader h = Empty(picture.width, -picture.height, picture.bitsPerPixel);
    SetPalette(h, picture.palette);
    return h;
}

} // namespace vistrel
