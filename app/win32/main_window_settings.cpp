// The settings file beside the program: the executable's path with ".ini". The window reads
// the settings once at start and writes them once at the end; what the file means is the
// portable settings' matter.

#include "app/win32/main_window.h"

#include "base/error.h"
#include "base/win32/settings_file.h"
#include "capture/win32/viewport.h"

namespace vistrel {

void MainWindow::LoadSettings() {
    std::optional<std::wstring> text = SettingsFile(settingsPath_).Read();
    const Settings settings =
        ReadSettings(IniText(text.value_or(L"")),
                     {Scaled(kDesignWidth), ::GetSystemMetrics(SM_CYSCREEN) - Scaled(32)});
    PlaceAt(settings.geometry);
    options_ = settings.photo;
    hotkey_ = settings.hotkey;
    unreadHotkey_ = settings.unreadHotkey;
    // With the browser's view, the sizes are its size at the stored percentage; without it,
    // the stored sizes are kept as they are.
    if (auto viewport = FindViewport())
        sizing_.Apply(options_, PhotoSize{viewport->Width(), viewport->Height()});
    ShowOptions(OptionChange::Loaded);
}

void MainWindow::SaveSettings() {
    const SettingsFile file(settingsPath_);
    // A file that cannot be read whole is never replaced: the user's own sections in it
    // would be lost.
    std::optional<std::wstring> text = file.Read();
    if (!text)
        throw Error(FormatMessageText(L"Unable to write to %s", {settingsPath_}));
    IniText ini(*text);
    Settings settings;
    RECT r = Bounds();
    // Rolled up, the height kept is the client height it will unroll to.
    settings.geometry = {r.top, r.left, r.right - r.left,
                         unrolledHeight_ != 0 ? unrolledHeight_ : r.bottom - r.top};
    settings.photo = options_;
    settings.hotkey = hotkey_;
    settings.unreadHotkey = unreadHotkey_;
    WriteSettings(settings, ini);
    file.Write(ini.Text());
}

} // namespace vistrel
