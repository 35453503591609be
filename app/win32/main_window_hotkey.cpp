// The photo hotkey: a key the user chose that takes a photo from any program, as a click
// on the photo button does.

#include "app/win32/main_window.h"

#include "base/error.h"
#include "ui/win32/application.h"

namespace vistrel {

std::wstring MainWindow::HotkeyInUseText(Hotkey hotkey) const {
    return FormatMessageText(
        L"Hotkey %s is in use by another program. Choose another one in the menu.",
        {FormatHotkey(hotkey).value_or(L"")});
}

bool MainWindow::RegisterPhotoHotkey(Hotkey hotkey) {
    if (hotkey.None()) {
        if (hotkeyId_)
            ::UnregisterHotKey(hwnd_, hotkeyId_);
        hotkeyId_ = 0;
        return true;
    }
    // Registered under a second id first, so that the one in force stays when the new one
    // is taken; one press, one photo.
    const int id = hotkeyId_ == 1 ? 2 : 1;
    if (!::RegisterHotKey(hwnd_, id, hotkey.modifiers | MOD_NOREPEAT, hotkey.key))
        return false;
    if (hotkeyId_)
        ::UnregisterHotKey(hwnd_, hotkeyId_);
    hotkeyId_ = id;
    return true;
}

void MainWindow::RegisterHotkeyAtStart() {
    if (!unreadHotkey_.empty())
        throw Error(FormatMessageText(L"The hotkey \"%s\" in the settings file is not understood, "
                                      L"so there is none. Choose one in the menu.",
                                      {unreadHotkey_}));
    // The program works on without a hotkey another program holds; it stays chosen.
    if (!RegisterPhotoHotkey(hotkey_))
        throw Error(HotkeyInUseText(hotkey_));
}

void MainWindow::OnHotkey(int id) {
    if (id == hotkeyId_ && id != 0)
        OnHotkeyPressed();
}

void MainWindow::OnPhotoClick() {
    job_->Ask(PhotoRequest::Button);
}

void MainWindow::OnHotkeyPressed() {
    job_->Ask(PhotoRequest::Hotkey);
}

bool MainWindow::AcceptHotkey(Hotkey chosen) {
    if (chosen == hotkey_ && (hotkeyId_ || chosen.None()) && unreadHotkey_.empty())
        return true;
    if (!FormatHotkey(chosen)) {
        Application.ShowError(
            L"This key cannot be a hotkey. Choose F1 to F24, Insert, Home, End, Page Up, "
            L"Page Down, Pause or Print Screen, or a letter or a digit with Ctrl or Alt");
        return false;
    }
    if (!RegisterPhotoHotkey(chosen)) {
        Application.ShowError(HotkeyInUseText(chosen));
        return false;
    }
    hotkey_ = chosen;
    unreadHotkey_.clear();
    return true;
}

void MainWindow::OnHotkeyClick() {
    if (!HotkeyChoice.Handle())
        HotkeyChoice.Create(hwnd_);
    HotkeyChoice.Show(hwnd_, hotkey_, [this](Hotkey chosen) { return AcceptHotkey(chosen); });
}

} // namespace vistrel
