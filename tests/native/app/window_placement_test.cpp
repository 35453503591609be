#include "app/window_placement.h"
#include "base/geometry.h"
#include "ui/snapping.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vistrel;

TEST(SaneGeometry, KeepsSaneValuesAndBringsExtremesIntoRangeBeforeAnyArithmetic) {
    EXPECT_EQ(SaneGeometry({5, -7, 218, 1048}), (StoredGeometry{5, -7, 218, 1048}));
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX};
    const Box work{0, 0, 1920, 1040};
    for (int top : extremes)
        for (int left : extremes)
            for (int width : extremes)
                for (int height : extremes) {
                    StoredGeometry g = SaneGeometry({top, left, width, height});
                    ASSERT_LE(std::abs(g.top), kMaxStoredCoordinate);
                    ASSERT_LE(std::abs(g.left), kMaxStoredCoordinate);
                    ASSERT_GE(g.width, 0);
                    ASSERT_GE(g.height, 0);
                    // What the window does with them next: edges and snapping, under UBSan.
                    int right = g.left + g.width, bottom = g.top + g.height;
                    Point p = SnapToWorkArea({g.left, g.top}, g.width, g.height, work);
                    ASSERT_LE(right - p.x, 4 * kMaxStoredCoordinate);
                    ASSERT_LE(bottom - p.y, 4 * kMaxStoredCoordinate);
                }
}
