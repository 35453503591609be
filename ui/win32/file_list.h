#pragma once
// The photo list: the bare names of a folder's files that match the mask, sorted without
// regard to letter case. The list box holds the names as its items' text, so that other
// programs (screen readers among them) can read them, and draws them itself. The folder's
// change records keep it up to date: what other programs add, remove or rename there shows
// at once, each change in its place, and the selection stays on its photo.

#include "base/file_list_model.h"
#include "base/win32/folder_watch.h"
#include "ui/type_ahead.h"
#include "ui/win32/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace vistrel {

class TFileListBox : public TControl {
public:
    TFileListBox();
    ~TFileListBox() override;

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
    // when the folder cannot be read; the list then stays as it was. Keeping its place, the
    // selection stays on its photo and the first item shown stays, while they are there
    // (OnChange runs only when the selected photo is gone).
    void Reread(bool keepPlace = false);
    // Applies the folder's change records that have come (reading the folder again when the
    // system could not keep them all): the list then holds what the folder holds.
    void CatchUp();
    // Stops watching the folder (which is then read again at the next CatchUp).
    void StopWatching();
    // Whether the list follows its folder's changes; one that cannot be followed (its file
    // system keeps no change records) must be read again before its names are relied on.
    bool Following() const { return watch_ != nullptr; }
    // A file of the folder added or removed by the program itself, in its place; the
    // selection and the scroll position stay where they were (a removed selected item
    // leaves nothing selected and runs OnChange).
    void Add(const std::wstring& name);
    void Remove(const std::wstring& name);
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
    // While the folder is gone: looked for every second, and read again once it is back.
    static constexpr UINT_PTR kFolderBackTimer = 1;

    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Watch();
    void OnParentChanged();
    void Fill(std::vector<std::wstring> names, bool keepPlace = false);
    // The list box holds the model's first items, up to count at least.
    void FillTo(size_t count);
    // Mirrors the model's edits in the list box, keeping the selection on its item (or on
    // follow, the new name of a selected item renamed) and the first item shown where it
    // was.
    void Mirror(const std::vector<FileListModel::Edit>& edits, const std::wstring& follow = {});
    void Select(int index, bool notify);
    void Change();
    void TypeChar(wchar_t c);

    WNDPROC listProc_ = nullptr; // the list box's own
    FileListModel model_;
    std::wstring folder_;
    std::unique_ptr<FolderWatch> watch_;       // on folder_, from just before its last read
    std::unique_ptr<FolderWatch> parentWatch_; // on the folder that holds it
    bool unwatchable_ = false;
    int selected_ = -1;
    size_t filled_ = 0; // the model's first items are in the list box
    TypeAhead typeAhead_;
};

} // namespace vistrel
