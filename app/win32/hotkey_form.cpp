#include "app/win32/hotkey_form.h"

#include "base/error.h"
#include "ui/layout.h"
#include "ui/win32/application.h"
#include "ui/win32/fonts.h"

#include <commctrl.h>

namespace vistrel {

namespace {
constexpr int kClientWidth = 230, kClientHeight = 72;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
} // namespace

void THotkeyForm::Create(HWND owner) {
    RegisterWindowClass(kClassName, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateHandle(kExStyle, kClassName, kCaption, kStyle, 0, 0, kClientWidth, kClientHeight, owner,
                 nullptr);
    struct Child {
        TControl* control;
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
        UINT id;
    };
    const Child children[] = {
        {&HotkeyEdit, HOTKEY_CLASSW, L"", WS_TABSTOP | WS_BORDER, 100},
        {&OkButton, L"BUTTON", L"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK},
        {&CancelButton, L"BUTTON", L"Отмена", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL},
    };
    for (const Child& c : children) {
        HWND h = ::CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 0, 0,
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
        if (!h)
            throw Error(L"Out of system resources");
        c.control->Attach(h);
    }
    ::SetWindowSubclass(HotkeyEdit.Handle(), EditProc, 1, 0);
    int dpi = owner ? static_cast<int>(::GetDpiForWindow(owner)) : 96;
    Layout(dpi > 0 ? dpi : 96);
}

void THotkeyForm::Layout(int dpi) {
    auto scaled = [dpi](int v) { return ScaleForDpi(v, dpi); };
    font_ = MakeUiFont(dpi);
    RECT r{0, 0, scaled(kClientWidth), scaled(kClientHeight)};
    ::AdjustWindowRectExForDpi(&r, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
    ::SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    struct Place {
        TControl* control;
        int x, y, w, h;
    };
    for (const Place& p : {Place{&HotkeyEdit, 12, 12, 206, 21}, Place{&OkButton, 62, 42, 75, 23},
                           Place{&CancelButton, 143, 42, 75, 23}}) {
        ::SendMessageW(p.control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()),
                       FALSE);
        ::SetWindowPos(p.control->Handle(), nullptr, scaled(p.x), scaled(p.y), scaled(p.w),
                       scaled(p.h), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

Hotkey THotkeyForm::Chosen() const {
    auto value = static_cast<WORD>(::SendMessageW(HotkeyEdit.Handle(), HKM_GETHOTKEY, 0, 0));
    const BYTE flags = HIBYTE(value);
    Hotkey hotkey;
    hotkey.key = LOBYTE(value);
    if (flags & HOTKEYF_CONTROL)
        hotkey.modifiers |= Hotkey::kCtrl;
    if (flags & HOTKEYF_ALT)
        hotkey.modifiers |= Hotkey::kAlt;
    if (flags & HOTKEYF_SHIFT)
        hotkey.modifiers |= Hotkey::kShift;
    return hotkey.key ? hotkey : Hotkey{};
}

bool THotkeyForm::ShowModal(HWND owner, Hotkey current, const std::function<bool(Hotkey)>& accept) {
    if (!hwnd_)
        Create(owner);
    accept_ = accept;
    BYTE flags = 0;
    if (current.modifiers & Hotkey::kCtrl)
        flags |= HOTKEYF_CONTROL;
    if (current.modifiers & Hotkey::kAlt)
        flags |= HOTKEYF_ALT;
    if (current.modifiers & Hotkey::kShift)
        flags |= HOTKEYF_SHIFT;
    ::SendMessageW(HotkeyEdit.Handle(), HKM_SETHOTKEY,
                   MAKEWORD(static_cast<BYTE>(current.key), flags), 0);

    // Centred over the panel.
    RECT o{}, r{};
    ::GetWindowRect(owner, &o);
    ::GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ::SetWindowPos(hwnd_, HWND_TOP, (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2, 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW);
    ::EnableWindow(owner, FALSE);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(HotkeyEdit.Handle());
    result_ = 0;
    Application.RunModal(hwnd_, [this] { return result_ != 0; });
    ::EnableWindow(owner, TRUE);
    ::ShowWindow(hwnd_, SW_HIDE);
    ::SetActiveWindow(owner);
    return result_ == IDOK;
}

LRESULT THotkeyForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (!accept_ || accept_(Chosen()))
                result_ = IDOK;
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            result_ = IDCANCEL;
            return 0;
        }
        break;
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

LRESULT CALLBACK THotkeyForm::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
    // Backspace clears the hotkey to none (the control would take it as the key itself).
    if (msg == WM_KEYDOWN && wParam == VK_BACK && ::GetKeyState(VK_CONTROL) >= 0 &&
        ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_SHIFT) >= 0) {
        ::SendMessageW(hwnd, HKM_SETHOTKEY, 0, 0);
        return 0;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace vistrel
