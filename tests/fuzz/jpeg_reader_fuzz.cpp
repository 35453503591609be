// Any bytes named ".jpg": the header read, then the whole picture decoded, as the preview
// does on its first paint, in both output forms.
#include "album/jpeg_reader.h"
#include "base/error.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        vistrel::JpegHeader h = vistrel::ReadJpegHeader({data, size});
        // Keep each input quick: large pictures are decoded by the unit tests.
        if (static_cast<int64_t>(h.width) * h.height > 512 * 512)
            return 0;
        // At full size, or picked to a preview's size as the first paint does.
        const bool fullSize = size % 4 < 2;
        vistrel::DecodedPicture d = vistrel::DecodeJpeg({data, size}, size % 2 == 1,
                                                        fullSize ? 0 : 198, fullSize ? 0 : 111);
        if (d.bits.size() != d.stride * static_cast<size_t>(d.height))
            std::abort();
    } catch (const vistrel::Error&) {
    }
    return 0;
}
