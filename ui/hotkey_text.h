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
// without Ctrl, Alt or Win). Pause with Ctrl arrives as Break (VK_CANCEL), so "Ctrl+Pause"
// names that key, as the system's hotkey control takes it.
std::optional<Hotkey> ParseHotkey(std::wstring_view text);

// The canonical text ("" for none); nothing for a key this text form cannot name, or one
// that never arrives (Break without Ctrl, Pause with it).
std::optional<std::wstring> FormatHotkey(Hotkey hotkey);

// Whether the system tells the key from another of the same scan code by its extended-key
// flag: the navigation keys (Insert, Delete, Home, End, Page Up, Page Down, the arrows)
// from the keypad's, Break from Scroll Lock. Without the flag, the hotkey control shows
// the other key ("Num 7" for Home).
bool IsExtendedKey(unsigned key);

} // namespace vistrel
