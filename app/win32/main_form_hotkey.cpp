// The photo hotkey: a key the user chose that takes a photo from any program, as a click
// on the photo button does.

#include "app/win32/main_form.h"

#include "app/win32/hotkey_form.h"
#include "base/error.h"
#include "ui/win32/application.h"

namespace vistrel {

std::wstring TMainForm::HotkeyInUseText(Hotkey hotkey) const {
    return FormatMessageText(
        L"Hotkey %s is in use by another program. Choose another one in the menu.",
        {FormatHotkey(hotkey).value_or(L"")});
}

bool TMainForm::RegisterPhotoHotkey(Hotkey hotkey) {
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

void TMainForm::RegisterHotkeyAtStart() {
    // The program works on without a hotkey another program holds; it stays chosen.
    if (!RegisterPhotoHotkey(FHotkey))
        throw Error(HotkeyInUseText(FHotkey));
}

void TMainForm::OnHotkey(int id) {
    if (id == hotkeyId_ && id != 0)
        PhotoButtonClick(this);
}

void TMainForm::ChooseHotkeyClick(TObject*) {
    if (!hotkeyForm_)
        hotkeyForm_ = std::make_unique<THotkeyForm>();
    hotkeyForm_->ShowModal(hwnd_, FHotkey, [this](Hotkey chosen) {
        if (chosen == FHotkey && (hotkeyId_ || chosen.None()))
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
        FHotkey = chosen;
        return true;
    });
}

} // namespace vistrel
