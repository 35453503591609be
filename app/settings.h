#pragma once
// What the settings file keeps from one run to the next: the window's place and size, the
// photo options and the photo hotkey, in sections "common" and "photo". Every key has a
// default, so a missing file, section or key, or a value that cannot be read, is never an
// error.

#include "app/window_placement.h"
#include "base/ini_text.h"
#include "capture/photo_options.h"
#include "ui/hotkey_text.h"

#include <string>

namespace vistrel {

struct Settings {
    StoredGeometry geometry; // outer pixels; the height is the one to unroll to
    PhotoOptions photo;
    Hotkey hotkey;
    // The settings file's hotkey text when it names no hotkey the program can take: kept,
    // and written back as it was, until another hotkey is chosen.
    std::wstring unreadHotkey;
};

// The defaults that depend on the screen: the design width and the screen's height less
// the taskbar's usual room, both at the screen's scale.
struct ScreenDefaults {
    int width = 218;
    int height = 0;
};

// Reads the settings, bringing numbers into their ranges and geometry into a sane range.
Settings ReadSettings(const IniText& ini, const ScreenDefaults& defaults);

// Writes every value, defaults too, in a fixed order; the file's other lines stay.
void WriteSettings(const Settings& settings, IniText& ini);

} // namespace vistrel
