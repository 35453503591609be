// The settings file beside the program.

#include "app/main_form.h"

namespace vistrel {

void TMainForm::LoadSettings() {
    SetBounds(0, 0, kDesignWidth, ::GetSystemMetrics(SM_CYSCREEN) - 32);
    FType.SetItemIndex(1);
    JPEGSlider.SetPosition(80);
    Scale.SetChecked(false);
    XScale.SetText(L"640");
    YScale.SetText(L"480");
    Proportional.SetChecked(true);
    ScaleSlider.SetPosition(100);
    FNameTemplate = L"image_%.5d";
}

void TMainForm::SaveSettings() {}

} // namespace vistrel
