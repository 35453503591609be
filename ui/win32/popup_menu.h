#pragma once
// A context menu described as data: entries with captions, hints and visibility, shown
// with the system's popup menu. Hidden entries are left out when the menu opens.

#include <windows.h>

#include <span>
#include <string>

namespace vistrel {

struct TMenuItem {
    UINT Id = 0;
    const wchar_t* Caption = nullptr; // nullptr for a separator
    std::wstring Hint;
    bool Visible = true;
};

// Shows the visible entries at the screen point, owned by the window, and returns the
// chosen entry's id (0 when none was chosen). The owner gets the menu loop's messages
// (WM_ENTERMENULOOP, WM_MENUSELECT, WM_EXITMENULOOP) while the menu is open.
UINT TrackPopupMenuItems(HWND owner, std::span<const TMenuItem* const> items, POINT at);

// The hint of the entry with this id, or nothing.
std::wstring MenuItemHint(std::span<const TMenuItem* const> items, UINT id);

} // namespace vistrel
