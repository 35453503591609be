#include "app/settings_values.h"
#include "capture/scale_sizing.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(IniValues, IntegersUseTheNumberSyntaxAndFallBackToTheDefault) {
    EXPECT_EQ(IniInteger(L"120", 7), 120);
    EXPECT_EQ(IniInteger(L"-5", 7), -5);
    EXPECT_EQ(IniInteger(L"$FF", 7), 255);
    EXPECT_EQ(IniInteger(L"0x10", 7), 16);
    EXPECT_EQ(IniInteger(L"$FFFFFFFF", 7), -1);
    EXPECT_EQ(IniInteger(L"2147483648", 7), 7);
    EXPECT_EQ(IniInteger(L"12px", 7), 7);
    EXPECT_EQ(IniInteger(L"", 7), 7);
    EXPECT_EQ(IniInteger(std::nullopt, 7), 7);
    EXPECT_EQ(IniInteger(std::wstring_view(L"\x01\xFF\x7F", 3), 7), 7);
}

TEST(IniValues, BooleansAreIntegersWhereAnythingButZeroIsTrue) {
    EXPECT_TRUE(IniBoolean(L"1", false));
    EXPECT_TRUE(IniBoolean(L"-1", false));
    EXPECT_TRUE(IniBoolean(L"$10", false));
    EXPECT_FALSE(IniBoolean(L"0", true));
    EXPECT_FALSE(IniBoolean(L"x0", true));
    EXPECT_TRUE(IniBoolean(L"yes", true)) << "not a number: the default";
    EXPECT_FALSE(IniBoolean(L"yes", false));
    EXPECT_TRUE(IniBoolean(std::nullopt, true));
    EXPECT_EQ(IniWriteBoolean(true), L"1");
    EXPECT_EQ(IniWriteBoolean(false), L"0");
}

TEST(IniValues, StringsAreTakenAsTheyAreUpTo2047Characters) {
    EXPECT_EQ(IniString(L"shot%d", L"image_%.5d"), L"shot%d");
    EXPECT_EQ(IniString(std::nullopt, L"image_%.5d"), L"image_%.5d");
    EXPECT_EQ(IniString(L"", L"image_%.5d"), L"");
    std::wstring longName(3000, L'ж');
    EXPECT_EQ(IniString(longName, L"").size(), 2047u);
}

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
