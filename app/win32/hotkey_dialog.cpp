#include "app/win32/hotkey_dialog.h"

#include "ui/win32/fonts.h"

#include <commctrl.h>

#include <utility>

namespace vistrel {

namespace {
constexpr int kClientWidth = 230, kClientHeight = 72;
} // namespace

void HotkeyDialog::Create(HWND owner) {
    const Child children[] = {
        {&HotkeyEdit, HOTKEY_CLASSW, L"", WS_TABSTOP | WS_BORDER, 100},
        {&OkButton, L"BUTTON", L"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK},
        {&CancelButton, L"BUTTON", L"Отмена", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL},
    };
    MakeDialog(kClassName, kCaption, owner, children);
    ::SetWindowSubclass(HotkeyEdit.Handle(), EditProc, 1, 0);
    Layout(DpiOf(owner));
}

void HotkeyDialog::Layout(int dpi) {
    UniqueFont old = std::exchange(font_, MakeUiFont(dpi)); // freed once replaced
    const Place places[] = {
        {&HotkeyEdit, 12, 12, 206, 21, font_.get()},
        {&OkButton, 62, 42, 75, 23, font_.get()},
        {&CancelButton, 143, 42, 75, 23, font_.get()},
    };
    Arrange(dpi, kClientWidth, kClientHeight, places);
}

Hotkey HotkeyDialog::Chosen() const {
    auto value = static_cast<WORD>(::SendMessageW(HotkeyEdit.Handle(), HKM_GETHOTKEY, 0, 0));
    if (value == shownValue_)
        return shown_;
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

void HotkeyDialog::Show(HWND owner, Hotkey current, std::function<bool(Hotkey)> accept) {
    if (!hwnd_)
        Create(owner);
    if (IsOpen())
        return;
    accept_ = std::move(accept);
    BYTE flags = 0;
    if (current.modifiers & Hotkey::kCtrl)
        flags |= HOTKEYF_CONTROL;
    if (current.modifiers & Hotkey::kAlt)
        flags |= HOTKEYF_ALT;
    if (current.modifiers & Hotkey::kShift)
        flags |= HOTKEYF_SHIFT;
    // As the control holds a key it was given by the keyboard; without the flag it shows
    // Home as "Num 7".
    if (IsExtendedKey(current.key))
        flags |= HOTKEYF_EXT;
    shown_ = current;
    shownValue_ = MAKEWORD(static_cast<BYTE>(current.key), flags);
    ::SendMessageW(HotkeyEdit.Handle(), HKM_SETHOTKEY, shownValue_, 0);

    // Centred over the panel.
    RECT panel{};
    ::GetWindowRect(owner, &panel);
    Open(owner, panel, HotkeyEdit.Handle());
}

bool HotkeyDialog::OnOk() {
    return !accept_ || accept_(Chosen());
}

LRESULT CALLBACK HotkeyDialog::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
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
