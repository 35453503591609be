#include "base/ini_text.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(IniText, ReadsAsTheSystemDoesBlanksQuotesCaseAndTheFirstOfEach) {
    const IniText ini(L"top=1\r\n"
                      L"[Photo]\r\n"
                      L"  Quality =  55  \r\n"
                      L"name=\"  spaced  \"\n"
                      L"single='x'\r"
                      L"lone=\"\r\n"
                      L"mixed=\"x'\r\n"
                      L"empty=\r\n"
                      L"quality=99\r\n"
                      L"novalue\r\n"
                      L"[ photo ]\r\n"
                      L"second=yes\r\n"
                      L"[photo]\r\n"
                      L"later=yes\r\n");
    EXPECT_EQ(ini.Get(L"photo", L"quality"), L"55") << "the first key of the first section";
    EXPECT_EQ(ini.Get(L"PHOTO", L" QUALITY "), L"55");
    EXPECT_EQ(ini.Get(L"photo", L"name"), L"  spaced  ") << "one pair of quotes dropped";
    EXPECT_EQ(ini.Get(L"photo", L"single"), L"x");
    EXPECT_EQ(ini.Get(L"photo", L"lone"), L"\"");
    EXPECT_EQ(ini.Get(L"photo", L"mixed"), L"\"x'");
    EXPECT_EQ(ini.Get(L"photo", L"empty"), L"");
    EXPECT_EQ(ini.Get(L"photo", L"novalue"), std::nullopt);
    EXPECT_EQ(ini.Get(L"photo", L"later"), std::nullopt) << "only the first such section counts";
    EXPECT_EQ(ini.Get(L"photo", L"top"), std::nullopt) << "keys before any section belong to none";
    EXPECT_EQ(ini.Get(L"common", L"top"), std::nullopt);
}

TEST(IniText, EditingChangesOnlyItsOwnLinesAndKeepsTheUsersOwn) {
    IniText ini(L"; my notes\r\n"
                L"[common]\r\n"
                L"Top = 5\r\n"
                L"mine=kept\r\n"
                L"\r\n"
                L"[other]\r\n"
                L"key=value\r\n");
    ini.Set(L"common", L"top", L"7");
    ini.Set(L"common", L"left", L"3");
    ini.Set(L"photo", L"type", L"1");
    ini.Set(L"photo", L"name", L"a\r\n[common]\r\ntop=666");
    EXPECT_EQ(ini.Text(), L"; my notes\r\n"
                          L"[common]\r\n"
                          L"Top=7\r\n"
                          L"mine=kept\r\n"
                          L"left=3\r\n"
                          L"\r\n"
                          L"[other]\r\n"
                          L"key=value\r\n"
                          L"\r\n"
                          L"[photo]\r\n"
                          L"type=1\r\n"
                          L"name=a\r\n");
    EXPECT_EQ(IniText(ini.Text()).Get(L"common", L"top"), L"7")
        << "a line break in a value cannot start a line of its own";
    // Values read back exactly, blanks and quotes included.
    for (const wchar_t* value : {L" 800 ", L"'x'", L"\"\"", L"\"x", L"a\"b"}) {
        ini.Set(L"photo", L"xres", value);
        EXPECT_EQ(IniText(ini.Text()).Get(L"photo", L"xres"), value);
    }
    IniText empty(L"");
    empty.Set(L"common", L"top", L"0");
    EXPECT_EQ(empty.Text(), L"[common]\r\ntop=0\r\n");
}
