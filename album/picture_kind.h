#pragma once
// Which reader a picture file takes: chosen by the file name's last extension alone, letter
// case ignored, for the preview and the clipboard alike.

#include <string>
#include <string_view>

namespace vistrel {

enum class PictureKind { Bmp, Jpeg, Png };

// ".bmp", ".jpg" or ".jpeg", ".png". Throws Error("Unknown picture file extension (.%s)")
// for any other (the extension as the name has it, empty when there is none).
PictureKind PictureKindOf(std::wstring_view path);

} // namespace vistrel
