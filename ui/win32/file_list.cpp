#include "ui/win32/file_list.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"
#include "ui/win32/window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

namespace vistrel {

TFileListBox::TFileListBox() : model_(FoldFileName) {}

void TFileListBox::Create(HWND parent, DWORD style) {
    MakeSystemControl(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                      WS_CHILD | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                          LBS_NOINTEGRALHEIGHT | style,
                      parent, 0);
    ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, kItemHeight);
    ::SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
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

namespace {

UniqueChangeNotification WatchFolder(const std::wstring& folder) {
    return UniqueChangeNotification(
        ::FindFirstChangeNotificationW(folder.c_str(), FALSE,
                                       FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                           FILE_NOTIFY_CHANGE_ATTRIBUTES));
}

} // namespace

void TFileListBox::Reread() {
    std::vector<std::wstring> names;
    if (!folder_.empty()) {
        // Watched from before the read, so that a change during the read is not missed.
        UniqueChangeNotification watch = WatchFolder(folder_);
        watch_.reset();
        names = ListPlainFiles(folder_);
        watch_ = std::move(watch);
    }
    Fill(std::move(names));
}

bool TFileListBox::Current() const {
    return watch_ && ::WaitForSingleObject(watch_.get(), 0) == WAIT_TIMEOUT;
}

void TFileListBox::Fill(std::vector<std::wstring> names) {
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    model_.Assign(std::move(names), SplitMask(Mask));
    // Emptied first, so that the caret goes back to the top as for a new list.
    ::SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(hwnd_, LB_SETCOUNT, model_.Size(), 0);
    selected_ = -1;
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    Change();
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

LRESULT CALLBACK TFileListBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TFileListBox*>(data);
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
        // The items' texts, for this program's own code (the list itself stores none). A
        // request from another process is left to the list, which then answers like any
        // list without strings: its buffer there is sized for that.
        case LB_GETTEXTLEN:
            if (::InSendMessageEx(nullptr) != ISMEX_NOSEND)
                break;
            if (wParam < self->model_.Size())
                return static_cast<LRESULT>(self->model_.Name(wParam).size());
            return LB_ERR;
        case LB_GETTEXT:
            if (::InSendMessageEx(nullptr) != ISMEX_NOSEND)
                break;
            if (wParam < self->model_.Size() && lParam) {
                const std::wstring& name = self->model_.Name(wParam);
                name.copy(reinterpret_cast<wchar_t*>(lParam), name.size());
                reinterpret_cast<wchar_t*>(lParam)[name.size()] = L'\0';
                return static_cast<LRESULT>(name.size());
            }
            return LB_ERR;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(hwnd, SubclassProc, 1);
            break;
        }
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace vistrel
