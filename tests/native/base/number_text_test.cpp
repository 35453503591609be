#include "base/number_text.h"

#include <gtest/gtest.h>

using vistrel::ReadWholeNumber;

TEST(ReadWholeNumber, AcceptsDecimalWithBlanksAndOneSign) {
    EXPECT_EQ(ReadWholeNumber(L"0"), 0);
    EXPECT_EQ(ReadWholeNumber(L"640"), 640);
    EXPECT_EQ(ReadWholeNumber(L"   480"), 480);
    EXPECT_EQ(ReadWholeNumber(L"+7"), 7);
    EXPECT_EQ(ReadWholeNumber(L"-7"), -7);
    EXPECT_EQ(ReadWholeNumber(L"007"), 7);
    EXPECT_EQ(ReadWholeNumber(L" -2147483648"), INT32_MIN);
    EXPECT_EQ(ReadWholeNumber(L"2147483647"), INT32_MAX);
}

TEST(ReadWholeNumber, AcceptsHexadecimalAfterEachPrefixAndWrapsEightDigits) {
    EXPECT_EQ(ReadWholeNumber(L"$7fffffff"), INT32_MAX);
    EXPECT_EQ(ReadWholeNumber(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ReadWholeNumber(L"$80000000"), INT32_MIN);
    EXPECT_EQ(ReadWholeNumber(L"0XFF"), 255);
    EXPECT_EQ(ReadWholeNumber(L"0xff"), 255);
    EXPECT_EQ(ReadWholeNumber(L"x10"), 16);
    EXPECT_EQ(ReadWholeNumber(L"X1a"), 26);
    EXPECT_EQ(ReadWholeNumber(L"-$10"), -16);
    EXPECT_EQ(ReadWholeNumber(L"  +0x0"), 0);
}

TEST(ReadWholeNumber, RejectsAnythingElse) {
    for (const wchar_t* text :
         {L"",           L" ",    L"+",   L"-",          L"0x",          L"$",
          L"x",          L"12a",  L"1 2", L"2147483648", L"-2147483649", L"99999999999999999999",
          L"$123456789", L"--1",  L"+-1", L"12 ",        L"\t12",        L"1.5",
          L"1e3",        L"0x-1", L"$ 1", L"abc",        L"\u0661\u0662"}) {
        EXPECT_FALSE(ReadWholeNumber(text).has_value()) << "accepted \"" << text << '"';
    }
}

TEST(WriteWholeNumber, IsPlainDecimal) {
    EXPECT_EQ(vistrel::WriteWholeNumber(0), L"0");
    EXPECT_EQ(vistrel::WriteWholeNumber(-1), L"-1");
    EXPECT_EQ(vistrel::WriteWholeNumber(INT32_MIN), L"-2147483648");
    EXPECT_EQ(ReadWholeNumber(vistrel::WriteWholeNumber(123456)), 123456);
}
