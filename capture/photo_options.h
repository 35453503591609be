#pragma once
// The photo options as a value: what the options panel shows and edits, what each photo is
// taken with and what the settings file keeps; with the rules that tie them together (which
// controls apply, and the sizes in proportional mode).

#include <array>
#include <optional>
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

struct PhotoSize {
    int width = 0, height = 0;
    bool operator==(const PhotoSize&) const = default;
};

struct PhotoOptions {
    static constexpr int kMinQuality = 0, kMaxQuality = 100;
    static constexpr int kMinPercent = 1, kMaxPercent = 100;

    int typeEntry = 1; // the entry of the type list; -1: none, which saves JPEG
    int quality = 80;
    bool resize = false;
    // The size boxes as typed or computed: any text; used when it reads as a whole number.
    std::wstring width = L"640", height = L"480";
    bool proportional = true; // the size is a percentage of the browser's view
    int percent = 100;
    std::wstring nameTemplate = L"image_%.5d";

    PhotoType Type() const { return PhotoTypeOfEntry(typeEntry); }
    // Quality and percentage brought into their ranges, an unknown type to no entry.
    void BringIntoRange();
    bool operator==(const PhotoOptions&) const = default;
};

// The size a photo is resized to: nothing when resizing is off or either box does not read
// as a whole number (the photo then keeps the size it was taken at).
std::optional<PhotoSize> RequestedSize(const PhotoOptions& options);

// The scale factor's caption ("75%").
std::wstring PercentCaption(int percent);

// Which of the panel's dependent controls are enabled: the quality slider and its labels,
// the size boxes with their labels and the proportional box, the percentage slider and its
// label. A change of one option sets only what depends on it, so the state also follows the
// order of the changes: loaded with resizing off but proportional sizing on, the percentage
// slider is enabled until resizing is switched on and off again.
struct PanelEnabling {
    bool quality = true, size = false, percent = true;
    bool operator==(const PanelEnabling&) const = default;
};
enum class OptionChange { Loaded, Type, Resize, Proportional };
PanelEnabling Enabling(const PhotoOptions& options, OptionChange change, PanelEnabling before);

// percent * base / 100 for each side, truncated toward zero, at least 1. The products are
// 32-bit signed integers, as the boxes hold 32-bit numbers: they wrap for absurd bases.
PhotoSize ScaledSize(PhotoSize base, int percent);

// Proportional sizing: the size boxes as a percentage of a base. The base is the browser's
// view when there is one; without it, the view last seen, or else the sizes the boxes held
// when the base was first needed (800 by 600 when they are not numbers). The base stays
// fixed while the percentage moves, so going back to a percentage gives back its sizes.
class ProportionalSizing {
public:
    // Sets the boxes to the percentage of the base, when proportional sizing is on.
    void Apply(PhotoOptions& options, std::optional<PhotoSize> view);
    // The boxes were typed into: their sizes become the base the next time one is needed.
    void Forget() { base_.reset(); }

private:
    std::optional<PhotoSize> base_;
};

} // namespace vistrel
