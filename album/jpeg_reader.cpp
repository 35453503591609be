#include "album/jpeg_reader.h"

#include "album/picture_limits.h"
#include "base/bitmap_rows.h"
#include "base/error.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace vistrel {

namespace {

// libjpeg leaves by longjmp on errors: the functions below that call into it hold only
// plain C data, so nothing with a destructor is jumped over.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

struct Progress {
    jpeg_progress_mgr pub;
    j_decompress_ptr cinfo;
};

void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

void LimitScans(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->progressive_mode && d->input_scan_number > kMaxJpegScans)
        ERREXIT1(cinfo, JERR_BAD_SCAN_SCRIPT, d->input_scan_number);
}

struct Request {
    const unsigned char* data;
    unsigned long size;
    int eightBit;
    int targetWidth, targetHeight; // 0: the picture's own
    // Out: what the header says, then the pixels.
    int width, height, greyscale;
    int bytesPerPixel;
    unsigned char* bits; // the target's rows, provided by allocate()
    size_t stride;
    unsigned char* row;      // one decoded row
    const int* sourceColumn; // per target column, the decoded column it shows
    const int* sourceRow;    // per target row, the decoded row it shows
    int paletteSize;
    uint32_t palette[256];
    int headerOnly;
    // Called between reading the header and decoding, to provide the buffers above.
    int (*allocate)(Request*);
    void* owner;
};

void Setup(jpeg_decompress_struct* cinfo, ErrorManager* err, Progress* progress, const Request* r) {
    cinfo->err = jpeg_std_error(&err->pub);
    err->pub.error_exit = ErrorExit;
    err->pub.emit_message = IgnoreMessage;
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kMaxJpegWorkMemory;
    progress->pub.progress_monitor = LimitScans;
    progress->cinfo = cinfo;
    cinfo->progress = &progress->pub;
    jpeg_mem_src(cinfo, r->data, r->size);
}

// Returns 0, or the library's message number.
int Run(Request* r) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    Progress progress;
    if (setjmp(err.jump)) {
        int code = err.pub.msg_code;
        // The size a picture too big for the library or the preview has, to tell it.
        if (code == JERR_IMAGE_TOO_BIG) {
            r->width = static_cast<int>(cinfo.image_width);
            r->height = static_cast<int>(cinfo.image_height);
        }
        jpeg_destroy_decompress(&cinfo);
        return code ? code : JERR_INPUT_EOF;
    }
    Setup(&cinfo, &err, &progress, r);
    jpeg_read_header(&cinfo, TRUE);
    r->width = static_cast<int>(cinfo.image_width);
    r->height = static_cast<int>(cinfo.image_height);
    r->greyscale = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (!PreviewSizeAllowed(r->width, r->height))
        ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, static_cast<unsigned>(kMaxPreviewSide));
    if (r->headerOnly) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }

    cinfo.dct_method = JDCT_FLOAT;
    cinfo.do_fancy_upsampling = TRUE;
    if (r->greyscale || r->eightBit) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = 236;
        cinfo.dither_mode = JDITHER_FS;
        cinfo.two_pass_quantize = TRUE;
        if (!r->greyscale)
            cinfo.out_color_space = JCS_RGB;
    } else {
        cinfo.out_color_space = JCS_EXT_BGR;
    }
    jpeg_start_decompress(&cinfo);
    r->bytesPerPixel = cinfo.output_components;
    if (!r->allocate(r))
        ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
    // Each target row takes its pixels from one decoded row; rows no target row shows are
    // skipped where the library allows it (not while dithering, which carries over rows).
    const int targetHeight = r->targetHeight, bpp = r->bytesPerPixel;
    const int canSkip = !cinfo.quantize_colors;
    int next = 0; // the next target row to fill
    while (next < targetHeight && cinfo.output_scanline < cinfo.output_height) {
        int y = static_cast<int>(cinfo.output_scanline);
        int wanted = r->sourceRow[next];
        if (wanted > y && canSkip) {
            jpeg_skip_scanlines(&cinfo, static_cast<JDIMENSION>(wanted - y));
            continue;
        }
        JSAMPROW row = r->row;
        jpeg_read_scanlines(&cinfo, &row, 1);
        for (; next < targetHeight && r->sourceRow[next] == y; ++next) {
            unsigned char* out = r->bits + static_cast<size_t>(next) * r->stride;
            for (int x = 0; x < r->targetWidth; ++x) {
                const unsigned char* in = r->row + static_cast<size_t>(r->sourceColumn[x]) * bpp;
                for (int c = 0; c < bpp; ++c)
                    out[x * bpp + c] = in[c];
            }
        }
    }
    if (cinfo.quantize_colors) {
        r->paletteSize = cinfo.actual_number_of_colors;
        for (int i = 0; i < cinfo.actual_number_of_colors && i < 256; ++i) {
            unsigned red = cinfo.colormap[0][i];
            unsigned green = cinfo.out_color_components > 1 ? cinfo.colormap[1][i] : red;
            unsigned blue = cinfo.out_color_components > 2 ? cinfo.colormap[2][i] : red;
            r->palette[i] = (red << 16) | (green << 8) | blue;
        }
    }
    // Read to the end, as a whole decode does: damage after the last row shown (an unknown
    // marker, say) is an error the user is told of, not a picture shown as if whole.
    // The last row is read, not skipped: skipping to the end stops reading the data.
    if (canSkip && cinfo.output_scanline + 1 < cinfo.output_height)
        jpeg_skip_scanlines(&cinfo, cinfo.output_height - 1 - cinfo.output_scanline);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = r->row;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

