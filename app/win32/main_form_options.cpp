// The photo options handlers of the main window: they show the sliders' values, enable
// the controls that depend on others, and in proportional mode compute the size boxes.

#include "app/win32/main_form.h"
#include "base/number_text.h"
#include "capture/photo_options.h"
#include "capture/scale_sizing.h"
#include "capture/win32/viewport.h"

namespace vistrel {

void TMainForm::FTypeChange(TObject*) {
    bool quality = HasQuality(PhotoTypeOfEntry(FType.ItemIndex()));
    JPEGSlider.SetEnabled(quality);
    Label2.SetEnabled(quality);
    Label3.SetEnabled(quality);
}

void TMainForm::JPEGSliderChange(TObject*) {
    Label3.SetCaption(WriteWholeNumber(JPEGSlider.Position()));
}

void TMainForm::ScaleClick(TObject* Sender) {
    bool scale = Scale.Checked();
    for (TControl* c :
         std::initializer_list<TControl*>{&XScale, &YScale, &Label4, &Label5, &Proportional})
        c->SetEnabled(scale);
    if (scale) {
        ProportionalClick(Sender);
    } else {
        Label6.SetEnabled(false);
        ScaleSlider.SetEnabled(false);
    }
}

void TMainForm::ProportionalClick(TObject* Sender) {
    bool proportional = Proportional.Checked();
    Label6.SetEnabled(proportional);
    ScaleSlider.SetEnabled(proportional);
    if (proportional)
        ScaleSliderChange(Sender);
}

void TMainForm::ScaleSliderChange(TObject*) {
    Label6.SetCaption(ScaleFactorCaption(ScaleSlider.Position()));
    if (!Proportional.Checked())
        return;
    std::optional<PhotoSize> view;
    if (auto viewport = FindViewport())
        view = PhotoSize{viewport->Width(), viewport->Height()};
    PhotoSize size =
        ScaledSize(SizingBase(view, XScale.Text(), YScale.Text()), ScaleSlider.Position());
    XScale.SetText(WriteWholeNumber(size.width));
    YScale.SetText(WriteWholeNumber(size.height));
}

} // namespace vistrel
