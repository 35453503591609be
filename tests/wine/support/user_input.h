#pragma once
// Real keyboard and mouse input, as a user gives it (through the system's input queue, not
// messages sent to a window), and the popup menu it opens.

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Presses and releases a key, with Shift, Ctrl or Alt held when asked.
void PressKey(WORD key, bool shift = false, bool ctrl = false, bool alt = false);
// Moves the pointer to a screen point and clicks there with the right (or left) button.
void ClickAt(POINT at, bool right = false);

// Runs xdotool on the X display with these arguments (real input from outside Wine, as a
// window manager or a hand gives it); returns its process, to be waited for while the
// caller's windows handle what it does.
HANDLE StartXdotool(const std::wstring& arguments);

// The open popup menu's window, waited for; nullptr when none opened.
HWND WaitForPopupMenu();
// The entries of an open popup menu ("-" for a separator).
std::vector<std::wstring> PopupMenuEntries(HWND menuWindow);

} // namespace testing_support
