// The photo options panel: the controls show the options value, and each edit of the user
// goes into the value first, the controls that depend on it following from the value.

#include "app/win32/main_window.h"

#include "base/number_text.h"
#include "capture/win32/viewport.h"

#include <utility>

namespace vistrel {

void MainWindow::ShowOptions(std::optional<OptionChange> change) {
    if (change)
        enabling_ = Enabling(options_, *change, enabling_);
    // The controls' own change handlers run as the program sets them; they find the value
    // as it is and leave it so.
    const bool showing = std::exchange(showingOptions_, true);
    TypeBox.SetItemIndex(options_.typeEntry);
    QualitySlider.SetPosition(options_.quality);
    QualityNumber.SetCaption(WriteWholeNumber(options_.quality));
    ResizeBox.SetChecked(options_.resize);
    if (WidthBox.Text() != options_.width)
        WidthBox.SetText(options_.width);
    if (HeightBox.Text() != options_.height)
        HeightBox.SetText(options_.height);
    ProportionalBox.SetChecked(options_.proportional);
    PercentSlider.SetPosition(options_.percent);
    PercentNumber.SetCaption(PercentCaption(options_.percent));
    showingOptions_ = showing;

    for (TControl* c :
         {static_cast<TControl*>(&QualitySlider), static_cast<TControl*>(&QualityLabel),
          static_cast<TControl*>(&QualityNumber)})
        c->SetEnabled(enabling_.quality);
    for (TControl* c : {static_cast<TControl*>(&WidthBox), static_cast<TControl*>(&HeightBox),
                        static_cast<TControl*>(&WidthLabel), static_cast<TControl*>(&HeightLabel),
                        static_cast<TControl*>(&ProportionalBox)})
        c->SetEnabled(enabling_.size);
    PercentNumber.SetEnabled(enabling_.percent);
    PercentSlider.SetEnabled(enabling_.percent);
}

void MainWindow::SizeFromView() {
    std::optional<PhotoSize> view;
    if (auto viewport = FindViewport())
        view = PhotoSize{viewport->Width(), viewport->Height()};
    sizing_.Apply(options_, view);
}

void MainWindow::OnTypeChange() {
    if (showingOptions_)
        return;
    options_.typeEntry = TypeBox.ItemIndex();
    ShowOptions(OptionChange::Type);
}

void MainWindow::OnQualityChange() {
    if (showingOptions_)
        return;
    options_.quality = QualitySlider.Position();
    QualityNumber.SetCaption(WriteWholeNumber(options_.quality));
}

void MainWindow::OnResizeClick() {
    if (showingOptions_)
        return;
    options_.resize = ResizeBox.Checked();
    if (options_.resize)
        SizeFromView();
    ShowOptions(OptionChange::Resize);
}

void MainWindow::OnProportionalClick() {
    if (showingOptions_)
        return;
    options_.proportional = ProportionalBox.Checked();
    SizeFromView();
    ShowOptions(OptionChange::Proportional);
}

void MainWindow::OnPercentChange() {
    if (showingOptions_)
        return;
    options_.percent = PercentSlider.Position();
    SizeFromView();
    ShowOptions();
}

void MainWindow::OnSizeTyped(std::wstring PhotoOptions::*box, const TEdit& edit) {
    if (showingOptions_)
        return;
    options_.*box = edit.Text();
    // The typed size is the base of the next percentage, not one kept from before.
    sizing_.Forget();
}

PhotoOptions MainWindow::OptionsForPhoto(std::optional<PhotoSize> view) {
    // In proportional mode the photo is the percentage of the view as it is now, not as it
    // was when the slider last moved.
    if (options_.resize && options_.proportional && view) {
        sizing_.Apply(options_, view);
        ShowOptions();
    }
    return options_;
}

} // namespace vistrel
