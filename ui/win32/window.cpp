#include "ui/win32/window.h"

#include "ui/win32/application.h"
#include "base/error.h"

#include <new>
#include <string>

namespace vistrel {

Window::~Window() {
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void RegisterClassOnce(const wchar_t* className, WNDPROC proc, UINT style, HBRUSH background,
                       HCURSOR cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &wc))
        return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
}

void Window::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                 HCURSOR cursor) {
    RegisterClassOnce(className, Proc, style, background, cursor);
}

HWND Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent,
                          HMENU menuOrId) {
    hwnd_ = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                              menuOrId, ::GetModuleHandleW(nullptr), this);
    if (!hwnd_)
        throw Error(L"Out of system resources");
    return hwnd_;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        LRESULT r = self->HandleMessage(msg, wParam, lParam);
        self->hwnd_ = nullptr;
        return r;
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

void ReportCurrentException() noexcept {
    try {
        throw;
    } catch (const Error& e) {
        Application.ShowError(e.Message());
    } catch (const std::bad_alloc&) {
        Application.ShowError(L"Out of memory");
    } catch (const std::exception& e) {
        std::string what = e.what();
        Application.ShowError(std::wstring(what.begin(), what.end()));
    } catch (...) {
        Application.ShowError(L"Unknown error");
    }
}

} // namespace vistrel
