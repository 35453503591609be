#pragma once
// The photo options as the options panel offers them: the file types of the type list and
// what each means for the photo, and the texts the panel shows for the sliders.

#include <array>
#include <string>

namespace vistrel {

enum class PhotoType { Bmp, Jpeg, Png };

// The entries of the type list, in order.
constexpr std::array<const wchar_t*, 3> kPhotoTypeEntries = {L".BMP", L".JPG", L".PNG"};

// The type an entry of the list stands for; no entry (-1) saves JPEG.
PhotoType PhotoTypeOfEntry(int index);
// The extension a photo of the type is written with (".bmp").
const wchar_t* PhotoExtension(PhotoType type);
// Whether the quality controls apply to the type.
bool HasQuality(PhotoType type);

// The scale factor's caption ("75%").
std::wstring ScaleFactorCaption(int percent);

} // namespace vistrel
