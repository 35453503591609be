#include "album/win32/photo_clipboard.h"

#include "album/bmp_reader.h"
#include "album/jpeg_reader.h"
#include "album/png_reader.h"
#include "album/win32/picture_file.h"
#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <shlobj.h>

#include <cstring>
#include <optional>
#include <vector>

namespace vistrel {

namespace {

// A CF_DIB image: the information header, then the rows from the bottom up.
struct Dib {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> rows;
};

size_t StrideOf(int width, int bitsPerPixel) {
    return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

bool TooLarge(int64_t width, int64_t height, int bitsPerPixel) {
    return StrideOf(static_cast<int>(width), bitsPerPixel) * static_cast<uint64_t>(height) >
           kMaxClipboardPixelBytes;
}

Dib Empty(int width, int height, int bitsPerPixel) {
    Dib dib;
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = width;
    dib.header.biHeight = height;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    dib.header.biCompression = BI_RGB;
    dib.rows.resize(StrideOf(width, bitsPerPixel) * static_cast<size_t>(height));
    dib.header.biSizeImage = static_cast<DWORD>(dib.rows.size());
    return dib;
}

// Decoded pixels (rows from the top, 24 bits or 8 through a palette) as 24-bit rows from
// the bottom up.
Dib FromDecoded(const DecodedPicture& d) {
    Dib dib = Empty(d.width, d.height, 24);
    const size_t stride = StrideOf(d.width, 24);
    for (int y = 0; y < d.height; ++y) {
        const uint8_t* in = d.bits.data() + static_cast<size_t>(y) * d.stride;
        uint8_t* out = dib.rows.data() + static_cast<size_t>(d.height - 1 - y) * stride;
        if (d.bitsPerPixel == 24) {
            std::memcpy(out, in, static_cast<size_t>(d.width) * 3);
            continue;
        }
        for (int x = 0; x < d.width; ++x) {
            uint32_t c = in[x] < d.palette.size() ? d.palette[in[x]] : 0;
            out[3 * x] = static_cast<uint8_t>(c);
            out[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    return dib;
}

// A BMP's pixels: 24- and 32-bit rows as they are, turned bottom-up; other kinds drawn by
// the system into 24-bit rows.
Dib FromBmp(const std::vector<uint8_t>& file, const BmpPicture& bmp) {
    const int bpp = bmp.bitsPerPixel == 32 && !bmp.bitFields ? 32 : 24;
    Dib dib = Empty(bmp.width, bmp.height, bpp);
    const uint8_t* pixels = file.data() + bmp.pixelOffset;
    if (!bmp.bitFields && (bmp.bitsPerPixel == 24 || bmp.bitsPerPixel == 32)) {
        for (int y = 0; y < bmp.height; ++y) {
            int from = bmp.topDown ? bmp.height - 1 - y : y;
            std::memcpy(dib.rows.data() + static_cast<size_t>(y) * bmp.stride,
                        pixels + static_cast<size_t>(from) * bmp.stride, bmp.stride);
        }
        return dib;
    }
    WindowDC screen = WindowDC::Client(nullptr);
    void* bits = nullptr;
    UniqueBitmap target(::CreateDIBSection(screen.get(),
                                           reinterpret_cast<const BITMAPINFO*>(&dib.header),
                                           DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    if (!target || !bits || !memory)
        throw Error(L"Out of system resources");
    {
        SelectObjectGuard select(memory.get(), target.get());
        const DrawHeader h = DrawHeaderOf(bmp);
        ::SetDIBitsToDevice(memory.get(), 0, 0, static_cast<DWORD>(bmp.width),
                            static_cast<DWORD>(bmp.height), 0, 0, 0, static_cast<UINT>(bmp.height),
                            pixels, h.Info(), DIB_RGB_COLORS);
    }
    ::GdiFlush();
    std::memcpy(dib.rows.data(), bits, dib.rows.size());
    return dib;
}

// The photo's pixels, or nothing when they are too many (or there are none).
std::optional<Dib> PixelsOf(const std::wstring& path) {
    const std::wstring ext = PictureExtension(path);
    std::vector<uint8_t> file = ReadPictureFile(path);
    if (SameFileName(ext, L"bmp")) {
        BmpPicture bmp = ParseBmp(file);
        if (bmp.empty || TooLarge(bmp.width, bmp.height, 32))
            return std::nullopt;
        return FromBmp(file, bmp);
    }
    if (SameFileName(ext, L"jpg") || SameFileName(ext, L"jpeg")) {
        JpegHeader header = ReadJpegHeader(file);
        if (TooLarge(header.width, header.height, 24))
            return std::nullopt;
        return FromDecoded(DecodeJpeg(file, false));
    }
    if (SameFileName(ext, L"png")) {
        PngHeader header = ReadPngHeader(file);
        if (TooLarge(header.width, header.height, 24))
            return std::nullopt;
        return FromDecoded(DecodePng(file));
    }
    throw Error(FormatMessageText(L"Unknown picture file extension (.%s)", {ext}));
}

struct GlobalMemory {
    HGLOBAL handle = nullptr;
    explicit GlobalMemory(size_t bytes) : handle(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (!handle)
            throw Error(L"Out of memory");
    }
    ~GlobalMemory() {
        if (handle)
            ::GlobalFree(handle);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    // Fills the memory; a writer gets the locked pointer.
    template <typename Write> void Fill(Write write) {
        void* p = ::GlobalLock(handle);
        write(static_cast<uint8_t*>(p));
        ::GlobalUnlock(handle);
    }
};

class Clipboard {
public:
    explicit Clipboard(HWND owner) {
        // Another program may have it open for a moment.
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (::OpenClipboard(owner)) {
                open_ = true;
                return;
            }
            ::Sleep(10);
        }
        throw Error(FormatMessageText(L"Cannot open the clipboard. %s",
                                      {SystemErrorText(::GetLastError())}));
    }
    ~Clipboard() {
        if (open_)
            ::CloseClipboard();
    }
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    // Hands the memory over to the clipboard.
    void Put(UINT format, GlobalMemory& memory) {
        if (::SetClipboardData(format, memory.handle))
            memory.handle = nullptr;
    }

private:
    bool open_ = false;
};

} // namespace

void CopyPhotoToClipboard(HWND owner, const std::wstring& path) {
    // Everything is made before the clipboard is touched: a failure leaves it as it was.
    std::optional<Dib> dib = PixelsOf(path);
    std::optional<GlobalMemory> pixels;
    if (dib) {
        pixels.emplace(sizeof(BITMAPINFOHEADER) + dib->rows.size());
        pixels->Fill([&](uint8_t* p) {
            std::memcpy(p, &dib->header, sizeof(BITMAPINFOHEADER));
            std::memcpy(p + sizeof(BITMAPINFOHEADER), dib->rows.data(), dib->rows.size());
        });
        dib.reset();
    }
    // DROPFILES and the path, ended by two zero characters.
    GlobalMemory files(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    files.Fill([&](uint8_t* p) {
        DROPFILES drop{};
        drop.pFiles = sizeof(DROPFILES);
        drop.fWide = TRUE;
        std::memcpy(p, &drop, sizeof drop);
        auto* name = reinterpret_cast<wchar_t*>(p + sizeof drop);
        std::memcpy(name, path.c_str(), path.size() * sizeof(wchar_t));
        name[path.size()] = name[path.size() + 1] = L'\0';
    });

    Clipboard clipboard(owner);
    ::EmptyClipboard();
    if (pixels)
        clipboard.Put(CF_DIB, *pixels);
    clipboard.Put(CF_HDROP, files);
}

} // namespace vistrel
