#include "capture/photo_options.h"

#include "base/number_text.h"

namespace vistrel {

PhotoType PhotoTypeOfEntry(int index) {
    return index == 0 ? PhotoType::Bmp : PhotoType::Jpeg;
}

const wchar_t* PhotoExtension(PhotoType type) {
    return type == PhotoType::Bmp ? L".bmp" : L".jpg";
}

bool HasQuality(PhotoType type) {
    return type == PhotoType::Jpeg;
}

std::wstring ScaleFactorCaption(int percent) {
    return WriteWholeNumber(percent) + L"%";
}

} // namespace vistrel
