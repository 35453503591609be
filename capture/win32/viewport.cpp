#include "capture/win32/viewport.h"

namespace vistrel {

std::optional<Viewport> FindViewport() {
    Viewport v;
    v.browser = ::FindWindowW(L"alphaworld", nullptr);
    if (!v.browser)
        return std::nullopt;
    v.view =
        ::FindWindowExW(v.browser, nullptr, L"Active Worlds Viewport", L"Active Worlds Viewport");
    if (!v.view)
        return std::nullopt;
    RECT r;
    if (!::GetWindowRect(v.view, &r))
        return std::nullopt;
    v.capture = {r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
    return v;
}

} // namespace vistrel
