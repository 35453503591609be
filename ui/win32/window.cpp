#include "ui/win32/window.h"

#include "base/error.h"
#include "ui/win32/application.h"

#include <new>
#include <string>

namespace vistrel {

Window::~Window() {
    if (hwnd_ && owned_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Window::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                 HCURSOR cursor, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &wc))
        return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
}

HWND Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent,
                          HMENU menuOrId) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                  menuOrId, ::GetModuleHandleW(nullptr), this);
    if (!hwnd)
        throw Error(L"Out of system resources");
    owned_ = true;
    return hwnd;
}

void Window::MakeSystemControl(DWORD exStyle, const wchar_t* className, const wchar_t* text,
                               DWORD style, HWND parent, UINT id) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, text, style, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        throw Error(L"Out of system resources");
    Attach(hwnd);
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
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
    if (msg == WM_NCDESTROY) {
        // The object may outlive its window; it no longer answers for this handle.
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

namespace {

// Texts of standard exceptions are narrow; ours are UTF-8, the library's plain ASCII.
std::wstring Widen(const char* text) {
    for (UINT codePage : {UINT{CP_UTF8}, UINT{CP_ACP}}) {
        DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        int n = ::MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
        if (n <= 0)
            continue;
        std::wstring wide(static_cast<size_t>(n), L'\0');
        ::MultiByteToWideChar(codePage, flags, text, -1, wide.data(), n);
        wide.resize(static_cast<size_t>(n - 1));
        return wide;
    }
    return L"Unknown error";
}

} // namespace

void ReportCurrentException() noexcept {
    try {
        throw;
    } catch (const Error& e) {
        Application.ShowError(e.Message());
    } catch (const std::bad_alloc&) {
        Application.ShowError(L"Out of memory");
    } catch (const std::exception& e) {
        try {
            Application.ShowError(Widen(e.what()));
        } catch (...) {
            Application.ShowError(L"Out of memory");
        }
    } catch (...) {
        Application.ShowError(L"Unknown error");
    }
}

} // namespace vistrel
