// The main window's construction, start and end, and its message dispatch: each message it
// answers goes to one typed handler.

#include "app/win32/main_form.h"

#include "album/win32/preview_picture.h"
#include "app/win32/hotkey_form.h"
#include "base/win32/file_system.h"
#include "ui/win32/application.h"

#include <windowsx.h>

namespace vistrel {

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(std::wstring programPath)
    : programPath_(std::move(programPath)), photosFolder_(FolderOf(programPath_) + L"Photos") {
    std::wstring base = programPath_;
    size_t dot = base.find_last_of(L'.');
    size_t slash = base.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        base.resize(dot);
    settingsPath_ = base + L".ini";

    Hide = {kHideId, L"Свернуть", L"Свернуть панель", true};
    N1 = {kN1Id, nullptr, L"", true};
    OpenPhoto = {kOpenPhotoId, L"Открыть", L"Открыть фото в программе просмотра", false};
    ShowInFolder = {kShowInFolderId, L"Показать в папке", L"Открыть папку с фото и выделить его",
                    false};
    CopyPhoto = {kCopyPhotoId, L"Копировать", L"Копировать фото в буфер обмена", false};
    DelPhoto = {kDelPhotoId, L"Удалить фото", L"", false};
    N4 = {kN4Id, nullptr, L"", false};
    ChooseHotkey = {kChooseHotkeyId, L"Горячая клавиша…",
                    L"Клавиша, которой делается снимок из любой программы", true};
    About = {kAboutId, L"О программе", L"О программе", true};
}

TMainForm::~TMainForm() = default;

void TMainForm::Create(HWND owner) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateHandle(kFormExStyle, kClassName, kCaption, kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                 kDesignWidth, kDesignHeight, owner, nullptr);
    // Every measure grows with the scale of the window's screen.
    dpi_ = static_cast<int>(::GetDpiForWindow(hwnd_));
    if (dpi_ <= 0)
        dpi_ = 96;
    if (dpi_ != 96)
        ::SetWindowPos(hwnd_, nullptr, 0, 0, Scaled(kDesignWidth), Scaled(kDesignHeight),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CreateControls();
    FormResize(this);
    Guarded([this] { FormCreate(this); });
}

void TMainForm::FormCreate(TObject*) {
    // The first page has nothing on it: only "Фото" and its tab are shown.
    TabCtrl_DeleteItem(PageControl1.Handle(), 0);
    TabSheet1.SetVisible(false);
    TabCtrl_SetCurSel(PageControl1.Handle(), 0);
    Realign();

    LoadSettings();
    ::CreateDirectoryW(photosFolder_.c_str(), nullptr); // existing already: fine
    FileListBox.AssignFolder(photosFolder_);
    RegisterHotkeyAtStart();
}

void TMainForm::Destroy() {
    if (!settingsSaved_)
        Guarded([this] { FormDestroy(this); });
    if (hotkeyId_)
        ::UnregisterHotKey(hwnd_, hotkeyId_);
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

void TMainForm::OnDpiChanged(int dpi, const RECT& suggested) {
    // Moved to a screen of another scale: laid out again at it, where the system says.
    ApplyDpi(dpi);
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Realign();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TMainForm::OnEndSession() {
    // The system ends the program after this returns, without destroying its windows:
    // the settings are saved now, as at a normal end, and only once.
    if (settingsSaved_)
        return;
    settingsSaved_ = true;
    Guarded([this] { FormDestroy(this); });
}

void TMainForm::FormDestroy(TObject*) {
    SaveSettings();
}

void TMainForm::FormResize(TObject*) {
    // The preview keeps its 4:3 shape as part of the layout.
    Realign();
}

void TMainForm::OnActivate(bool active) {
    if (!active) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd_, focus))
            savedFocus_ = focus;
        return;
    }
    // Back to the control that had the focus, or to the first one.
    ::SetFocus(savedFocus_ && ::IsWindow(savedFocus_) ? savedFocus_ : PhotoButton.Handle());
}

void TMainForm::OnCommand(WORD id, HWND control, WORD code) {
    if (TControl* c = FindControl(controls_, control)) {
        c->Command(code);
        return;
    }
    // Enter where no control takes it becomes IDOK (the dialog keys of the window): in the
    // list it opens the photo.
    if (id == IDOK && !control && ::GetFocus() == FileListBox.Handle()) {
        WORD key = VK_RETURN;
        FileListBoxKeyDown(&FileListBox, key, 0);
    }
}

void TMainForm::OnHScroll(HWND control, int code, int thumbPosition) {
    if (TControl* c = FindControl(controls_, control))
        c->Scroll(code, thumbPosition);
}

bool TMainForm::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != FileListBox.Handle())
        return false;
    FileListBox.DrawItem(item);
    return true;
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        FormResize(this);
        return 0;
    case WM_GETMINMAXINFO:
        Default(msg, wParam, lParam);
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        return Default(msg, wParam, lParam);
    case WM_ENTERSIZEMOVE:
        resizing_ = true;
        break;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove();
        break;
    case WM_NCLBUTTONDBLCLK:
        Default(msg, wParam, lParam);
        WMNCLButtonDblClk();
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_ENTERMENULOOP:
        OnEnterMenuLoop();
        return 0;
    case WM_EXITMENULOOP:
        OnExitMenuLoop();
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam),
                  static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_DRAWITEM:
        if (OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_SETFOCUS:
        // The window itself takes no keys: the focus goes on to its control.
        OnActivate(true);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            OnActivate(false);
            break;
        }
        OnActivate(true);
        return 0;
    case kTakePendingPhoto:
        if (!pendingPhotos_.empty()) {
            const bool fromHotkey = pendingPhotos_.front();
            pendingPhotos_.pop_front();
            PhotoButtonClick(fromHotkey ? static_cast<TObject*>(this) : &PhotoButton);
        }
        return 0;
    case WM_HOTKEY:
        OnHotkey(static_cast<int>(wParam));
        return 0;
    case kReportPreviewError:
        ReportPreviewError();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            OnEndSession();
        return 0;
    case WM_CLOSE:
        // A photo under way is finished; clicks queued behind it go with the window.
        pendingPhotos_.clear();
        Application.Terminate();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

} // namespace vistrel
