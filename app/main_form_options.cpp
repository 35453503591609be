// The photo options handlers of the main window.

#include "app/main_form.h"

namespace vistrel {

void TMainForm::FTypeChange(TObject*) {}
void TMainForm::JPEGSliderChange(TObject*) {}
void TMainForm::ScaleClick(TObject*) {}
void TMainForm::ProportionalClick(TObject*) {}
void TMainForm::ScaleSliderChange(TObject*) {}

} // namespace vistrel
