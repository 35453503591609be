#include "album/win32/photo_clipboard.h"

#include "album/bmp_reader.h"
#include "album/jpeg_reader.h"
#include "album/picture_kind.h"
#include "album/png_reader.h"
#include "album/win32/picture_file.h"
#include "base/bitmap_rows.h"
#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace vistrel {

namespace {

// Memory handed to the clipboard, freed here until then.
struct GlobalMemory {
    HGLOBAL handle = nullptr;
    explicit GlobalMemory(size_t bytes) : handle(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (!handle)
            throw Error(L"Out of memory");
    }
    GlobalMemory(GlobalMemory&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    GlobalMemory& operator=(GlobalMemory&&) = delete;
    ~GlobalMemory() {
        if (handle)
            ::GlobalFree(handle);
    }
    // Fills the memory; a writer gets the locked pointer.
    template <typename Write> void Fill(Write write) {
        void* p = ::GlobalLock(handle);
        if (!p)
            throw Error(L"Out of memory");
        struct Unlock {
            HGLOBAL handle;
            ~Unlock() { ::GlobalUnlock(handle); }
        } unlock{handle};
        write(static_cast<uint8_t*>(p));
    }
};

bool TooLarge(int64_t width, int64_t height, int bitsPerPixel) {
    return BitmapRowBytes(static_cast<uint64_t>(width), static_cast<uint64_t>(bitsPerPixel)) *
               static_cast<uint64_t>(height) >
           kMaxClipboardPixelBytes;
}

// Rows from the bottom up, without compression.
BITMAPINFOHEADER DibHeader(int width, int height, int bitsPerPixel) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(
        BitmapRowBytes(static_cast<uint64_t>(width), static_cast<uint64_t>(bitsPerPixel)) *
        static_cast<uint64_t>(height));
    return header;
}

// A CF_DIB: the information header, then the rows from the bottom up, which rows(p, stride)
// writes in place, so that the pixels are not held twice.
template <typename Rows> GlobalMemory MakeDib(int width, int height, int bitsPerPixel, Rows rows) {
    const BITMAPINFOHEADER header = DibHeader(width, height, bitsPerPixel);
    GlobalMemory dib(sizeof header + header.biSizeImage);
    dib.Fill([&](uint8_t* p) {
        std::memcpy(p, &header, sizeof header);
        rows(p + sizeof header,
             static_cast<size_t>(BitmapRowBytes(static_cast<uint64_t>(width),
                                                static_cast<uint64_t>(bitsPerPixel))));
    });
    return dib;
}

// Decoded pixels (rows from the top, 24 bits or 8 through a palette) as 24-bit rows from
// the bottom up.
GlobalMemory FromDecoded(const DecodedPicture& d) {
    return MakeDib(d.width, d.height, 24, [&](uint8_t* rows, size_t stride) {
        for (int y = 0; y < d.height; ++y) {
            const uint8_t* in = d.bits.data() + static_cast<size_t>(y) * d.stride;
            uint8_t* out = rows + static_cast<size_t>(d.height - 1 - y) * stride;
            if (d.bitsPerPixel == 24) {
                std::memcpy(out, in, std::min(stride, d.stride));
                continue;
            }
            for (int x = 0; x < d.width; ++x) {
                uint32_t c = in[x] < d.palette.size() ? d.palette[in[x]] : 0;
                out[3 * x] = static_cast<uint8_t>(c);
                out[3 * x + 1] = static_cast<uint8_t>(c >> 8);
                out[3 * x + 2] = static_cast<uint8_t>(c >> 16);
            }
            const size_t used = static_cast<size_t>(d.width) * 3;
            std::memset(out + used, 0, stride - used); // the padding
        }
    });
}

// A BMP's pixels: 24- and 32-bit rows as they are, turned bottom-up, 32-bit ones made
// opaque; other kinds drawn by the system into 24-bit rows.
GlobalMemory FromBmp(const std::vector<uint8_t>& file, const BmpPicture& bmp) {
    const int bpp = bmp.bitsPerPixel == 32 && !bmp.bitFields ? 32 : 24;
    const uint8_t* pixels = file.data() + bmp.pixelOffset;
    if (!bmp.bitFields && (bmp.bitsPerPixel == 24 || bmp.bitsPerPixel == 32))
        return MakeDib(bmp.width, bmp.height, bpp, [&](uint8_t* rows, size_t) {
            for (int y = 0; y < bmp.height; ++y) {
                int from = bmp.topDown ? bmp.height - 1 - y : y;
                uint8_t* out = rows + static_cast<size_t>(y) * bmp.stride;
                std::memcpy(out, pixels + static_cast<size_t>(from) * bmp.stride, bmp.stride);
                // The fourth byte is unused in a 32-bit BMP (0 in the program's photos), but
                // some editors paste it as alpha and the photo as transparent.
                if (bpp == 32)
                    for (int x = 0; x < bmp.width; ++x)
                        out[4 * static_cast<size_t>(x) + 3] = 255;
            }
        });
    // Drawn by the system into a bitmap of the clipboard's format, then copied over.
    const BITMAPINFOHEADER header = DibHeader(bmp.width, bmp.height, 24);
    WindowDC screen = WindowDC::Client(nullptr);
    void* bits = nullptr;
    UniqueBitmap target(::CreateDIBSection(screen.get(),
                                           reinterpret_cast<const BITMAPINFO*>(&header),
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
    return MakeDib(bmp.width, bmp.height, 24, [&](uint8_t* rows, size_t stride) {
        std::memcpy(rows, bits, stride * static_cast<size_t>(bmp.height));
    });
}

// The photo's pixels as a CF_DIB, or nothing when they are too many (or there are none).
std::optional<GlobalMemory> PixelsOf(const std::wstring& path) {
    const PictureKind kind = PictureKindOf(path);
    std::vector<uint8_t> file = ReadPictureFile(path);
    if (kind == PictureKind::Bmp) {
        BmpPicture bmp = ParseBmp(file);
        if (bmp.empty || TooLarge(bmp.width, bmp.height, 32))
            return std::nullopt;
        return FromBmp(file, bmp);
    }
    if (kind == PictureKind::Jpeg) {
        JpegHeader header = ReadJpegHeader(file);
        if (TooLarge(header.width, header.height, 24))
            return std::nullopt;
        return FromDecoded(DecodeJpeg(file, false));
    }
    PngHeader header = ReadPngHeader(file);
    if (TooLarge(header.width, header.height, 24))
        return std::nullopt;
    return FromDecoded(DecodePng(file));
}

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
    std::optional<GlobalMemory> pixels = PixelsOf(path);
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
