#pragma once
// What the album does with a photo file itself.

#include <string>

namespace vistrel {

// Deletes the file at once: no confirmation, no recycle bin. Returns whether it went; a
// file in use or read-only stays.
bool DeletePhotoFile(const std::wstring& path);

} // namespace vistrel
