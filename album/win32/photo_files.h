#pragma once
// What the album does with a photo file itself.

#include <windows.h>

#include <string>

namespace vistrel {

enum class PhotoDeletion {
    ToRecycleBin, // Delete
    AtOnce,       // Shift+Delete, as in a file manager
};

// Deletes the photo without a question of the program's own. Where it would be destroyed
// rather than recycled (a drive without a Recycle Bin, a bin set to remove files at once,
// Wine without the desktop's trash), the system asks first, owned by owner; returns false
// when the user keeps the photo there. Throws Error("Cannot delete file "%s". %s") with
// the system's reason when the file stays (held by another program, read-only for AtOnce,
// a folder that forbids deleting).
bool DeletePhotoFile(HWND owner, const std::wstring& path, PhotoDeletion how);

// Opens the photo with the user's program for its type. For a type without one, the
// system's "Open with" choice comes up instead, owned by owner (Wine has none and shows its
// own notice). Throws Error("Cannot open file "%s". %s") with the system's reason for any
// other failure (a file gone, say).
void OpenPhotoFile(HWND owner, const std::wstring& path);

// Opens the photo's folder in the file manager with the photo selected. Throws Error as
// OpenPhotoFile does.
void ShowPhotoInFolder(const std::wstring& path);

} // namespace vistrel
