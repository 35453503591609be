#include "capture/scale_sizing.h"

#include "base/number_text.h"

#include <cstdint>

namespace vistrel {

PhotoSize SizingBase(std::optional<PhotoSize> view, std::wstring_view xText,
                     std::wstring_view yText) {
    if (view)
        return *view;
    auto x = ReadWholeNumber(xText);
    auto y = ReadWholeNumber(yText);
    if (!x || !y)
        return {800, 600};
    return {*x, *y};
}

namespace {
int Scale(int base, int percent) {
    int32_t product =
        static_cast<int32_t>(static_cast<uint32_t>(percent) * static_cast<uint32_t>(base));
    int32_t result = product / 100;
    return result < 1 ? 1 : result;
}
} // namespace

PhotoSize ScaledSize(PhotoSize base, int percent) {
    return {Scale(base.width, percent), Scale(base.height, percent)};
}

} // namespace vistrel
