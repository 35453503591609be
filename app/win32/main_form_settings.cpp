// The settings file beside the program: the executable's path with ".ini", sections
// "common" (window geometry) and "photo" (the photo options and the name template).

#include "app/win32/main_form.h"

#include "app/window_placement.h"
#include "base/ini_values.h"
#include "base/number_text.h"
#include "base/win32/ini_file.h"
#include "capture/photo_options.h"
#include "capture/win32/viewport.h"

#include <vector>

namespace vistrel {

void TMainForm::LoadSettings() {
    IniFile ini(settingsPath_);
    // Brought into a sane range first: a hand-edited 2147483647 must not overflow the
    // window arithmetic below. Each through the window's own move, so that snapping and
    // the minimum width apply.
    StoredGeometry g = SaneGeometry(
        {IniInteger(ini.Read(L"common", L"top"), 0), IniInteger(ini.Read(L"common", L"left"), 0),
         IniInteger(ini.Read(L"common", L"width"), Scaled(kDesignWidth)),
         IniInteger(ini.Read(L"common", L"height"), ::GetSystemMetrics(SM_CYSCREEN) - Scaled(32))});
    RECT r = Bounds();
    SetBounds(r.left, g.top, r.right - r.left, r.bottom - r.top);
    r = Bounds();
    SetBounds(g.left, r.top, r.right - r.left, r.bottom - r.top);
    r = Bounds();
    SetBounds(r.left, r.top, g.width, r.bottom - r.top);
    r = Bounds();
    SetBounds(r.left, r.top, r.right - r.left, g.height);
    KeepOnScreen();

    int type = IniInteger(ini.Read(L"photo", L"type"), 1);
    FType.SetItemIndex(type >= 0 && type < static_cast<int>(kPhotoTypeEntries.size()) ? type : -1);
    FTypeChange(this);
    JPEGSlider.SetPosition(IniInteger(ini.Read(L"photo", L"quality"), 80));
    JPEGSliderChange(this);
    Scale.SetChecked(IniBoolean(ini.Read(L"photo", L"scale"), false));
    ScaleClick(this);
    const std::wstring xres = IniString(ini.Read(L"photo", L"xres"), L"640");
    const std::wstring yres = IniString(ini.Read(L"photo", L"yres"), L"480");
    XScale.SetText(xres);
    YScale.SetText(yres);
    Proportional.SetChecked(IniBoolean(ini.Read(L"photo", L"prop"), true));
    ProportionalClick(this);
    ScaleSlider.SetPosition(IniInteger(ini.Read(L"photo", L"sfactor"), 100));
    ScaleSliderChange(this);
    FNameTemplate = IniString(ini.Read(L"photo", L"name"), L"image_%.5d");
    // A hotkey that cannot be read is none (and is written back empty).
    FHotkey = ParseHotkey(IniString(ini.Read(L"photo", L"hotkey"), L"")).value_or(Hotkey{});

    // Without the browser, the sizing above took the boxes as its base and scaled them
    // twice (640 by 480 would end as 1 by 1): the stored sizes are kept instead.
    if (!FindViewport()) {
        XScale.SetText(xres);
        YScale.SetText(yres);
    }
}

void TMainForm::SaveSettings() {
    RECT r = Bounds();
    // Rolled up, the height kept is the client height it will unroll to.
    int height = Tag != 0 ? Tag : r.bottom - r.top;
    const std::vector<IniFile::Entry> entries = {
        {L"common", L"top", WriteWholeNumber(r.top)},
        {L"common", L"left", WriteWholeNumber(r.left)},
        {L"common", L"width", WriteWholeNumber(r.right - r.left)},
        {L"common", L"height", WriteWholeNumber(height)},
        {L"photo", L"type", WriteWholeNumber(FType.ItemIndex())},
        {L"photo", L"quality", WriteWholeNumber(JPEGSlider.Position())},
        {L"photo", L"scale", IniWriteBoolean(Scale.Checked())},
        {L"photo", L"xres", XScale.Text()},
        {L"photo", L"yres", YScale.Text()},
        {L"photo", L"prop", IniWriteBoolean(Proportional.Checked())},
        {L"photo", L"sfactor", WriteWholeNumber(ScaleSlider.Position())},
        {L"photo", L"name", FNameTemplate},
        {L"photo", L"hotkey", FormatHotkey(FHotkey).value_or(L"")},
    };
    IniFile(settingsPath_).Write(entries);
}

} // namespace vistrel
