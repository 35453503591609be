// Taking a photo.

#include "app/main_form.h"

namespace vistrel {

void TMainForm::PhotoButtonClick(TObject*) {}

std::wstring TMainForm::NextPhotoName() {
    return {};
}

} // namespace vistrel
