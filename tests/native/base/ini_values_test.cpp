#include "base/ini_values.h"

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
