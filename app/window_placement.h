#pragma once
// Where the main window opens: the geometry stored in the settings file, brought into a
// range that no screen arithmetic can overflow, before the window is moved there.

namespace vistrel {

struct StoredGeometry {
    int top = 0, left = 0, width = 0, height = 0;
    bool operator==(const StoredGeometry&) const = default;
};

// Far beyond any screen, yet sums of two such values stay far from the limits of int.
constexpr int kMaxStoredCoordinate = 1 << 20;

// Positions into [-kMaxStoredCoordinate, kMaxStoredCoordinate], sizes into
// [0, kMaxStoredCoordinate]; sane values are kept as they are.
StoredGeometry SaneGeometry(StoredGeometry stored);

} // namespace vistrel
