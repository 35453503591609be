// The photo list following its folder: the folder's change records applied to the list in
// their places, and the program's own additions and removals likewise.

#include "ui/win32/file_list.h"

#include "base/win32/file_system.h"
#include "base/win32/handles.h"
#include "ui/win32/application.h"

namespace vistrel {

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A short name the system may give for a long one ("IMAGE_~1.JPG"): at most eight characters,
// a "~" among them, and at most three after a dot.
bool LooksShort(std::wstring_view name) {
    const size_t dot = name.find_last_of(L'.');
    const std::wstring_view base = name.substr(0, dot);
    return base.size() <= 8 && base.find(L'~') != std::wstring_view::npos &&
           (dot == std::wstring_view::npos || name.size() - dot - 1 <= 3);
}

} // namespace

void TFileListBox::Watch() {
    StopWatching();
    auto watch = std::make_unique<FolderWatch>(folder_);
    // A folder whose file system keeps no change records (some network drives) is read
    // again before each photo instead of followed.
    unwatchable_ = !watch->Active();
    if (!unwatchable_) {
        watch_ = std::move(watch);
        Application.WaitFor(watch_->Event(), [this] { CatchUp(); });
    }
    // The folder's own name in its parent: moved away, removed or replaced there, it is
    // read again (a handle follows a folder moved to the Recycle Bin and hears nothing).
    std::wstring parent = FolderOf(folder_);
    auto parentWatch = std::make_unique<FolderWatch>(parent);
    if (parentWatch->Active()) {
        parentWatch_ = std::move(parentWatch);
        Application.WaitFor(parentWatch_->Event(), [this] { OnParentChanged(); });
    }
}

void TFileListBox::StopWatching() {
    for (auto* watch : {&watch_, &parentWatch_}) {
        if (*watch)
            Application.StopWaitingFor((*watch)->Event());
        watch->reset();
    }
}

void TFileListBox::OnParentChanged() {
    if (!parentWatch_)
        return;
    FolderWatch::Records records = parentWatch_->Take();
    const std::wstring name = FileNameOf(folder_);
    bool ours = false;
    for (const std::wstring& changed : records.names)
        ours = ours || SameFileName(changed, name);
    if (ours || (records.lost && !parentWatch_->Active())) {
        StopWatching();
        CatchUp();
    }
}

void TFileListBox::CatchUp() {
    if (folder_.empty())
        return;
    if (!watch_) {
        if (IsFolder(folder_)) {
            // Read again once it is back (or was replaced). One that cannot be followed is
            // left to those who need it up to date (see Following).
            ::KillTimer(hwnd_, kFolderBackTimer);
            if (!unwatchable_)
                Reread(/*keepPlace=*/true);
            return;
        }
        // Gone: an empty list, and the folder looked for every second.
        if (model_.Size() > 0)
            Fill({});
        ::SetTimer(hwnd_, kFolderBackTimer, 1000, nullptr);
        return;
    }
    FolderWatch::Records records = watch_->Take();
    const std::wstring folder = folder_ + L"\\";
    const std::vector<std::wstring> patterns = SplitMask(Mask);
    for (std::wstring& name : records.names) {
        if (!LooksShort(name))
            continue;
        // The records may give a file's short name: its long one is what the list shows.
        const std::wstring path = folder + name;
        std::wstring longPath(MAX_PATH * 4, L'\0');
        const DWORD n =
            ::GetLongPathNameW(path.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
        if (n > 0 && n < longPath.size())
            name = FileNameOf(std::wstring_view(longPath.data(), n));
        else if (model_.IndexOfName(name) < 0)
            records.lost = true; // gone by a name the list does not know: read again
    }
    if (records.lost) {
        StopWatching();
        return CatchUp();
    }
    if (records.names.empty())
        return;
    // A selected photo renamed elsewhere stays selected under its new name.
    std::wstring follow;
    if (selected_ >= 0) {
        std::wstring selected = model_.Name(static_cast<size_t>(selected_));
        for (const auto& [from, to] : records.renamed)
            if (SameFileName(from, selected))
                selected = follow = to;
    }
    Mirror(model_.Update(records.names,
                         [&](const std::wstring& name) {
                             std::optional<std::wstring> found;
                             // Names with wildcards or separators are no names of a plain file the
                             // list shows.
                             if (name.find_first_of(L"*?\\/") != std::wstring::npos)
                                 return found;
                             // By its path alone: a search would open the folder, and another
                             // program's removal of it could fail meanwhile.
                             WIN32_FILE_ATTRIBUTE_DATA data;
                             constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY |
                                                        FILE_ATTRIBUTE_HIDDEN |
                                                        FILE_ATTRIBUTE_SYSTEM;
                             if (::GetFileAttributesExW((folder + name).c_str(),
                                                        GetFileExInfoStandard, &data) &&
                                 !(data.dwFileAttributes & kSkipped))
                                 found = name;
                             return found;
                         }),
           follow);
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

void TFileListBox::Mirror(const std::vector<FileListModel::Edit>& edits,
                          const std::wstring& follow) {
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
            // An item put in at the first one shown pushes the view, not the items in it.
            top += at < top || (at == top && top > 0) ? 1 : 0;
        } else {
            ::SendMessageW(hwnd_, LB_DELETESTRING, e.index, 0);
            selected = at == selected ? -1 : selected - (selected >= 0 && at < selected ? 1 : 0);
            top -= at < top ? 1 : 0;
        }
    }
    selected_ = selected;
    if (selected_ < 0 && !follow.empty())
        selected_ = model_.IndexOfName(follow);
    if (selected_ >= 0)
        FillTo(static_cast<size_t>(selected_) + 1);
    ::SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
    ::SendMessageW(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(top, 0)), 0);
    if (many) {
        ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
    // The selected photo gone (the preview says there is none), or selected under its new
    // name.
    if (wasSelected >= 0 && selected < 0)
        Change();
}

} // namespace vistrel
