// The photo list following its folder: the folder's change records applied to the list in
// their places, and the program's own additions and removals likewise.

#include "ui/win32/file_list.h"

#include "base/win32/handles.h"
#include "ui/win32/application.h"

namespace vistrel {

void TFileListBox::Watch() {
    if (watch_)
        Application.StopWaitingFor(watch_->Event());
    watch_ = std::make_unique<FolderWatch>(folder_);
    Application.WaitFor(watch_->Event(), [this] { CatchUp(); });
}

void TFileListBox::StopWatching() {
    if (watch_)
        Application.StopWaitingFor(watch_->Event());
    watch_.reset();
}

void TFileListBox::CatchUp() {
    if (folder_.empty())
        return;
    if (!watch_) {
        // Not watched since the folder went: it is read again once it is back, looked for
        // every second meanwhile.
        DWORD attributes = ::GetFileAttributesW(folder_.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::KillTimer(hwnd_, kFolderBackTimer);
            Reread();
            return;
        }
        if (model_.Size() > 0)
            Fill({});
        ::SetTimer(hwnd_, kFolderBackTimer, 1000, nullptr);
        return;
    }
    FolderWatch::Records records = watch_->Take();
    if (records.lost) {
        StopWatching();
        return CatchUp();
    }
    if (records.names.empty())
        return;
    const std::wstring folder = folder_ + L"\\";
    Mirror(model_.Update(records.names, [&](const std::wstring& name) {
        std::optional<std::wstring> found;
        // Names with wildcards or separators are no names of a plain file the list shows.
        if (name.find_first_of(L"*?\\/") != std::wstring::npos)
            return found;
        // By its path alone: a search would open the folder, and another program's removal
        // of it could fail meanwhile. The records spell the name as the folder does.
        WIN32_FILE_ATTRIBUTE_DATA data;
        constexpr DWORD kSkipped =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (::GetFileAttributesExW((folder + name).c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & kSkipped))
            found = name;
        return found;
    }));
}

void TFileListBox::Add(const std::wstring& name) {
    if (auto at = model_.Insert(name))
        Mirror({{true, *at, name}});
}

void TFileListBox::Remove(const std::wstring& name) {
    const int at = model_.IndexOfName(name);
    if (at < 0)
        return;
    std::wstring removed = model_.Name(static_cast<size_t>(at));
    model_.Remove(name);
    Mirror({{false, static_cast<size_t>(at), std::move(removed)}});
}

void TFileListBox::Mirror(const std::vector<FileListModel::Edit>& edits) {
    if (edits.empty())
        return;
    int top = static_cast<int>(::SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0));
    const int wasSelected = selected_;
    int selected = selected_;
    const bool many = edits.size() > 1;
    if (many)
        ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (const FileListModel::Edit& e : edits) {
        const int at = static_cast<int>(e.index);
        // Items past those filled in yet come with the rest.
        if (e.inserted ? e.index > filled_ : e.index >= filled_)
            continue;
        if (e.inserted)
            ++filled_;
        else
            --filled_;
        if (e.inserted) {
            ::SendMessageW(hwnd_, LB_INSERTSTRING, e.index,
                           reinterpret_cast<LPARAM>(e.name.c_str()));
            selected += selected >= 0 && at <= selected ? 1 : 0;
            top += at < top ? 1 : 0;
        } else {
            ::SendMessageW(hwnd_, LB_DELETESTRING, e.index, 0);
            selected = at == selected ? -1 : selected - (selected >= 0 && at < selected ? 1 : 0);
            top -= at < top ? 1 : 0;
        }
    }
    selected_ = selected;
    ::SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
    ::SendMessageW(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(top, 0)), 0);
    if (many) {
        ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
    // The selected photo gone: the preview says there is none.
    if (wasSelected >= 0 && selected_ < 0)
        Change();
}

} // namespace vistrel
