#include "ui/win32/dialog.h"

#include "ui/layout.h"
#include "ui/win32/application.h"

#include <algorithm>
#include <utility>

namespace vistrel {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
} // namespace

void TDialog::MakeDialog(const wchar_t* className, const wchar_t* caption, HWND owner,
                         std::span<const Child> children) {
    RegisterWindowClass(className, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateHandle(kExStyle, className, caption, kStyle, 0, 0, 0, 0, owner, nullptr);
    for (const Child& c : children)
        c.control->MakeSystemControl(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, hwnd_,
                                     c.id);
}

int TDialog::DpiOf(HWND window) {
    const int dpi = window ? static_cast<int>(::GetDpiForWindow(window)) : 0;
    return dpi > 0 ? dpi : 96;
}

void TDialog::Arrange(int dpi, int clientWidth, int clientHeight, std::span<const Place> places) {
    auto scaled = [dpi](int v) { return ScaleForDpi(v, dpi); };
    RECT r{0, 0, scaled(clientWidth), scaled(clientHeight)};
    ::AdjustWindowRectExForDpi(&r, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
    ::SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Place& p : places) {
        if (p.font)
            ::SendMessageW(p.control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(p.font),
                           FALSE);
        ::SetWindowPos(p.control->Handle(), nullptr, scaled(p.x), scaled(p.y), scaled(p.w),
                       scaled(p.h), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TDialog::Open(HWND owner, const RECT& area, HWND focus) {
    if (open_)
        return;
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int left = (area.left + area.right - w) / 2, top = (area.top + area.bottom - h) / 2;
    // Whole on the owner's monitor, clear of the taskbar: a panel at the screen's edge would
    // otherwise push its dialog partly off the screen.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    HMONITOR monitor = owner ? ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                             : ::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST);
    if (::GetMonitorInfoW(monitor, &mi)) {
        left = std::max<int>(std::min<int>(left, mi.rcWork.right - w), mi.rcWork.left);
        top = std::max<int>(std::min<int>(top, mi.rcWork.bottom - h), mi.rcWork.top);
    }
    owner_ = owner;
    open_ = true;
    Application.DialogOpened(hwnd_);
    ::SetWindowPos(hwnd_, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    if (owner_)
        ::EnableWindow(owner_, FALSE);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(focus);
}

void TDialog::End() {
    if (!open_)
        return;
    open_ = false;
    Application.DialogClosed(hwnd_);
    // The owner first, so that the activation goes back to it rather than to another
    // program's window.
    if (owner_)
        ::EnableWindow(owner_, TRUE);
    ::ShowWindow(hwnd_, SW_HIDE);
    if (owner_)
        ::SetActiveWindow(owner_);
}

LRESULT TDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == IDOK) {
            if (OnOk())
                End();
        } else if (id == IDCANCEL) {
            End();
        } else {
            OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        }
        return 0;
    }
    case WM_CLOSE:
        End();
        return 0;
    case WM_DPICHANGED: {
        Layout(HIWORD(wParam));
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd_, nullptr, r.left, r.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    }
    return Default(msg, wParam, lParam);
}

} // namespace vistrel
