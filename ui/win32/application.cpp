#include "ui/win32/application.h"

#include "base/error.h"

#include <algorithm>
#include <utility>

namespace vistrel {

TApplication Application;

namespace {
constexpr wchar_t kClassName[] = L"TApplication";
}

void TApplication::Initialize(HINSTANCE instance) {
    RegisterWindowClass(kClassName, 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                        ::LoadIconW(instance, L"MAINICON"));
    // A zero-sized, visible popup: invisible on screen, yet it owns the taskbar button.
    int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    CreateHandle(0, kClassName, title_.c_str(),
                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                 nullptr, nullptr);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TApplication::SetTitle(std::wstring_view title) {
    title_ = title;
    if (hwnd_)
        ::SetWindowTextW(hwnd_, title_.c_str());
}

bool TApplication::HandleOne(MSG& msg) {
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // Dialog navigation (Tab, arrows between controls) for the main window and the open
    // dialogs.
    HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top &&
        (top == mainWindow_ ||
         std::find(dialogs_.begin(), dialogs_.end(), top) != dialogs_.end()) &&
        ::IsDialogMessageW(top, &msg))
        return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

void TApplication::Idle() {
    if (!OnIdle)
        return;
    try {
        OnIdle();
    } catch (...) {
        // The idle step only refreshes what is shown; a failure there must not stop the
        // loop.
    }
}

void TApplication::Wait() {
    std::vector<HANDLE> handles;
    for (const Waiting& w : waits_)
        handles.push_back(w.handle);
    const DWORD count = static_cast<DWORD>(handles.size());
    const DWORD result = ::MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT,
                                                       MWMO_INPUTAVAILABLE);
    if (result == WAIT_FAILED) {
        // A handle that can no longer be waited on is dropped, or the loop would spin.
        std::erase_if(waits_, [](const Waiting& w) {
            return ::WaitForSingleObject(w.handle, 0) == WAIT_FAILED;
        });
        return;
    }
    if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
        // A copy: the callback may change what is waited for.
        std::function<void()> signalled = waits_[result - WAIT_OBJECT_0].signalled;
        Guarded(signalled);
    }
}

void TApplication::Run() {
    MSG msg;
    while (!terminated_) {
        if (HandleOne(msg))
            continue;
        Idle();
        if (!terminated_)
            Wait();
    }
}

void TApplication::WaitFor(HANDLE handle, std::function<void()> signalled) {
    if (!handle)
        return;
    StopWaitingFor(handle);
    waits_.push_back({handle, std::move(signalled)});
}

void TApplication::StopWaitingFor(HANDLE handle) {
    std::erase_if(waits_, [handle](const Waiting& w) { return w.handle == handle; });
}

void TApplication::DialogOpened(HWND dialog) {
    dialogs_.push_back(dialog);
}

void TApplication::DialogClosed(HWND dialog) {
    std::erase(dialogs_, dialog);
}

void TApplication::Terminate() {
    if (!terminated_)
        ::PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (Minimized())
        return;
    ::SetActiveWindow(hwnd_);
    if (mainWindow_ && ::IsWindowVisible(mainWindow_) && ::IsWindowEnabled(mainWindow_)) {
        // Lay the owner window over the main window so that the system's minimise
        // animation starts from there.
        RECT r;
        ::GetWindowRect(mainWindow_, &r);
        ::SetWindowPos(hwnd_, mainWindow_, r.left, r.top, r.right - r.left, 0, SWP_SHOWWINDOW);
        ::DefWindowProcW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        ::ShowWindow(hwnd_, SW_MINIMIZE);
    }
}

void TApplication::Restore() {
    if (mainWindow_) {
        ::SetWindowPos(mainWindow_, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (::IsWindowVisible(mainWindow_))
            ::SetForegroundWindow(mainWindow_);
    }
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && ::IsIconic(hwnd_)) {
            LRESULT r = Default(msg, wParam, lParam);
            Restore();
            return r;
        }
        break;
    case WM_CLOSE:
        // Closing the taskbar button closes the main window, which ends the program.
        if (mainWindow_) {
            ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Hand activation on to the main window: the owner itself has nothing to show.
        if (LOWORD(wParam) != WA_INACTIVE && !::IsIconic(hwnd_) && mainWindow_ &&
            ::IsWindowVisible(mainWindow_) && ::IsWindowEnabled(mainWindow_)) {
            ::SetFocus(mainWindow_);
            return 0;
        }
        break;
    }
    return Default(msg, wParam, lParam);
}

void TApplication::ShowError(std::wstring_view message) noexcept {
    try {
        std::wstring text = ErrorBoxText(message);
        HWND owner = ::GetActiveWindow();
        if (!owner && mainWindow_ && ::IsWindowVisible(mainWindow_))
            owner = mainWindow_;
        ModalScope modal(*this);
        // On top, as the panel is: never hidden behind the browser while the panel waits.
        ::MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP | MB_TOPMOST);
    } catch (...) {
        ::MessageBoxW(nullptr, L"Out of memory.", L"Vistrel", MB_OK | MB_ICONSTOP);
    }
}

} // namespace vistrel
