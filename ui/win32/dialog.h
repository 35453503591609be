#pragma once
// Base of the program's small modal dialogs: a caption and close box, system controls made
// from a table, laid out at the scale of the screen the dialog is on and again when it is
// moved to a screen of another scale. Escape, the close box and IDCANCEL end it with
// IDCANCEL; IDOK ends it through OnOk. The dialog keeps its owner disabled while it is
// open and runs in the program's one message loop: opening it returns at once, and its end
// is told through a callback.

#include "ui/win32/controls.h"
#include "ui/win32/window.h"

#include <span>

namespace vistrel {

class TDialog : public Window {
public:
    bool IsOpen() const { return open_; }
    // Ends the dialog as its buttons do.
    void End();

protected:
    struct Child {
        TControl* control;
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
        UINT id;
    };
    struct Place {
        TControl* control;
        int x, y, w, h; // at 96 DPI
        HFONT font;     // none: the control keeps its font
    };

    // Makes the dialog and its children; Layout(DpiOf(owner)) then places them.
    void MakeDialog(const wchar_t* className, const wchar_t* caption, HWND owner,
                    std::span<const Child> children);
    // The scale of the screen the window is on (96 for none).
    static int DpiOf(HWND window);
    // Lays the dialog out for a screen of this DPI (with Arrange).
    virtual void Layout(int dpi) = 0;
    // Sizes the client area and places the controls, all given at 96 DPI.
    void Arrange(int dpi, int clientWidth, int clientHeight, std::span<const Place> places);
    // Shows the dialog centred on the area (kept within the work area of the owner's
    // monitor), disables the owner and returns; the dialog ends with its buttons, Escape or
    // the close box. A dialog already open stays as it is.
    void Open(HWND owner, const RECT& area, HWND focus);
    // Asked on IDOK: false keeps the dialog open.
    virtual bool OnOk() { return true; }
    // Controls' own commands (not IDOK or IDCANCEL).
    virtual void OnCommand(HWND, WORD) {}

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool open_ = false;
    HWND owner_ = nullptr;
};

} // namespace vistrel
