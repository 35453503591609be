#include "ui/snapping.h"

#include <gtest/gtest.h>

using vistrel::Box;
using vistrel::Point;
using vistrel::SnapToWorkArea;

namespace {
const Box kWork{0, 0, 1920, 1040}; // a 1920 by 1080 screen less a 40-pixel taskbar
const Box kOffset{24, 16, 1176, 984};
} // namespace

TEST(SnapToWorkArea, SnapsEdgesCloserThanTenPixels) {
    EXPECT_EQ(SnapToWorkArea({5, 300}, 218, 600, kWork), (Point{0, 300}));
    EXPECT_EQ(SnapToWorkArea({9, 300}, 218, 600, kWork), (Point{0, 300}));
    EXPECT_EQ(SnapToWorkArea({10, 300}, 218, 600, kWork), (Point{10, 300}));
    EXPECT_EQ(SnapToWorkArea({-9, 300}, 218, 600, kWork), (Point{0, 300}));
    EXPECT_EQ(SnapToWorkArea({300, 7}, 218, 600, kWork), (Point{300, 0}));
    EXPECT_EQ(SnapToWorkArea({1920 - 218 - 9, 300}, 218, 600, kWork), (Point{1702, 300}));
    EXPECT_EQ(SnapToWorkArea({1920 - 218 + 9, 300}, 218, 600, kWork), (Point{1702, 300}));
    EXPECT_EQ(SnapToWorkArea({300, 1040 - 600 - 3}, 218, 600, kWork), (Point{300, 440}));
    EXPECT_EQ(SnapToWorkArea({300, 1040 - 600 - 10}, 218, 600, kWork), (Point{300, 430}));
}

TEST(SnapToWorkArea, RightAndBottomEdgesOverrideLeftAndTop) {
    // A window almost as large as the work area is near both sides: the rules run in
    // order on the moved position, so the right and bottom edges win.
    EXPECT_EQ(SnapToWorkArea({4, 3}, 1915, 1035, kWork), (Point{5, 5}));
    // After the left edge snapped, the right edge is 10 pixels away: it stays.
    EXPECT_EQ(SnapToWorkArea({4, 3}, 1910, 1030, kWork), (Point{0, 0}));
}

TEST(SnapToWorkArea, KeepsExactlyZeroZeroAndUsesWorkAreaAwayFromOrigin) {
    EXPECT_EQ(SnapToWorkArea({0, 0}, 218, 600, kOffset), (Point{0, 0}));
    EXPECT_EQ(SnapToWorkArea({0, 1}, 218, 600, kOffset), (Point{0, 1}));
    EXPECT_EQ(SnapToWorkArea({20, 10}, 218, 600, kOffset), (Point{24, 16}));
    EXPECT_EQ(SnapToWorkArea({30, 200}, 218, 600, kOffset), (Point{24, 200}));
    EXPECT_EQ(SnapToWorkArea({500, 395}, 218, 600, kOffset), (Point{500, 400}));
    EXPECT_EQ(SnapToWorkArea({500, 300}, 218, 600, kOffset), (Point{500, 300}));
}

TEST(SnapToWorkArea, ExtremePositionsDoNotOverflow) {
    EXPECT_EQ(SnapToWorkArea({INT32_MAX - 100, INT32_MIN + 5}, 218, 600, kWork),
              (Point{INT32_MAX - 100, INT32_MIN + 5}));
}
