// The main window's context menu and its status bar, which shows the hint of the control
// under the pointer or of the highlighted menu entry.

#include "app/win32/main_window.h"

#include "base/error.h"
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

void MainWindow::OnContextMenu(HWND over, POINT at) {
    if (over == PhotoList.Handle())
        OnListContextPopup();
    if (at.x == -1 && at.y == -1) {
        // From the keyboard (the menu key, Shift+F10): at the selected photo when the list has
        // the focus and the photo is in view, else under the focused control's corner.
        RECT r;
        HWND focus = ::GetFocus();
        if (focus == PhotoList.Handle() && PhotoList.SelectedItemRect(r)) {
            ::MapWindowPoints(focus, nullptr, reinterpret_cast<POINT*>(&r), 2);
            at = {r.left + Scaled(16), r.bottom};
        } else {
            ::GetWindowRect(focus && ::IsChild(hwnd_, focus) ? focus : hwnd_, &r);
            at = {r.left + 4, r.top + 4};
        }
    }
    // The photo entries act on the photo the menu was opened on, whatever a photo taken
    // meanwhile selects.
    const std::wstring photo = SelectedPhoto();
    UINT chosen;
    {
        TApplication::ModalScope modal(Application);
        chosen = TrackPopupMenuItems(hwnd_, MenuItems(), at);
    }
    menuPhoto_ = photo;
    struct Forget {
        std::wstring& photo;
        ~Forget() { photo.clear(); }
    } forget{menuPhoto_};
    switch (chosen) {
    case kMinimiseId:
        OnMinimiseClick();
        break;
    case kOpenId:
        OnOpenClick();
        break;
    case kShowInFolderId:
        OnShowInFolderClick();
        break;
    case kCopyId:
        OnCopyClick();
        break;
    case kDeleteId:
        OnDeleteClick();
        break;
    case kHotkeyId:
        OnHotkeyClick();
        break;
    case kAboutId:
        OnAboutClick();
        break;
    }
}

void MainWindow::OnAboutClick() {
    // Made at start-up, where a failure was reported and the program went on without it.
    if (!About.Handle())
        throw Error(L"Out of system resources");
    About.Show(hwnd_);
}

void MainWindow::OnEnterMenuLoop() {
    menuActive_ = true;
    SetStatusText(L"");
}

void MainWindow::OnExitMenuLoop() {
    menuActive_ = false;
    UpdateHint();
}

void MainWindow::OnMenuSelect(UINT id, UINT flags) {
    menuHint_.clear();
    if (flags != 0xFFFF && !(flags & (MF_SEPARATOR | MF_POPUP)))
        menuHint_ = MenuItemHint(MenuItems(), id);
    if (menuActive_)
        SetStatusText(menuHint_);
}

void MainWindow::SetStatusText(const std::wstring& text) {
    std::wstring shown = StatusPartOf(text);
    if (shown == statusText_)
        return;
    statusText_ = shown;
    ::SendMessageW(StatusBar.Handle(), SB_SETTEXTW, SB_SIMPLEID,
                   reinterpret_cast<LPARAM>(statusText_.c_str()));
}

void MainWindow::UpdateHint() {
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
