// The main window's context menu and its status bar, which shows the hint of the control
// under the pointer or of the highlighted menu entry.

#include "app/win32/main_form.h"

#include "about/win32/about_form.h"
#include "ui/win32/application.h"

namespace vistrel {

namespace {
// A hint may hold a short and a long form separated by "|": the status bar shows the part
// after the first "|".
std::wstring StatusPartOf(const std::wstring& hint) {
    size_t bar = hint.find(L'|');
    return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}
} // namespace

void TMainForm::OnContextMenu(HWND over, POINT at) {
    if (over == FileListBox.Handle())
        FileListBoxContextPopup(&FileListBox);
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: under the focused control's top-left corner.
        RECT r;
        HWND focus = ::GetFocus();
        ::GetWindowRect(focus && ::IsChild(hwnd_, focus) ? focus : hwnd_, &r);
        at = {r.left + 4, r.top + 4};
    }
    UINT chosen;
    {
        TApplication::ModalScope modal(Application);
        chosen = TrackPopupMenuItems(hwnd_, MenuItems(), at);
    }
    switch (chosen) {
    case kHideId:
        HideClick(this);
        break;
    case kOpenPhotoId:
        OpenPhotoClick(this);
        break;
    case kShowInFolderId:
        ShowInFolderClick(this);
        break;
    case kCopyPhotoId:
        CopyPhotoClick(this);
        break;
    case kDelPhotoId:
        DelPhotoClick(this);
        break;
    case kChooseHotkeyId:
        ChooseHotkeyClick(this);
        break;
    case kAboutId:
        AboutClick(this);
        break;
    }
}

void TMainForm::AboutClick(TObject*) {
    if (AboutForm)
        AboutForm->ShowModal();
}

void TMainForm::OnEnterMenuLoop() {
    menuActive_ = true;
    SetStatusText(L"");
}

void TMainForm::OnExitMenuLoop() {
    menuActive_ = false;
    UpdateHint();
}

void TMainForm::OnMenuSelect(UINT id, UINT flags) {
    menuHint_.clear();
    if (flags != 0xFFFF && !(flags & (MF_SEPARATOR | MF_POPUP)))
        menuHint_ = MenuItemHint(MenuItems(), id);
    if (menuActive_)
        SetStatusText(menuHint_);
}

void TMainForm::SetStatusText(const std::wstring& text) {
    std::wstring shown = StatusPartOf(text);
    if (shown == statusText_)
        return;
    statusText_ = shown;
    ::SendMessageW(StatusBar.Handle(), SB_SETTEXTW, SB_SIMPLEID,
                   reinterpret_cast<LPARAM>(statusText_.c_str()));
}

void TMainForm::UpdateHint() {
    if (menuActive_)
        return;
    POINT pt;
    std::wstring hint;
    HWND target = nullptr;
    if (::GetCursorPos(&pt)) {
        target = ::WindowFromPoint(pt);
        if (target && ::GetAncestor(target, GA_ROOT) == hwnd_ && ::IsWindowVisible(hwnd_)) {
            // Down to the innermost control under the pointer, disabled ones included.
            HWND current = hwnd_;
            for (;;) {
                POINT local = pt;
                ::ScreenToClient(current, &local);
                HWND child = ::ChildWindowFromPointEx(current, local,
                                                      CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
                if (!child || child == current)
                    break;
                current = child;
            }
            for (HWND h = current; h && h != hwnd_; h = ::GetParent(h)) {
                TControl* c = FindControl(controls_, h);
                if (c && !c->Hint.empty()) {
                    hint = c->Hint;
                    break;
                }
            }
        } else {
            target = nullptr;
        }
    }
    SetStatusText(hint);
    // Leaving the window posts a message, so the next idle step clears the hint.
    if (!hint.empty() && target && target != hintTracked_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, target, 0};
        ::TrackMouseEvent(&tme);
    }
    hintTracked_ = hint.empty() ? nullptr : target;
}

} // namespace vistrel
