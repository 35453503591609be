#pragma once
// The largest picture the preview decodes: 16384 by 16384 pixels in all (so 805 MB at 24
// bits per pixel), at most 65,535 a side. Larger ones are refused, with their size, before
// any memory is taken for them.

#include "base/error.h"

#include <cstddef>
#include <cstdint>

namespace vistrel {

constexpr int64_t kMaxPreviewPixels = int64_t{16384} * 16384;
constexpr int64_t kMaxPreviewSide = 65535;
// Memory libjpeg may use for a picture beyond its pixels (progressive coefficients).
constexpr long kMaxJpegWorkMemory = 1L << 30;
// Progressive files with more scans than this are refused: no sane encoder makes them,
// and each scan means another pass over the whole picture.
constexpr int kMaxJpegScans = 500;
// PNG chunks besides the pixels (text, colour profiles), each also once inflated, and all of
// them that libspng keeps: far above what any real file carries.
constexpr size_t kMaxPngChunkBytes = size_t{16} << 20;
constexpr size_t kMaxPngChunkMemory = size_t{64} << 20;

inline bool PreviewSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPreviewSide && height <= kMaxPreviewSide &&
           width * height <= kMaxPreviewPixels;
}

// Error("The picture is <width> by <height> pixels: too large to preview"), for a picture
// whose header is valid: every reader tells it in these words.
Error TooLargeToPreview(int64_t width, int64_t height);

} // namespace vistrel
