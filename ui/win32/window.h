#pragma once
// Base of every window class of the program: a static window procedure that finds the
// object through GWLP_USERDATA and forwards to HandleMessage, behind the exception
// firewall (no exception crosses a Win32 callback; it goes to the error box instead).

#include <windows.h>

namespace vistrel {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

protected:
    static void RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                    HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW));
    // Creates the window with this object as its handler.
    HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Registers a window class of this program unless it is registered already.
void RegisterClassOnce(const wchar_t* className, WNDPROC proc, UINT style, HBRUSH background,
                       HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW));

// Shows the exception being handled in the error box. Call only from a catch block.
void ReportCurrentException() noexcept;

// Runs f behind the firewall; returns false when it threw.
template <typename F> bool Guarded(F&& f) noexcept {
    try {
        f();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

} // namespace vistrel
