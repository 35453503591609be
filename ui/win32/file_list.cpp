#include "ui/win32/file_list.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"
#include "ui/win32/application.h"
#include "ui/win32/window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace vistrel {

namespace {
constexpr UINT kFillMore = WM_APP + 20;
// Items filled in at once when the list is read, and then at each step of the loop.
constexpr size_t kFillNow = 1000, kFillStep = 10000;
} // namespace

TFileListBox::TFileListBox() : model_(FoldFileName) {}

TFileListBox::~TFileListBox() {
    StopWatching();
}

void TFileListBox::Create(HWND parent, DWORD style) {
    // The items hold their names, drawn by the list itself.
    MakeSystemControl(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                      WS_CHILD | WS_VSCROLL | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                          LBS_NOINTEGRALHEIGHT | style,
                      parent, 0);
    ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, kItemHeight);
    // Its own window procedure in front of the list's: the common controls' subclassing
    // costs a tenth of a millisecond a message under Wine, seconds for a large album.
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
}

void TFileListBox::SetItemHeight(int height) {
    ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TFileListBox::AssignFolder(const std::wstring& folder) {
    if (!folder_.empty() && SameFileName(folder, folder_))
        return;
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // A file of that name is not a folder either.
        DWORD code =
            attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : DWORD{ERROR_DIRECTORY};
        throw Error(
            FormatMessageText(L"Cannot open folder \"%s\". %s", {folder, SystemErrorText(code)}));
    }
    std::wstring previous = std::exchange(folder_, folder);
    try {
        Reread();
    } catch (...) {
        folder_ = std::move(previous);
        throw;
    }
}

void TFileListBox::Reread(bool keepPlace) {
    std::vector<std::wstring> names;
    if (!folder_.empty()) {
        // Watched from before the read, so that a change during the read is not missed.
        try {
            Watch();
            names = ListPlainFiles(folder_);
        } catch (...) {
            StopWatching();
            throw;
        }
    }
    Fill(std::move(names), keepPlace);
}

void TFileListBox::Fill(std::vector<std::wstring> names, bool keepPlace) {
    std::wstring selectedName, topName;
    if (keepPlace) {
        const auto top = static_cast<size_t>(::SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0));
        if (top < model_.Size())
            topName = model_.Name(top);
        if (selected_ >= 0)
            selectedName = model_.Name(static_cast<size_t>(selected_));
    }
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    model_.Assign(std::move(names), SplitMask(Mask));
    // Emptied first, so that the caret goes back to the top as for a new list.
    ::SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    filled_ = 0;
    size_t chars = 0;
    for (size_t i = 0; i < model_.Size(); ++i)
        chars += model_.Name(i).size() + 1;
    ::SendMessageW(hwnd_, LB_INITSTORAGE, model_.Size(), chars * sizeof(wchar_t));
    // What shows at once now; the rest from the loop, a part at a time, so that the window
    // shows and answers while a large album fills the list.
    FillTo(std::min(model_.Size(), kFillNow));
    const int wasSelected = std::exchange(selected_, -1);
    if (keepPlace) {
        // The same photo selected, and the same first item shown, where they still are.
        const int top = topName.empty() ? -1 : model_.IndexOfName(topName);
        if (top >= 0) {
            FillTo(static_cast<size_t>(top) + kFillNow);
            ::SendMessageW(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        }
        if (!selectedName.empty())
            Select(model_.IndexOfName(selectedName), false);
    }
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    if (!keepPlace || (wasSelected >= 0 && selected_ < 0))
        Change();
}

