#include "base/error.h"

#include <gtest/gtest.h>

using vistrel::ErrorBoxText;

TEST(ErrorBoxText, AppendsFullStopAfterCharactersSortingAfterIt) {
    EXPECT_EQ(ErrorBoxText(L"Bitmap image is not valid"), L"Bitmap image is not valid.");
    EXPECT_EQ(ErrorBoxText(L"JPEG error #42"), L"JPEG error #42.");
    EXPECT_EQ(ErrorBoxText(L"Нет фотографии"), L"Нет фотографии.");
    EXPECT_EQ(ErrorBoxText(L"Unable to write to C:\\x\\vistrel.ini"),
              L"Unable to write to C:\\x\\vistrel.ini.");
    EXPECT_EQ(ErrorBoxText(L"key:"), L"key:.");
    EXPECT_EQ(ErrorBoxText(L"why?"), L"why?.");
    EXPECT_EQ(ErrorBoxText(L"a/"), L"a/.");
}

TEST(ErrorBoxText, LeavesTextEndingInPunctuationBlankOrQuoteAlone) {
    for (const wchar_t* text : {L"Done.", L"Stop!", L"(x)", L"say \"x\"", L"it's '", L"gap ", L"a,",
                                L"a-", L"#", L"$", L"%", L"&", L"*", L"+", L""}) {
        EXPECT_EQ(ErrorBoxText(text), text);
    }
}

TEST(FormatMessageText, FillsPlaceholdersInOrderAndKeepsArgumentsVerbatim) {
    using vistrel::FormatMessageText;
    EXPECT_EQ(FormatMessageText(L"Cannot create file \"%s\". %s", {L"C:\\a%d.jpg", L"Denied."}),
              L"Cannot create file \"C:\\a%d.jpg\". Denied.");
    EXPECT_EQ(FormatMessageText(L"%s and %s", {L"one"}), L"one and ");
    EXPECT_EQ(FormatMessageText(L"100%", {L"x"}), L"100%");
}
