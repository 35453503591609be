#include "capture/photo_options.h"

#include "base/number_text.h"

namespace vistrel {

PhotoType PhotoTypeOfEntry(int index) {
    switch (index) {
    case 0:
        return PhotoType::Bmp;
    case 2:
        return PhotoType::Png;
    default:
        return PhotoType::Jpeg;
    }
}

const wchar_t* PhotoExtension(PhotoType type) {
    switch (type) {
    case PhotoType::Bmp:
        return L".bmp";
    case PhotoType::Png:
        return L".png";
    case PhotoType::Jpeg:
        break;
    }
    return L".jpg";
}

bool HasQuality(PhotoType type) {
    return type == PhotoType::Jpeg;
}

std::wstring ScaleFactorCaption(int percent) {
    return WriteWholeNumber(percent) + L"%";
}

} // namespace vistrel
