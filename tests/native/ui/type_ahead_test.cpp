#include "ui/type_ahead.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(TypeAhead, BuildsSearchTextWithinHalfASecondAndBackspaceRemovesLast) {
    TypeAhead t;
    EXPECT_EQ(t.Type(L'i', 1000), L"i");
    EXPECT_EQ(t.Type(L'm', 1499), L"im");
    EXPECT_EQ(t.Type(L'\b', 1600), L"i");
    EXPECT_EQ(t.Type(L'x', 2100), L"x"); // 500 ms after the previous key: a new search
    EXPECT_EQ(t.Type(L'\b', 2200), L"");
    EXPECT_EQ(t.Type(L'\b', 2300), L"");
    // The millisecond counter wraps after 49 days.
    TypeAhead w;
    EXPECT_EQ(w.Type(L'a', 0xFFFFFF00u), L"a");
    EXPECT_EQ(w.Type(L'b', 0x00000010u), L"ab");
}
