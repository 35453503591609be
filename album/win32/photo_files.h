#pragma once
// What the album does with a photo file itself.

#include <windows.h>

#include <string>

namespace vistrel {

// Deletes the file at once: no confirmation, no recycle bin. Returns whether it went; a
// file in use or read-only stays.
bool DeletePhotoFile(const std::wstring& path);

// Opens the photo with the user's program for its type. Throws Error("Cannot open file
// "%s". %s") with the system's reason (no program for the type, say).
void OpenPhotoFile(HWND owner, const std::wstring& path);

// Opens the photo's folder in the file manager with the photo selected. Throws Error as
// OpenPhotoFile does.
void ShowPhotoInFolder(const std::wstring& path);

} // namespace vistrel
