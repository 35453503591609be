#include "ui/win32/application.h"

#include "base/error.h"

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
    // Dialog navigation (Tab, arrows between controls) for the main window's controls.
    HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && (top == mainForm_ || top == modalDialog_) && ::IsDialogMessageW(top, &msg))
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

void TApplication::Run() {
    MSG msg;
    while (!terminated_) {
        if (HandleOne(msg))
            continue;
        Idle();
        if (!terminated_)
            ::WaitMessage();
    }
}

void TApplication::RunModal(HWND dialog, const std::function<bool()>& finished) {
    ModalScope modal(*this);
    HWND previous = std::exchange(modalDialog_, dialog);
    MSG msg;
    while (!terminated_ && !finished()) {
        if (HandleOne(msg))
            continue;
        Idle();
        if (!terminated_ && !finished())
            ::WaitMessage();
    }
    modalDialog_ = previous;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && HandleOne(msg)) {
    }
}

void TApplication::Terminate() {
    if (!terminated_)
        ::PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (Minimized())
        return;
    ::SetActiveWindow(hwnd_);
    if (mainForm_ && ::IsWindowVisible(mainForm_) && ::IsWindowEnabled(mainForm_)) {
        // Lay the owner window over the main window so that the system's minimise
        // animation starts from there.
        RECT r;
        ::GetWindowRect(mainForm_, &r);
        ::SetWindowPos(hwnd_, mainForm_, r.left, r.top, r.right - r.left, 0, SWP_SHOWWINDOW);
        ::DefWindowProcW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        ::ShowWindow(hwnd_, SW_MINIMIZE);
    }
}

void TApplication::Restore() {
    if (mainForm_) {
        ::SetWindowPos(mainForm_, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (::IsWindowVisible(mainForm_))
            ::SetForegroundWindow(mainForm_);
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
        if (mainForm_) {
            ::PostMessageW(mainForm_, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Hand activation on to the main window: the owner itself has nothing to show.
        if (LOWORD(wParam) != WA_INACTIVE && !::IsIconic(hwnd_) && mainForm_ &&
            ::IsWindowVisible(mainForm_) && ::IsWindowEnabled(mainForm_)) {
            ::SetFocus(mainForm_);
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
        if (!owner && mainForm_ && ::IsWindowVisible(mainForm_))
            owner = mainForm_;
        ModalScope modal(*this);
        ::MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        ::MessageBoxW(nullptr, L"Out of memory.", L"Vistrel", MB_OK | MB_ICONSTOP);
    }
}

} // namespace vistrel
