#include "capture/png_file.h"

#include "base/error.h"

#include <memory>
#include <new>
#include <string>

#include <spng.h>

namespace vistrel {

namespace {

// zlib's fastest level, each row filtered by Sub. On a textured 3-D view this takes about a
// tenth of the time of libspng's defaults (level 6, each row's best of five filters) for a
// file a fifth larger. At this level Sub is the quickest filter and makes the smallest files
// of such views; trying every filter on each row doubles the time for nothing. zlib's
// run-length strategy is no faster here and loses repeated patterns (window frames) badly.
constexpr int kCompressionLevel = 1;
constexpr int kFilters = SPNG_FILTER_CHOICE_SUB;

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

[[noreturn]] void Fail(int code) {
    std::wstring reason;
    for (const char* c = spng_strerror(code); *c; ++c)
        reason += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    throw Error(L"PNG image could not be made (" + reason + L")");
}

void Check(int code) {
    if (code != 0)
        Fail(code);
}

// libspng writes the file through this in pieces; a C callback must not throw.
int Append(spng_ctx*, void* user, void* data, size_t length) {
    auto* file = static_cast<std::vector<uint8_t>*>(user);
    const auto* bytes = static_cast<const uint8_t*>(data);
    try {
        file->insert(file->end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        return SPNG_IO_ERROR;
    }
    return 0;
}

} // namespace

std::vector<uint8_t> EncodePng(const PixelView& view) {
    std::unique_ptr<spng_ctx, ContextFree> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx)
        Fail(SPNG_EMEM);
    spng_ctx* c = ctx.get();
    std::vector<uint8_t> file;
    spng_ihdr ihdr{};
    ihdr.width = static_cast<uint32_t>(view.width > 0 ? view.width : 0);
    ihdr.height = static_cast<uint32_t>(view.height > 0 ? view.height : 0);
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    Check(spng_set_ihdr(c, &ihdr));
    Check(spng_set_option(c, SPNG_IMG_COMPRESSION_LEVEL, kCompressionLevel));
    Check(spng_set_option(c, SPNG_FILTER_CHOICE, kFilters));
    Check(spng_set_png_stream(c, Append, &file));
    // A quarter of the pixels' bytes: about what a textured 3-D view needs at this level.
    file.reserve(static_cast<size_t>(ihdr.width) * ihdr.height * 3 / 4 + 1024);

    Check(spng_encode_image(c, nullptr, 0, SPNG_FMT_PNG,
                            SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE));
    std::vector<uint8_t> row(static_cast<size_t>(ihdr.width) * 3);
    for (int y = 0; y < view.height; ++y) {
        RowToRgb(view, y, row.data());
        int code = spng_encode_row(c, row.data(), row.size());
        if (code != 0 && !(code == SPNG_EOI && y == view.height - 1))
            Fail(code);
    }
    return file;
}

} // namespace vistrel
