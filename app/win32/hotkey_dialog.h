#pragma once
// The dialog in which the photo hotkey is chosen: the system's hotkey control, "ОК" and
// "Отмена". Backspace in the control clears it to none.

#include "base/win32/handles.h"
#include "ui/hotkey_text.h"
#include "ui/win32/dialog.h"

#include <functional>

namespace vistrel {

class HotkeyDialog : public TDialog {
public:
    static constexpr wchar_t kClassName[] = L"THotkeyForm";
    static constexpr wchar_t kCaption[] = L"Горячая клавиша";

    TControl HotkeyEdit;
    TButton OkButton;
    TButton CancelButton;

    void Create(HWND owner);
    // Shows the dialog over the owner with the current hotkey and returns. accept(chosen)
    // is asked on "ОК": false keeps the dialog open (accept has told the user why).
    void Show(HWND owner, Hotkey current, std::function<bool(Hotkey)> accept);

    // The control's hotkey; the one shown at the start while the user has not changed it
    // (the control cannot show Win, which the settings file may hold).
    Hotkey Chosen() const;

private:
    void Layout(int dpi) override;
    bool OnOk() override;
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);

    UniqueFont font_;
    std::function<bool(Hotkey)> accept_;
    Hotkey shown_;
    WORD shownValue_ = 0;
};

} // namespace vistrel