void TFileListBox::FillTo(size_t count) {
    if (count <= filled_)
        return;
    // Straight to the list's own procedure (this program's has nothing to add to them), and
    // not drawn one by one: each would draw the list and its scroll bar again.
    const bool drawn = ::IsWindowVisible(hwnd_) != FALSE;
    if (drawn)
        ::CallWindowProcW(listProc_, hwnd_, WM_SETREDRAW, FALSE, 0);
    for (; filled_ < count; ++filled_)
        ::CallWindowProcW(listProc_, hwnd_, LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(model_.Name(filled_).c_str()));
    if (drawn) {
        ::CallWindowProcW(listProc_, hwnd_, WM_SETREDRAW, TRUE, 0);
        // Only the scroll bar changes where the items were put after those shown.
        ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
    if (filled_ < model_.Size())
        ::PostMessageW(hwnd_, kFillMore, 0, 0);
}

void TFileListBox::SelectByPath(const std::wstring& path) {
    std::wstring folder = FolderOf(path);
    if (!folder.empty())
        folder.pop_back();
    if (!folder.empty() && !SameFileName(folder, folder_))
        AssignFolder(folder);
    Select(model_.IndexOfName(FileNameOf(path)), false);
    Change();
}

std::wstring TFileListBox::SelectedPath() const {
    if (selected_ < 0 || static_cast<size_t>(selected_) >= model_.Size())
        return {};
    return folder_ + L"\\" + model_.Name(static_cast<size_t>(selected_));
}

bool TFileListBox::SelectedItemRect(RECT& r) const {
    if (selected_ < 0 || ::SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(selected_),
                                        reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return false;
    RECT client, shown;
    ::GetClientRect(hwnd_, &client);
    return ::IntersectRect(&shown, &r, &client) != FALSE;
}

void TFileListBox::Select(int index, bool notify) {
    if (index >= 0)
        FillTo(static_cast<size_t>(index) + 1);
    ::SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    int previous = selected_;
    selected_ = index;
    if (notify && index != previous)
        Change();
}

void TFileListBox::Change() {
    // The window's text is the selected name, so that other programs (a screen reader, a
    // test) can read the selection.
    std::wstring name = selected_ >= 0 ? model_.Name(static_cast<size_t>(selected_)) : L"";
    ::SetWindowTextW(hwnd_, name.c_str());
    if (OnChange)
        OnChange();
}

void TFileListBox::Command(WORD code) {
    if (code == LBN_DBLCLK && OnDblClick)
        OnDblClick();
    if (code != LBN_SELCHANGE)
        return;
    // The user moved the selection; choosing the item already selected changes nothing.
    int index = static_cast<int>(::SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
    if (index != selected_) {
        selected_ = index;
        Change();
    }
}

void TFileListBox::TypeChar(wchar_t c) {
    if (model_.Empty())
        return;
    const std::wstring& text = typeAhead_.Type(c, ::GetTickCount());
    int index = text.empty() ? 0 : model_.IndexOfPrefix(text);
    if (index >= 0)
        Select(index, true);
}

void TFileListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1) && item.itemID < model_.Size()) {
        const std::wstring& name = model_.Name(item.itemID);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = r;
        text.left += 2;
        ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &r);
}

LRESULT CALLBACK TFileListBox::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TFileListBox*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WNDPROC listProc = self->listProc_;
    try {
        switch (msg) {
        case WM_KEYDOWN:
            if (self->OnKeyDown) {
                WORD key = static_cast<WORD>(wParam);
                unsigned shift = (::GetKeyState(VK_SHIFT) < 0 ? 1u : 0u) |
                                 (::GetKeyState(VK_CONTROL) < 0 ? 2u : 0u) |
                                 (::GetKeyState(VK_MENU) < 0 ? 4u : 0u);
                self->OnKeyDown(key, shift);
                if (key == 0)
                    return 0;
                wParam = key;
            }
            break;
        case WM_RBUTTONDOWN: {
            // A right-click selects the photo under the pointer, as in a file manager, so
            // that the menu it opens concerns the photo it was opened on.
            const int height = static_cast<int>(::SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0));
            const int y = GET_Y_LPARAM(lParam);
            if (height > 0 && y >= 0) {
                const auto top = static_cast<size_t>(::SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0));
                const size_t index = top + static_cast<size_t>(y / height);
                ::SetFocus(hwnd);
                if (index < self->model_.Size())
                    self->Select(static_cast<int>(index), true);
            }
            break;
        }
        case WM_GETDLGCODE:
            // Enter is the list's own (it opens the photo), not the window's default button.
            if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
                return DLGC_WANTMESSAGE;
            break;
        case WM_CHAR:
            if (wParam >= 0x20 || wParam == L'\b') {
                self->TypeChar(static_cast<wchar_t>(wParam));
                return 0;
            }
            break;
        case kFillMore:
            self->FillTo(std::min(self->model_.Size(), self->filled_ + kFillStep));
            return 0;
        case WM_TIMER:
            if (wParam == kFolderBackTimer) {
                self->CatchUp();
                return 0;
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        }
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
    return ::CallWindowProcW(listProc, hwnd, msg, wParam, lParam);
}

} // namespace vistrel
