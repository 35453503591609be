#pragma once
// Copying a photo to the clipboard, for pasting into a picture editor (its pixels) or a
// file manager (the file).

#include <windows.h>

#include <string>

namespace vistrel {

// Puts the photo on the clipboard in one set: its pixels at full size (CF_DIB, 24 bits
// per pixel, or the 32 of a 32-bit BMP with the fourth byte 255, opaque, rows from the
// bottom up) and the file (CF_HDROP); the file itself is not changed.
// A photo whose pixels would take more than 256 MB goes there as a file only. A photo
// that cannot be decoded throws the preview's error and leaves the clipboard as it was;
// a clipboard another program keeps throws "Cannot open the clipboard. %s".
void CopyPhotoToClipboard(HWND owner, const std::wstring& path);

// The largest picture copied as pixels.
constexpr size_t kMaxClipboardPixelBytes = size_t{256} << 20;

} // namespace vistrel
