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

// xdotool run on the X display with these arguments: real input from outside Wine, as a
// window manager or a hand gives it. The process Wine gives for a Unix program may end
// before the program does, so xdotool leaves a file when done; the caller's windows handle
// what it does while the caller waits for Finished().
class XdotoolRun {
public:
    explicit XdotoolRun(const std::wstring& arguments);
    ~XdotoolRun();
    XdotoolRun(const XdotoolRun&) = delete;
    XdotoolRun& operator=(const XdotoolRun&) = delete;

    bool Started() const { return started_; }
    bool Finished() const;

private:
    std::wstring done_; // the file xdotool leaves, as Wine sees it
    bool started_ = false;
};

// The open popup menu's window, waited for; nullptr when none opened.
HWND WaitForPopupMenu();
// The entries of an open popup menu ("-" for a separator).
std::vector<std::wstring> PopupMenuEntries(HWND menuWindow);

} // namespace testing_support
