#include "capture/scale_sizing.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(ScaledSize, IsAPercentageOfTheViewTruncatedAndAtLeastOne) {
    // A view window of 808 by 608 gives an 800 by 600 capture.
    EXPECT_EQ(ScaledSize(SizingBase(PhotoSize{800, 600}, L"1", L"1"), 50), (PhotoSize{400, 300}));
    EXPECT_EQ(ScaledSize(SizingBase(PhotoSize{100, 50}, L"", L""), 1), (PhotoSize{1, 1}));
    EXPECT_EQ(ScaledSize({333, 333}, 33), (PhotoSize{109, 109}));
    EXPECT_EQ(ScaledSize({0, -50}, 100), (PhotoSize{1, 1}));
}

TEST(ScaledSize, WithoutAViewTheBoxesAreTheBaseOr800By600) {
    EXPECT_EQ(ScaledSize(SizingBase(std::nullopt, L"abc", L"480"), 25), (PhotoSize{200, 150}));
    EXPECT_EQ(ScaledSize(SizingBase(std::nullopt, L"640", L""), 25), (PhotoSize{200, 150}));
    // The boxes hold the previous result, so each move scales it again.
    PhotoSize s = ScaledSize(SizingBase(std::nullopt, L"640", L"480"), 50);
    EXPECT_EQ(s, (PhotoSize{320, 240}));
    s = ScaledSize(SizingBase(std::nullopt, std::to_wstring(s.width), std::to_wstring(s.height)),
                   40);
    EXPECT_EQ(s, (PhotoSize{128, 96}));
}

TEST(ScaledSize, ProductsAreThirtyTwoBitAndWrap) {
    // 100000000 * 50 wraps in 32 bits to 705032704, then / 100.
    EXPECT_EQ(ScaledSize({100000000, 1000}, 50), (PhotoSize{7050327, 500}));
    EXPECT_EQ(ScaledSize({2147483647, 42949673}, 100), (PhotoSize{1, 1}));
    EXPECT_EQ(ScaledSize({-2147483647 - 1, 21474837}, 2), (PhotoSize{1, 429496}));
}
