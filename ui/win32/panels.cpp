#include "ui/win32/panels.h"

#include "base/error.h"
#include "base/win32/handles.h"
#include "ui/win32/window.h"

#include <optional>

namespace vistrel {

namespace {

HWND CreateChild(const wchar_t* className, const std::wstring& text, DWORD style, HWND parent,
                 TControl* control) {
    HWND hwnd = ::CreateWindowExW(WS_EX_CONTROLPARENT, className, text.c_str(), WS_CHILD | style, 0,
                                  0, 0, 0, parent, nullptr, ::GetModuleHandleW(nullptr), control);
    if (!hwnd)
        throw Error(L"Out of system resources");
    return hwnd;
}

TControl* ControlOf(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* control =
            static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        control->Attach(hwnd);
        return control;
    }
    return TControl::FromHandle(hwnd);
}

// Runs a control's own handling behind the exception firewall; what it leaves (nullopt)
// goes to the default handling.
template <typename Handle>
LRESULT ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Handle&& handle) {
    try {
        if (msg == WM_NCDESTROY)
            TControl::Detach(hwnd);
        if (std::optional<LRESULT> result = handle())
            return *result;
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

bool ForwardToTopLevel(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        result = ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
        return true;
    }
    return false;
}

void TPanel::Create(HWND parent, const std::wstring& caption, DWORD style) {
    RegisterClassOnce(kClassName, Proc, CS_DBLCLKS, nullptr);
    CreateChild(kClassName, caption, style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent, this);
}

void TPanel::PaintBackground(HDC dc) const {
    RECT r;
    ::GetClientRect(hwnd_, &r);
    UniqueBrush brush(::CreateSolidBrush(Color));
    ::FillRect(dc, &r, brush.get());
    if (Bevel)
        ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    std::wstring caption = Text();
    if (!caption.empty()) {
        SelectObjectGuard font(
            dc, CaptionFont ? CaptionFont
                            : reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, FontColor);
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT CALLBACK TPanel::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TPanel*>(ControlOf(hwnd, msg, lParam));
    return ControlProc(hwnd, msg, wParam, lParam, [&]() -> std::optional<LRESULT> {
        LRESULT forwarded;
        if (ForwardToTopLevel(hwnd, msg, wParam, lParam, forwarded))
            return forwarded;
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (self) {
                PaintDC dc(hwnd);
                self->PaintBackground(dc.get());
                return 0;
            }
            break;
        case WM_SIZE:
            ::InvalidateRect(hwnd, nullptr, TRUE); // the caption stays centred
            break;
        case WM_SETTEXT: {
            LRESULT r = ::DefWindowProcW(hwnd, msg, wParam, lParam);
            ::InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        }
        return std::nullopt;
    });
}

void TImage::Create(HWND parent, DWORD style) {
    RegisterClassOnce(kClassName, Proc, CS_DBLCLKS, nullptr);
    CreateChild(kClassName, L"", style, parent, this);
}

LRESULT CALLBACK TImage::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TImage*>(ControlOf(hwnd, msg, lParam));
    return ControlProc(hwnd, msg, wParam, lParam, [&]() -> std::optional<LRESULT> {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PaintDC dc(hwnd);
            if (self && self->OnPaint) {
                RECT r;
                ::GetClientRect(hwnd, &r);
                self->OnPaint(dc.get(), r);
            }
            return 0;
        }
        case WM_SIZE:
            ::InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_NCHITTEST:
            // Clicks and the pointer's hint belong to the panel below.
            return HTTRANSPARENT;
        }
        return std::nullopt;
    });
}

} // namespace vistrel
