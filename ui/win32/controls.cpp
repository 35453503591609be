#include "ui/win32/controls.h"

#include "base/win32/handles.h"

#include <algorithm>

namespace vistrel {

TControl* FindControl(std::span<TControl* const> controls, HWND hwnd) {
    if (!hwnd)
        return nullptr;
    for (TControl* c : controls)
        if (c->Handle() == hwnd)
            return c;
    return nullptr;
}

bool TControl::Enabled() const {
    return ::IsWindowEnabled(hwnd_) != FALSE;
}

void TControl::SetEnabled(bool enabled) {
    ::EnableWindow(hwnd_, enabled);
}

bool TControl::Visible() const {
    return (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetVisible(bool visible) {
    if (visible != Visible())
        ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

std::wstring TControl::Text() const {
    int n = ::GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(hwnd_, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return text;
}

void TControl::SetText(const std::wstring& text) {
    ::SetWindowTextW(hwnd_, text.c_str());
}

void TLabel::Command(WORD code) {
    if (code == STN_CLICKED && OnClick)
        OnClick();
}

void TLabel::SetCaption(const std::wstring& text) {
    if (text == Text())
        return;
    // Given the room for the new text before it is drawn: a right-aligned number that gains
    // a digit would otherwise show clipped ("00" for 100) until the label grew. The old
    // place is drawn again too, for a label that shrinks.
    RECT old;
    ::GetWindowRect(hwnd_, &old);
    HWND parent = ::GetParent(hwnd_);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&old), 2);
    Place(TextWidthOf(text), SWP_NOREDRAW);
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SetText(text);
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(parent, &old, TRUE);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int TLabel::TextWidthOf(const std::wstring& text) const {
    WindowDC dc = WindowDC::Client(hwnd_);
    auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    SelectObjectGuard select(dc.get(), font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int TLabel::TextWidth() const {
    return TextWidthOf(Text());
}

void TLabel::AdjustBounds() {
    Place(TextWidth(), 0);
}

void TLabel::Place(int width, UINT flags) {
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    int left = RightAligned ? r.right - width : r.left;
    ::SetWindowPos(hwnd_, nullptr, left, r.top, width, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

void TButton::Command(WORD code) {
    if (code == BN_CLICKED && OnClick)
        OnClick();
}

bool TCheckBox::Checked() const {
    return ::SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == Checked())
        return;
    ::SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick)
        OnClick();
}

void TCheckBox::Command(WORD code) {
    if (code == BN_CLICKED && OnClick)
        OnClick();
}

void TEdit::Command(WORD code) {
    if (code == EN_CHANGE && OnChange)
        OnChange();
}

int TComboBox::ItemIndex() const {
    return static_cast<int>(::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    if (index < 0 || index >= Count())
        index = -1;
    ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TComboBox::AddItem(const std::wstring& text) {
    ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TComboBox::Count() const {
    return static_cast<int>(::SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
}

void TComboBox::Command(WORD code) {
    if (code == CBN_SELCHANGE && OnChange)
        OnChange();
}

void TScrollBar::SetRange(int min, int max) {
    Min = min;
    Max = max;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMin = min;
    si.nMax = max;
    position_ = std::clamp(position_, min, max);
    si.nPos = position_;
    ::SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

void TScrollBar::SetPosition(int position) {
    position = std::clamp(position, Min, Max);
    if (position == position_)
        return;
    position_ = position;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = position;
    ::SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
    if (OnChange)
        OnChange();
}

void TScrollBar::Scroll(int code, int thumbPosition) {
    int target = position_;
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        target = position_ - 1;
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        target = position_ + 1;
        break;
    case SB_LEFT:
        target = Min;
        break;
    case SB_RIGHT:
        target = Max;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The message's 16-bit position: the sliders' ranges lie well within it.
        target = thumbPosition;
        break;
    default:
        return;
    }
    SetPosition(target);
}

} // namespace vistrel
