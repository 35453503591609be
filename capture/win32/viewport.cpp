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

bool ViewCovered(const Viewport& viewport) {
    DWORD browserProcess = 0;
    ::GetWindowThreadProcessId(viewport.browser, &browserProcess);
    // The top-level windows above the browser, from the top of the window order down.
    for (HWND w = ::GetTopWindow(nullptr); w && w != viewport.browser;
         w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(w) || ::IsIconic(w))
            continue;
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        if (process == browserProcess)
            continue;
        RECT r, overlap;
        if (::GetWindowRect(w, &r) && ::IntersectRect(&overlap, &r, &viewport.capture))
            return true;
    }
    return false;
}

void RaiseBrowser(const Viewport& viewport) {
    ::SetWindowPos(viewport.browser, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(viewport.browser);
}

} // namespace vistrel
