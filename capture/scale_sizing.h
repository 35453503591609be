#pragma once
// The size a photo is resized to in proportional mode: a percentage of the base size,
// which is the browser's view when it is found and otherwise what the size boxes hold.

#include <optional>
#include <string_view>

namespace vistrel {

struct PhotoSize {
    int width = 0, height = 0;
    bool operator==(const PhotoSize&) const = default;
};

// The base: the view's capture size when there is a view; else the two boxes read as
// whole numbers, or 800 by 600 when either does not read as one.
PhotoSize SizingBase(std::optional<PhotoSize> view, std::wstring_view xText,
                     std::wstring_view yText);

// percent * base / 100 for each side, truncated toward zero, at least 1. The products are
// 32-bit signed integers, as the boxes hold 32-bit numbers: they wrap for absurd bases.
PhotoSize ScaledSize(PhotoSize base, int percent);

} // namespace vistrel
