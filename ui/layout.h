#pragma once
// The layout engine of the main window: docked controls take strips from their parent's
// client area in order (top, bottom, then the rest), the others keep their distances to
// the parent's edges they are anchored to, as at the design size. A docked strip may keep
// a shape: its height a fixed fraction of its width.

#include "base/geometry.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vistrel {

enum class Dock : uint8_t { None, Top, Bottom, Client };

enum Anchor : uint8_t {
    kAnchorLeft = 1,
    kAnchorTop = 2,
    kAnchorRight = 4,
    kAnchorBottom = 8,
};

struct LayoutItem {
    int parent = -1; // index of the parent item; -1 for the window's client area
    Dock dock = Dock::None;
    Box design; // at the design size, relative to the parent's client area
    uint8_t anchors = kAnchorLeft | kAnchorTop;
    // For containers: the size of the client area at the design size, which anchored
    // children keep their distances against.
    int designClientWidth = 0, designClientHeight = 0;
    // For a strip docked at the top or bottom: its height is its width times
    // heightPerWidth.numerator / heightPerWidth.denominator, truncated; 0/0 keeps the
    // design height.
    struct Ratio {
        int numerator = 0, denominator = 0;
    } heightPerWidth;
};

// The client area of an item (or of the window, index -1) given its outer box: the box
// itself for most containers, less the tabs for tabbed pages.
using ClientAreaOf = std::function<Box(int index, const Box& outer)>;

// A measure at 96 DPI made for a screen of the given DPI, rounded as the system's MulDiv
// rounds (to the nearest, halves away from zero): 11 at 144 DPI is 17.
int ScaleForDpi(int value, int dpi);
// The layout's every measure made for the given DPI (positions, sizes, the design client
// sizes); shapes kept by ratio stay as they are.
std::vector<LayoutItem> ScaleLayout(const std::vector<LayoutItem>& items, int dpi);

// Boxes of all items, relative to their parents' client areas. Parents must come before
// their children. Sizes below zero are cut to zero.
std::vector<Box> ArrangeLayout(const std::vector<LayoutItem>& items, int clientWidth,
                               int clientHeight, const ClientAreaOf& clientArea);

} // namespace vistrel
