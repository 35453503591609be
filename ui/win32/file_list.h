#pragma once
// The photo list: the bare names of a folder's files that match the mask, sorted without
// regard to letter case, drawn from a sorted vector (an owner-data list box), so that a
// folder of 100,000 photos is listed as fast as it can be read.

#include "base/win32/handles.h"
#include "base/file_list_model.h"
#include "ui/type_ahead.h"
#include "ui/win32/controls.h"

#include <functional>
#include <string>

namespace vistrel {

class TFileListBox : public TControl {
public:
    TFileListBox();

    static constexpr int kItemHeight = 13; // at 96 DPI
    std::wstring Mask = L"*.bmp;*.jpg;*.png";

    TNotifyEvent OnChange;
    TNotifyEvent OnDblClick;
    // Key presses, before the list's own handling.
    std::function<void(WORD& key, unsigned shift)> OnKeyDown;

    void Create(HWND parent, DWORD style);
    void SetItemHeight(int height);

    // Makes the folder the list's folder and re-reads it, unless it is the current one
    // (letter case ignored). Throws when the folder cannot be opened; the list then keeps
    // its folder.
    void AssignFolder(const std::wstring& folder);
    const std::wstring& Folder() const { return folder_; }
    // Reads the folder again; nothing is selected afterwards and OnChange runs once. Throws
    // when the folder cannot be read; the list then stays as it was.
    void Reread();
    // Whether the list still holds what its folder holds: the system has told of no name
    // added, removed or renamed there since the last read.
    bool Current() const;
    // Stops watching the folder (which is then not current); the next read watches again.
    void StopWatching() { watch_.reset(); }
    // Selects the item named like the path's file name (a path in another folder first
    // assigns that folder) and runs OnChange.
    void SelectByPath(const std::wstring& path);
    // The list's folder, a separator and the selected name; empty with nothing selected.
    std::wstring SelectedPath() const;
    int ItemIndex() const { return selected_; }
    // The selected item's rectangle in the list's client area; false when nothing is
    // selected or it is scrolled out of view.
    bool SelectedItemRect(RECT& r) const;
    // Whether an item has this name, letter case ignored.
    bool Contains(std::wstring_view name) const { return model_.IndexOfName(name) >= 0; }
    const FileListModel& Model() const { return model_; }
    int Count() const { return static_cast<int>(model_.Size()); }
    const std::wstring& Item(int index) const { return model_.Name(static_cast<size_t>(index)); }

    // Routed from the parent.
    void Command(WORD code) override;
    void DrawItem(const DRAWITEMSTRUCT& item);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    void Fill(std::vector<std::wstring> names);
    void Select(int index, bool notify);
    void Change();
    void TypeChar(wchar_t c);

    FileListModel model_;
    std::wstring folder_;
    UniqueChangeNotification watch_; // on folder_, from just before its last read
    int selected_ = -1;
    TypeAhead typeAhead_;
};

} // namespace vistrel