Request MakeRequest(std::span<const uint8_t> file) {
    Request r{};
    r.data = file.data();
    r.size = static_cast<unsigned long>(file.size());
    return r;
}

[[noreturn]] void Fail(int code, const Request& r) {
    // Past the preview's limit, or the library's own (65,500 a side).
    if (code == JERR_IMAGE_TOO_BIG && r.width > 0 && r.height > 0)
        throw TooLargeToPreview(r.width, r.height);
    throw Error(L"JPEG error #" + std::to_wstring(code));
}

} // namespace

JpegHeader ReadJpegHeader(std::span<const uint8_t> file) {
    Request r = MakeRequest(file);
    r.headerOnly = 1;
    if (int code = Run(&r))
        Fail(code, r);
    return {r.width, r.height, r.greyscale != 0};
}

int NearestSource(int target, int targetLength, int sourceLength) {
    return static_cast<int>((2 * static_cast<int64_t>(target) + 1) * sourceLength /
                            (2 * static_cast<int64_t>(targetLength)));
}

DecodedPicture DecodeJpeg(std::span<const uint8_t> file, bool eightBit, int targetWidth,
                          int targetHeight) {
    struct Buffers {
        DecodedPicture picture;
        std::vector<unsigned char> row;
        std::vector<int> columns, rows;
    } buffers;
    Request r = MakeRequest(file);
    r.eightBit = eightBit ? 1 : 0;
    r.targetWidth = targetWidth;
    r.targetHeight = targetHeight;
    r.owner = &buffers;
    r.allocate = [](Request* req) -> int {
        auto* b = static_cast<Buffers*>(req->owner);
        DecodedPicture& pic = b->picture;
        if (req->targetWidth <= 0 || req->targetHeight <= 0) {
            req->targetWidth = req->width;
            req->targetHeight = req->height;
        }
        if (!PreviewSizeAllowed(req->targetWidth, req->targetHeight))
            return 0;
        pic.sourceWidth = req->width;
        pic.sourceHeight = req->height;
        pic.width = req->targetWidth;
        pic.height = req->targetHeight;
        pic.bitsPerPixel = req->bytesPerPixel * 8;
        pic.stride = static_cast<size_t>(
            BitmapRowBytes(static_cast<uint64_t>(pic.width), uint64_t{8} * req->bytesPerPixel));
        try {
            pic.bits.assign(pic.stride * static_cast<size_t>(pic.height), 0);
            b->row.resize(static_cast<size_t>(req->width) * req->bytesPerPixel);
            b->columns.resize(static_cast<size_t>(pic.width));
            b->rows.resize(static_cast<size_t>(pic.height));
        } catch (const std::bad_alloc&) {
            return 0;
        }
        for (int x = 0; x < pic.width; ++x)
            b->columns[static_cast<size_t>(x)] = NearestSource(x, pic.width, req->width);
        for (int y = 0; y < pic.height; ++y)
            b->rows[static_cast<size_t>(y)] = NearestSource(y, pic.height, req->height);
        req->bits = pic.bits.data();
        req->stride = pic.stride;
        req->row = b->row.data();
        req->sourceColumn = b->columns.data();
        req->sourceRow = b->rows.data();
        return 1;
    };
    if (int code = Run(&r))
        Fail(code, r);
    DecodedPicture& picture = buffers.picture;
    if (picture.bitsPerPixel == 8)
        picture.palette.assign(r.palette, r.palette + r.paletteSize);
    return std::move(picture);
}

} // namespace vistrel
