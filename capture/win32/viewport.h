#pragma once
// Finding the browser's 3-D view: a top-level window of class "alphaworld" and its direct
// child whose class and title are both "Active Worlds Viewport".

#include <windows.h>

#include <optional>

namespace vistrel {

struct Viewport {
    HWND browser = nullptr; // the top-level window
    HWND view = nullptr;    // its 3-D view
    // The view window's screen rectangle inset by 4 pixels on every side.
    RECT capture{};
    int Width() const { return capture.right - capture.left; }
    int Height() const { return capture.bottom - capture.top; }
};

std::optional<Viewport> FindViewport();

// Whether a visible window other than the browser's own lies over the view's capture
// rectangle (this program's panel and other programs' topmost windows included): the screen
// then needs a moment to show the view once the browser is on top.
bool ViewCovered(const Viewport& viewport);

// Brings the browser to the foreground and to the top of the window order, so that no other
// program's ordinary window lies over its view (being the foreground window already does
// not raise it).
void RaiseBrowser(const Viewport& viewport);

} // namespace vistrel
