#include "ui/win32/panels.h"

#include "base/win32/handles.h"

namespace vistrel {

namespace {

// Notifications of a container's children go on to the top-level window, which knows
// every control. A child's context menu request goes there directly too, so that the
// window learns which control it came from (the default handling would name the
// container instead).
bool ForwardToTopLevel(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CONTEXTMENU:
        result = ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
        return true;
    }
    return false;
}

} // namespace

void TPanel::Create(HWND parent, const std::wstring& caption, DWORD style) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
    CreateHandle(WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                 WS_CHILD | style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr);
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

LRESULT TPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT forwarded;
    if (ForwardToTopLevel(hwnd_, msg, wParam, lParam, forwarded))
        return forwarded;
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDC dc(hwnd_);
        PaintBackground(dc.get());
        return 0;
    }
    case WM_SIZE:
        ::InvalidateRect(hwnd_, nullptr, TRUE); // the caption stays centred
        break;
    case WM_SETTEXT: {
        LRESULT r = Default(msg, wParam, lParam);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        return r;
    }
    }
    return Default(msg, wParam, lParam);
}

void TImage::Create(HWND parent, DWORD style) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
    CreateHandle(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                 nullptr);
}

LRESULT TImage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDC dc(hwnd_);
        if (OnPaint) {
            RECT r;
            ::GetClientRect(hwnd_, &r);
            OnPaint(dc.get(), r);
        }
        return 0;
    }
    case WM_SIZE:
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    case WM_NCHITTEST:
        // Clicks and the pointer's hint belong to the panel below.
        return HTTRANSPARENT;
    }
    return Default(msg, wParam, lParam);
}

} // namespace vistrel
