// The main window's construction, start and end, and its message dispatch: each message it
// answers goes to one typed handler.

#include "app/win32/main_window.h"

#include "album/win32/preview_picture.h"
#include "base/win32/file_system.h"
#include "ui/win32/application.h"

#include <windowsx.h>

namespace vistrel {

MainWindow::MainWindow(std::wstring programPath)
    : programPath_(std::move(programPath)), photosFolder_(FolderOf(programPath_) + L"Photos") {
    std::wstring base = programPath_;
    size_t dot = base.find_last_of(L'.');
    size_t slash = base.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        base.resize(dot);
    settingsPath_ = base + L".ini";

    MinimiseItem = {kMinimiseId, L"Свернуть", L"Свернуть панель", true};
    MinimiseSeparator = {kMinimiseSeparatorId, nullptr, L"", true};
    OpenItem = {kOpenId, L"Открыть", L"Открыть фото в программе просмотра", false};
    ShowInFolderItem = {kShowInFolderId, L"Показать в папке",
                        L"Открыть папку с фото и выделить его", false};
    CopyItem = {kCopyId, L"Копировать", L"Копировать фото в буфер обмена", false};
    DeleteItem = {kDeleteId, L"Удалить фото", L"", false};
    AboutSeparator = {kAboutSeparatorId, nullptr, L"", false};
    HotkeyItem = {kHotkeyId, L"Горячая клавиша…",
                  L"Клавиша, которой делается снимок из любой программы", true};
    AboutItem = {kAboutId, L"О программе", L"О программе", true};
}

MainWindow::~MainWindow() {
    if (leftovers_.joinable())
        leftovers_.join();
}

void MainWindow::Create(HWND owner) {
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
    Realign();
    job_ = std::make_unique<PhotoJob>(static_cast<PhotoJob::Host&>(*this), hwnd_);

    // The first page has nothing on it: only "Фото" and its tab are shown.
    TabCtrl_DeleteItem(Pages.Handle(), 0);
    StartPage.SetVisible(false);
    TabCtrl_SetCurSel(Pages.Handle(), 0);
    Realign();

    // Each part of the start reports its own failure and the rest goes on: a Photos folder
    // that cannot be opened must not leave the hotkey off unsaid.
    Guarded([this] { LoadSettings(); });
    Guarded([this] { ListPhotosFolder(); });
    Guarded([this] { RegisterHotkeyAtStart(); });
    Guarded([this] { About.Create(hwnd_); });
}

void MainWindow::Destroy() {
    // A photo still being written is abandoned: its temporary file goes with it.
    job_.reset();
    if (leftovers_.joinable())
        leftovers_.join();
    if (!settingsSaved_) {
        settingsSaved_ = true;
        Guarded([this] { SaveSettings(); });
    }
    if (hotkeyId_)
        ::UnregisterHotKey(hwnd_, hotkeyId_);
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    // Moved to a screen of another scale: laid out again at it, where the system says.
    ApplyDpi(dpi);
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Realign();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::OnEndSession() {
    // The system ends the program after this returns, without destroying its windows:
    // the settings are saved now, as at a normal end, and only once.
    if (settingsSaved_)
        return;
    settingsSaved_ = true;
    Guarded([this] { SaveSettings(); });
}

void MainWindow::OnClose() {
    // A photo under way is finished first; clicks queued behind it go with the window.
    closing_ = true;
    job_->Close();
    if (!job_->UnderWay())
        Application.Terminate();
}

void MainWindow::PhotoEnded() {
    if (closing_)
        Application.Terminate();
}

void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd_, focus))
            savedFocus_ = focus;
        return;
    }
    // Back to the control that had the focus, or to the first one.
    ::SetFocus(savedFocus_ && ::IsWindow(savedFocus_) ? savedFocus_ : PhotoButton.Handle());
}

void MainWindow::OnCommand(WORD id, HWND control, WORD code) {
    if (TControl* c = FindControl(controls_, control)) {
        c->Command(code);
        return;
    }
    // Enter where no control takes it becomes IDOK (the dialog keys of the window): in the
    // list it opens the photo.
    if (id == IDOK && !control && ::GetFocus() == PhotoList.Handle())
        OnOpenClick();
}

void MainWindow::OnHScroll(HWND control, int code, int thumbPosition) {
    if (TControl* c = FindControl(controls_, control))
        c->Scroll(code, thumbPosition);
}

bool MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != PhotoList.Handle())
        return false;
    PhotoList.DrawItem(item);
    return true;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (job_ && job_->OnMessage(msg))
        return 0;
    switch (msg) {
    case WM_SIZE:
        Realign();
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
        OnRollUp();
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
    case WM_TIMER:
        if (job_ && job_->OnTimer(wParam))
            return 0;
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
        OnClose();
        return 0;
    }
    if (msg == PhotoUnderWayQuery())
        return PhotoUnderWay() ? 1 : 0;
    return Default(msg, wParam, lParam);
}

UINT PhotoUnderWayQuery() {
    static const UINT message = ::RegisterWindowMessageW(L"Vistrel.PhotoUnderWay");
    return message;
}

} // namespace vistrel
