#pragma once
// Base of every window class of the program. The class's window procedure keeps the
// object in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY and hands each message to
// HandleMessage behind the exception firewall: no exception crosses a Win32 callback, it
// goes to the error box instead.
//
// An object can also stand for a system control (a button, a list box) made by its parent:
// it then only knows the handle, and the control goes with its parent window.

#include <windows.h>

namespace vistrel {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }
    // Stands for a system control without owning it.
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    // Makes a system control (a button, a list box) as a child of parent, with this id, and
    // stands for it. Throws Error("Out of system resources") when the system refuses.
    void MakeSystemControl(DWORD exStyle, const wchar_t* className, const wchar_t* text,
                           DWORD style, HWND parent, UINT id);

protected:
    static void RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                    HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW),
                                    HICON icon = nullptr);
    // Creates a window of one of the program's classes with this object as its handler.
    // Throws Error("Out of system resources") when the system refuses.
    HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool owned_ = false;
};

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
