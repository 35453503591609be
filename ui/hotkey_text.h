#pragma once
// A keyboard shortcut as the settings file keeps it: modifiers in the order Ctrl, Alt,
// Shift, Win, joined by "+", then one key ("Ctrl+Shift+F9"). Read without regard to letter
// case and blanks; empty means none. A letter or digit needs Ctrl, Alt or Win: alone or with
// Shift it would take that key from every program the user types in.

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

struct Hotkey {
    // The system's modifier flags (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8) and
    // virtual-key code; key 0 is no hotkey at all.
    enum Modifier : unsigned { kAlt = 1, kCtrl = 2, kShift = 4, kWin = 8 };
    unsigned modifiers = 0;
    unsigned key = 0;

    bool None() const { return key == 0; }
    bool operator==(const Hotkey&) const = default;
};

// The hotkey the text names: none for an empty text, nothing when it names no hotkey
// (an unknown key or modifier, a modifier twice, no key, more than one key, a letter or digit
// without Ctrl, Alt or Win).
std::optional<Hotkey> ParseHotkey(std::wstring_view text);

// The canonical text ("" for none); nothing for a key this text form cannot name.
std::optional<std::wstring> FormatHotkey(Hotkey hotkey);

} // namespace vistrel
