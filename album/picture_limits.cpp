#include "album/picture_limits.h"

#include "base/number_text.h"

namespace vistrel {

Error TooLargeToPreview(int64_t width, int64_t height) {
    return Error(FormatMessageText(L"The picture is %s by %s pixels: too large to preview",
                                   {WriteWholeNumber(width), WriteWholeNumber(height)}));
}

} // namespace vistrel
