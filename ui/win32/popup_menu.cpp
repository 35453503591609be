#include "ui/win32/popup_menu.h"

#include "base/win32/handles.h"

namespace vistrel {

UINT TrackPopupMenuItems(HWND owner, std::span<const TMenuItem* const> items, POINT at) {
    UniqueMenu menu(::CreatePopupMenu());
    for (const TMenuItem* item : items) {
        if (!item->Visible)
            continue;
        if (item->Caption)
            ::AppendMenuW(menu.get(), MF_STRING, item->Id, item->Caption);
        else
            ::AppendMenuW(menu.get(), MF_SEPARATOR, item->Id, nullptr);
    }
    // Chosen entries come back as the result, not as commands; the owner still hears of
    // the menu loop and the highlighted entry, for the hints.
    return static_cast<UINT>(::TrackPopupMenuEx(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                                                at.y, owner, nullptr));
}

std::wstring MenuItemHint(std::span<const TMenuItem* const> items, UINT id) {
    for (const TMenuItem* item : items)
        if (item->Id == id && item->Caption)
            return item->Hint;
    return {};
}

} // namespace vistrel
