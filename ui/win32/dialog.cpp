#include "ui/win32/dialog.h"

#include "ui/layout.h"
#include "ui/win32/application.h"

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

int TDialog::RunModal(HWND owner, const RECT& area, HWND focus) {
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ::SetWindowPos(hwnd_, HWND_TOP, (area.left + area.right - w) / 2,
                   (area.top + area.bottom - h) / 2, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    if (owner)
        ::EnableWindow(owner, FALSE);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(focus);
    result_ = 0;
    Application.RunModal(hwnd_, [this] { return result_ != 0; });
    if (owner)
        ::EnableWindow(owner, TRUE);
    ::ShowWindow(hwnd_, SW_HIDE);
    if (owner)
        ::SetActiveWindow(owner);
    return result_ ? result_ : IDCANCEL;
}

LRESULT TDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == IDOK) {
            if (OnOk())
                result_ = IDOK;
        } else if (id == IDCANCEL) {
            result_ = IDCANCEL;
        } else {
            OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        }
        return 0;
    }
    case WM_CLOSE:
        result_ = IDCANCEL;
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
