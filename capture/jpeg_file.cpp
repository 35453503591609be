#include "capture/jpeg_file.h"

#include "base/error.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace vistrel {

namespace {

// Everything the compression needs, as plain data: libjpeg reports errors by longjmp, so
// the frames it may jump over hold no C++ objects.
struct Output {
    unsigned char* data;
    size_t size;
    size_t capacity;
};

struct Destination {
    jpeg_destination_mgr pub;
    Output* out;
};

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

struct Job {
    const PixelView* view;
    const unsigned char** rows; // Direct: one pointer per row, top row first
    unsigned char* rgbRow;      // ConvertedRgb: one converted row
    int quality;
    int direct;
};

constexpr size_t kChunk = 256 * 1024;

void InitDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->pub.next_output_byte = d->out->data;
    d->pub.free_in_buffer = d->out->capacity;
}

boolean EmptyOutput(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    Output* out = d->out;
    size_t grown = out->capacity * 2;
    auto* data = static_cast<unsigned char*>(std::realloc(out->data, grown));
    if (!data)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    // The buffer was full: everything up to the old capacity is written.
    d->pub.next_output_byte = data + out->capacity;
    d->pub.free_in_buffer = grown - out->capacity;
    out->data = data;
    out->capacity = grown;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->out->size = d->out->capacity - d->pub.free_in_buffer;
}

void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

// Returns 0 on success, else the library's message number.
int Compress(const Job* job, Output* out) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    Destination dest;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = IgnoreMessage;
    if (setjmp(err.jump)) {
        int code = err.pub.msg_code;
        jpeg_destroy_compress(&cinfo);
        return code ? code : -1;
    }
    jpeg_create_compress(&cinfo);
    dest.pub.init_destination = InitDestination;
    dest.pub.empty_output_buffer = EmptyOutput;
    dest.pub.term_destination = TermDestination;
    dest.out = out;
    cinfo.dest = &dest.pub;

    const PixelView* view = job->view;
    cinfo.image_width = static_cast<JDIMENSION>(view->width);
    cinfo.image_height = static_cast<JDIMENSION>(view->height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
#ifdef JCS_EXTENSIONS
    if (job->direct) {
        cinfo.input_components = view->bitsPerPixel / 8;
        cinfo.in_color_space = view->bitsPerPixel == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    }
#endif
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job->quality, TRUE);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = static_cast<int>(cinfo.next_scanline);
        JSAMPROW row;
        if (job->direct) {
            row = const_cast<JSAMPROW>(job->rows[y]);
        } else {
            RowToRgb(*view, y, job->rgbRow);
            row = job->rgbRow;
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

} // namespace

std::vector<uint8_t> EncodeJpeg(const PixelView& view, int quality, JpegInput input) {
    bool direct =
        input == JpegInput::Direct && (view.bitsPerPixel == 32 || view.bitsPerPixel == 24);
#ifndef JCS_EXTENSIONS
    direct = false;
#endif
    std::vector<const unsigned char*> rows;
    std::vector<unsigned char> rgbRow;
    if (direct) {
        rows.resize(static_cast<size_t>(view.height));
        for (int y = 0; y < view.height; ++y)
            rows[static_cast<size_t>(y)] = view.Row(y);
    } else {
        rgbRow.resize(static_cast<size_t>(view.width) * 3 + 1);
    }
    Job job{&view, rows.data(), rgbRow.data(), quality, direct ? 1 : 0};

    Output out{static_cast<unsigned char*>(std::malloc(kChunk)), 0, kChunk};
    if (!out.data)
        throw Error(L"Out of memory");
    int code = Compress(&job, &out);
    if (code != 0) {
        std::free(out.data);
        throw Error(L"JPEG error #" + std::to_wstring(code));
    }
    std::vector<uint8_t> file(out.data, out.data + out.size);
    std::free(out.data);
    return file;
}

} // namespace vistrel
