#pragma once
// Owning wrappers for Win32 handles. The release function is part of the type, so a
// device context from GetDC cannot be deleted with DeleteDC by mistake; each wrapper is
// move-only, so nothing is released twice.

#include <windows.h>

#include <utility>

namespace vistrel {

template <typename Handle, typename Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return Traits::Valid(h_); }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (Traits::Valid(h_))
            Traits::Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Traits::Invalid();
};

template <typename Handle, auto CloseFn> struct NullHandleTraits {
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseFn(h); }
};

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { ::FindClose(h); }
};

inline void DeleteGdiObject(HGDIOBJ h) {
    ::DeleteObject(h);
}

using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueHandle<HANDLE, FindHandleTraits>;
using UniqueMemoryDC = UniqueHandle<HDC, NullHandleTraits<HDC, ::DeleteDC>>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullHandleTraits<HBITMAP, DeleteGdiObject>>;
using UniqueFont = UniqueHandle<HFONT, NullHandleTraits<HFONT, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullHandleTraits<HBRUSH, DeleteGdiObject>>;
using UniqueMenu = UniqueHandle<HMENU, NullHandleTraits<HMENU, ::DestroyMenu>>;
using UniqueIcon = UniqueHandle<HICON, NullHandleTraits<HICON, ::DestroyIcon>>;
// Memory the system allocated for the caller (FormatMessage's buffer), released with
// LocalFree.
using UniqueLocalMemory = UniqueHandle<HLOCAL, NullHandleTraits<HLOCAL, ::LocalFree>>;

// A device context of a window (GetDC / GetWindowDC), released with ReleaseDC.
class WindowDC {
public:
    WindowDC(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
    static WindowDC Client(HWND hwnd) { return WindowDC(hwnd, ::GetDC(hwnd)); }
    static WindowDC Whole(HWND hwnd) { return WindowDC(hwnd, ::GetWindowDC(hwnd)); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& other) noexcept
        : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&&) = delete;
    ~WindowDC() { Release(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Release() {
        if (dc_)
            ::ReleaseDC(hwnd_, std::exchange(dc_, nullptr));
    }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { ::BeginPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    HDC get() const { return ps_.hdc; }
    const RECT& Dirty() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// Selects an object into a device context and selects the previous one back.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;
    ~SelectObjectGuard() {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace vistrel
