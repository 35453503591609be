#include "ui/layout.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

Box Whole(int, const Box& outer) {
    return outer;
}

LayoutItem Item(int parent, Dock dock, Box design, uint8_t anchors = kAnchorLeft | kAnchorTop,
                int designClientWidth = 0, int designClientHeight = 0) {
    LayoutItem item;
    item.parent = parent;
    item.dock = dock;
    item.design = design;
    item.anchors = anchors;
    item.designClientWidth = designClientWidth;
    item.designClientHeight = designClientHeight;
    return item;
}

// The photo page in small: a 4:3 preview docked at the top, a spacer, the options docked
// at the bottom with anchored children, and the list in between.
std::vector<LayoutItem> Page() {
    std::vector<LayoutItem> items(7);
    items[0] = Item(-1, Dock::Top, {0, 0, 0, 151});
    items[0].heightPerWidth = {3, 4};
    items[1] = Item(-1, Dock::Top, {0, 0, 0, 2});
    items[2] = Item(-1, Dock::Bottom, {0, 0, 0, 250}, kAnchorLeft | kAnchorTop, 202, 250);
    items[3] = Item(2, Dock::None, {12, 215, 179, 23}, kAnchorLeft | kAnchorRight | kAnchorBottom);
    items[4] = Item(2, Dock::None, {12, 109, 177, 17}, kAnchorLeft | kAnchorBottom);
    items[5] = Item(2, Dock::None, {190, 57, 0, 13}, kAnchorRight | kAnchorBottom);
    items[6] = Item(-1, Dock::Client, {});
    return items;
}

} // namespace

TEST(ArrangeLayout, DockedItemsTakeStripsInOrderAndClientTakesTheRest) {
    auto boxes = ArrangeLayout(Page(), 202, 600, Whole);
    EXPECT_EQ(boxes[0], (Box{0, 0, 202, 151}));
    EXPECT_EQ(boxes[1], (Box{0, 151, 202, 2}));
    EXPECT_EQ(boxes[2], (Box{0, 350, 202, 250}));
    EXPECT_EQ(boxes[6], (Box{0, 153, 202, 197}));
}

TEST(ArrangeLayout, AnchoredChildrenKeepDistancesAtDesignSizeAndStretch) {
    auto boxes = ArrangeLayout(Page(), 202, 600, Whole);
    EXPECT_EQ(boxes[3], (Box{12, 215, 179, 23}));
    EXPECT_EQ(boxes[4], (Box{12, 109, 177, 17}));
    EXPECT_EQ(boxes[5].right(), 190);

    boxes = ArrangeLayout(Page(), 302, 700, Whole);
    EXPECT_EQ(boxes[3], (Box{12, 215, 279, 23})); // stretches with the width
    EXPECT_EQ(boxes[4], (Box{12, 109, 177, 17})); // stays
    EXPECT_EQ(boxes[5].right(), 290);             // keeps its distance to the right edge
}

TEST(ArrangeLayout, DockingUsesTheParentsInnerAreaAndNeverGoesNegative) {
    std::vector<LayoutItem> items(2);
    items[0] = Item(-1, Dock::Client, {});
    items[1] = Item(0, Dock::Client, {});
    auto inset = [](int index, const Box& outer) {
        return index == 0 ? Box{2, 2, outer.width - 4, outer.height - 4} : outer;
    };
    auto boxes = ArrangeLayout(items, 202, 151, inset);
    EXPECT_EQ(boxes[1], (Box{2, 2, 198, 147}));

    // A window rolled up to its title bar: everything is cut to zero, nothing negative.
    boxes = ArrangeLayout(Page(), 202, 0, Whole);
    for (const Box& b : boxes) {
        EXPECT_GE(b.width, 0);
        EXPECT_GE(b.height, 0);
    }
}

TEST(ArrangeLayout, AStripKeepsItsShapeInTheSamePass) {
    // Three quarters of the width, truncated, and the rest of the page follows at once.
    for (auto [width, height] : {std::pair{202, 151}, {200, 150}, {3, 2}, {0, 0}}) {
        auto boxes = ArrangeLayout(Page(), width, 900, Whole);
        EXPECT_EQ(boxes[0], (Box{0, 0, width, height}));
        EXPECT_EQ(boxes[6].top, height + 2);
    }
    auto boxes = ArrangeLayout(Page(), 2000000000, 2000000000, Whole);
    EXPECT_EQ(boxes[0].height, 1500000000);
}

TEST(ScaleForDpi, RoundsAsMulDivDoesAndLeaves96DpiAlone) {
    struct Case {
        int value, dpi, scaled;
    };
    // MulDiv(value, dpi, 96): to the nearest, halves away from zero.
    for (Case c : {Case{11, 144, 17},
                   {13, 144, 20},
                   {151, 144, 227},
                   {218, 144, 327},
                   {-11, 144, -17},
                   {-13, 144, -20},
                   {7, 120, 9},
                   {10, 120, 13},
                   {691, 192, 1382},
                   {1, 168, 2},
                   {0, 192, 0},
                   {2147483647, 192, 2147483647}})
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
    for (int v : {-250, -1, 0, 1, 13, 151, 218, 691})
        EXPECT_EQ(ScaleForDpi(v, 96), v);
    // A whole layout at 150 %: every measure, the ratio of a strip kept.
    auto scaled = ScaleLayout(Page(), 144);
    EXPECT_EQ(scaled[3].design, (Box{18, 323, 269, 35}));
    EXPECT_EQ(scaled[2].designClientWidth, 303);
    EXPECT_EQ(scaled[0].heightPerWidth.numerator, 3);
    auto boxes = ArrangeLayout(scaled, 303, 900, Whole);
    EXPECT_EQ(boxes[0].height, 303 * 3 / 4);
    EXPECT_EQ(boxes[3], (Box{18, 323, 269, 35})); // within the strip of 375
    EXPECT_EQ(boxes[2].height, 375);
}
