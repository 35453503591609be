#include "capture/photo_options.h"

#include "base/number_text.h"

#include <algorithm>
#include <cstdint>

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

void PhotoOptions::BringIntoRange() {
    if (typeEntry < 0 || typeEntry >= static_cast<int>(kPhotoTypeEntries.size()))
        typeEntry = -1;
    quality = std::clamp(quality, kMinQuality, kMaxQuality);
    percent = std::clamp(percent, kMinPercent, kMaxPercent);
}

std::optional<PhotoSize> RequestedSize(const PhotoOptions& options) {
    if (!options.resize)
        return std::nullopt;
    auto width = ReadWholeNumber(options.width);
    auto height = ReadWholeNumber(options.height);
    if (!width || !height)
        return std::nullopt;
    return PhotoSize{*width, *height};
}

std::wstring PercentCaption(int percent) {
    return WriteWholeNumber(percent) + L"%";
}

PanelEnabling Enabling(const PhotoOptions& options, OptionChange change, PanelEnabling before) {
    PanelEnabling e = before;
    switch (change) {
    case OptionChange::Loaded:
        // As if each option had been set in turn: the proportional box is set after the
        // resize box, so the percentage follows it alone.
        e = {HasQuality(options.Type()), options.resize, options.proportional};
        break;
    case OptionChange::Type:
        e.quality = HasQuality(options.Type());
        break;
    case OptionChange::Resize:
        e.size = options.resize;
        e.percent = options.resize && options.proportional;
        break;
    case OptionChange::Proportional:
        e.percent = options.proportional;
        break;
    }
    return e;
}

namespace {
int Scale(int base, int percent) {
    int32_t product =
        static_cast<int32_t>(static_cast<uint32_t>(percent) * static_cast<uint32_t>(base));
    int32_t result = product / 100;
    return result < 1 ? 1 : result;
}
} // namespace

PhotoSize ScaledSize(PhotoSize base, int percent) {
    return {Scale(base.width, percent), Scale(base.height, percent)};
}

void ProportionalSizing::Apply(PhotoOptions& options, std::optional<PhotoSize> view) {
    if (!options.proportional)
        return;
    if (view) {
        base_ = view;
    } else if (!base_) {
        auto width = ReadWholeNumber(options.width);
        auto height = ReadWholeNumber(options.height);
        base_ = width && height ? PhotoSize{*width, *height} : PhotoSize{800, 600};
    }
    PhotoSize size = ScaledSize(*base_, options.percent);
    options.width = WriteWholeNumber(size.width);
    options.height = WriteWholeNumber(size.height);
}

} // namespace vistrel
