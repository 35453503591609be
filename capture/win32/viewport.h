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

} // namespace vistrel
