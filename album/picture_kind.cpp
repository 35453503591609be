#include "album/picture_kind.h"

#include "base/error.h"

#include <algorithm>

namespace vistrel {

namespace {
bool SameAscii(std::wstring_view a, std::wstring_view b) {
    auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}
} // namespace

PictureKind PictureKindOf(std::wstring_view path) {
    std::wstring_view name = path.substr(path.find_last_of(L"\\/") + 1);
    const size_t dot = name.find_last_of(L'.');
    std::wstring_view extension = dot == std::wstring_view::npos ? L"" : name.substr(dot + 1);
    if (SameAscii(extension, L"bmp"))
        return PictureKind::Bmp;
    if (SameAscii(extension, L"jpg") || SameAscii(extension, L"jpeg"))
        return PictureKind::Jpeg;
    if (SameAscii(extension, L"png"))
        return PictureKind::Png;
    throw Error(FormatMessageText(L"Unknown picture file extension (.%s)", {extension}));
}

} // namespace vistrel
