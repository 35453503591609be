#include "app/settings.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {
const ScreenDefaults kScreen{218, 1048};
}

TEST(Settings, AnEmptyFileGivesEveryDefault) {
    Settings s = ReadSettings(IniText(L""), kScreen);
    EXPECT_EQ(s.geometry, (StoredGeometry{0, 0, 218, 1048}));
    EXPECT_EQ(s.photo, PhotoOptions{});
    EXPECT_EQ(s.photo.typeEntry, 1);
    EXPECT_EQ(s.photo.quality, 80);
    EXPECT_FALSE(s.photo.resize);
    EXPECT_TRUE(s.photo.proportional);
    EXPECT_EQ(s.photo.percent, 100);
    EXPECT_EQ(s.photo.nameTemplate, L"image_%.5d");
    EXPECT_TRUE(s.hotkey.None());
    EXPECT_TRUE(s.unreadHotkey.empty());
}

TEST(Settings, DamagedValuesFallBackAndNumbersComeIntoRange) {
    Settings s = ReadSettings(IniText(L"[common]\nleft=abc\ntop=$10\nwidth=2147483647\n"
                                      L"[photo]\ntype=7\nquality=150\nsfactor=0\nscale=\"1\"\n"
                                      L"prop=0x0\nxres=  800  \nyres=\"6 0\"\nname=photo\n"),
                              kScreen);
    EXPECT_EQ(s.geometry.left, 0);
    EXPECT_EQ(s.geometry.top, 16);
    EXPECT_EQ(s.geometry.width, kMaxStoredCoordinate);
    EXPECT_EQ(s.photo.typeEntry, -1) << "no entry, saved as JPEG and written back as -1";
    EXPECT_EQ(s.photo.quality, 100);
    EXPECT_EQ(s.photo.percent, 1);
    EXPECT_TRUE(s.photo.resize);
    EXPECT_FALSE(s.photo.proportional);
    EXPECT_EQ(s.photo.width, L"800");
    EXPECT_EQ(s.photo.height, L"6 0") << "sizes are text, taken as they are";
    EXPECT_EQ(s.photo.nameTemplate, L"photo");
}

TEST(Settings, EveryValueIsWrittenInOrderAndReadsBackTheSame) {
    Settings s;
    s.geometry = {120, 300, 260, 650};
    s.photo.typeEntry = 2;
    s.photo.quality = 43;
    s.photo.resize = true;
    s.photo.width = L"1024";
    s.photo.height = L"abc";
    s.photo.proportional = false;
    s.photo.percent = 98;
    s.photo.nameTemplate = L"фото_%.3d";
    s.hotkey = {Hotkey::kCtrl | Hotkey::kShift, 0x78};
    IniText ini(L"[mine]\r\nkeep=yes\r\n");
    WriteSettings(s, ini);
    EXPECT_EQ(ini.Text(), L"[mine]\r\nkeep=yes\r\n\r\n"
                          L"[common]\r\ntop=120\r\nleft=300\r\nwidth=260\r\nheight=650\r\n\r\n"
                          L"[photo]\r\ntype=2\r\nquality=43\r\nscale=1\r\nxres=1024\r\nyres=abc\r\n"
                          L"prop=0\r\nsfactor=98\r\nname=фото_%.3d\r\nhotkey=Ctrl+Shift+F9\r\n");
    Settings back = ReadSettings(ini, kScreen);
    EXPECT_EQ(back.geometry, s.geometry);
    EXPECT_EQ(back.photo, s.photo);
    EXPECT_EQ(back.hotkey, s.hotkey);
}

TEST(Settings, AHotkeyThatCannotBeReadIsKeptAsTheUserWroteIt) {
    for (const wchar_t* text : {L"Ctrl+Shift+Ф", L"A", L"Ctrl+Ctrl+F9"}) {
        IniText ini(std::wstring(L"[photo]\nhotkey=") + text + L"\n");
        Settings s = ReadSettings(ini, kScreen);
        EXPECT_TRUE(s.hotkey.None()) << text;
        EXPECT_EQ(s.unreadHotkey, text);
        WriteSettings(s, ini);
        EXPECT_EQ(ini.Get(L"photo", L"hotkey"), text) << "never erased without a word";
    }
}
