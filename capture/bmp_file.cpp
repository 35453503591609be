#include "capture/bmp_file.h"

namespace vistrel {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

std::vector<uint8_t> BmpFileHeaders(const PixelView& view) {
    const uint32_t colours = view.bitsPerPixel <= 8 ? static_cast<uint32_t>(view.paletteSize) : 0;
    const uint32_t offset = 14 + 40 + 4 * colours;
    const uint32_t imageSize = static_cast<uint32_t>(view.Stride() * view.height);
    std::vector<uint8_t> out;
    out.reserve(offset);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0); // two reserved 16-bit zeros
    Put32(out, offset);

    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(view.width));
    Put32(out, static_cast<uint32_t>(view.height)); // positive: rows stored bottom-up
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(view.bitsPerPixel));
    Put32(out, 0); // no compression
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);

    for (uint32_t i = 0; i < colours; ++i) {
        uint32_t c = view.palette[i];
        out.push_back(static_cast<uint8_t>(c));       // blue
        out.push_back(static_cast<uint8_t>(c >> 8));  // green
        out.push_back(static_cast<uint8_t>(c >> 16)); // red
        out.push_back(0);
    }
    return out;
}

} // namespace vistrel
