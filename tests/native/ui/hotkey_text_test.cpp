#include "ui/hotkey_text.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(HotkeyText, ReadsAnyCaseAndBlanksAndWritesTheCanonicalForm) {
    struct Case {
        const wchar_t* text;
        const wchar_t* canonical;
    };
    const Case cases[] = {
        {L"Ctrl+Shift+F9", L"Ctrl+Shift+F9"},
        {L"  shift + ctrl+f9 ", L"Ctrl+Shift+F9"},
        {L"WIN+alt+x", L"Alt+Win+X"},
        {L"ctrl+alt+shift+win+pagedown", L"Ctrl+Alt+Shift+Win+PageDown"},
        {L"F24", L"F24"},
        {L"Ctrl+num7", L"Ctrl+Num7"},
        {L"Ctrl+0", L"Ctrl+0"},
        {L"printscreen", L"PrintScreen"},
        {L"Alt+Pause", L"Alt+Pause"},
        {L"ctrl+INSERT", L"Ctrl+Insert"},
        {L"Shift+Home", L"Shift+Home"},
        {L"Shift+End", L"Shift+End"},
        {L"Ctrl+PageUp", L"Ctrl+PageUp"},
    };
    for (const Case& c : cases) {
        auto hotkey = ParseHotkey(c.text);
        ASSERT_TRUE(hotkey) << c.text;
        EXPECT_EQ(FormatHotkey(*hotkey), c.canonical) << c.text;
    }
    auto f9 = ParseHotkey(L"Ctrl+Shift+F9");
    EXPECT_EQ(f9->modifiers, unsigned{Hotkey::kCtrl | Hotkey::kShift});
    EXPECT_EQ(f9->key, 0x78u); // VK_F9
    EXPECT_TRUE(ParseHotkey(L"")->None());
    EXPECT_TRUE(ParseHotkey(L"   ")->None());
    EXPECT_EQ(FormatHotkey(Hotkey{}), L"");
}

TEST(HotkeyText, AnythingElseIsNoHotkeyToRead) {
    for (const wchar_t* text :
         {L"Ctrl+", L"+F9", L"Ctrl", L"Ctrl+Ctrl+A", L"Ctrl+A+B", L"Control+A", L"F0", L"F25",
          L"F09", L"Num10", L"Ctrl+Tab", L"Ctrl+Ж", L"AB", L"Ctrl++", L"Ctrl+Shift+", L"Meta+A",
          // Would take a typed letter or digit from every program.
          L"A", L"shift+a", L"7", L"Num5", L"Shift+Num0"})
        EXPECT_FALSE(ParseHotkey(text)) << text;
    EXPECT_FALSE(FormatHotkey({Hotkey::kShift, 'A'}));
    // Keys the text form has no name for are not written.
    EXPECT_FALSE(FormatHotkey({Hotkey::kCtrl, 0x09}));
    EXPECT_FALSE(FormatHotkey({0x10, 'A'}));
}

TEST(HotkeyText, CtrlPauseNamesTheBreakKeyThatArrives) {
    // With Ctrl held, Pause arrives as Break (VK_CANCEL): a hotkey of Pause would never fire.
    EXPECT_EQ(ParseHotkey(L"Ctrl+Pause"), (Hotkey{Hotkey::kCtrl, 0x03}));
    EXPECT_EQ(ParseHotkey(L"alt+ctrl+pause"), (Hotkey{Hotkey::kCtrl | Hotkey::kAlt, 0x03}));
    EXPECT_EQ(ParseHotkey(L"Pause"), (Hotkey{0, 0x13}));
    EXPECT_EQ(ParseHotkey(L"Shift+Pause"), (Hotkey{Hotkey::kShift, 0x13}));
    // As the hotkey control gives it.
    EXPECT_EQ(FormatHotkey({Hotkey::kCtrl | Hotkey::kShift, 0x03}), L"Ctrl+Shift+Pause");
    // Keys that never arrive.
    EXPECT_FALSE(FormatHotkey({Hotkey::kAlt, 0x03}));
    EXPECT_FALSE(FormatHotkey({Hotkey::kCtrl, 0x13}));
}

TEST(HotkeyText, NavigationKeysAndBreakAreExtendedKeypadKeysAreNot) {
    for (const wchar_t* text : {L"Ctrl+Insert", L"Ctrl+Home", L"Ctrl+End", L"Ctrl+PageUp",
                                L"Ctrl+PageDown", L"Ctrl+Pause"})
        EXPECT_TRUE(IsExtendedKey(ParseHotkey(text)->key)) << text;
    // Delete and the arrows, which the text form does not name.
    for (unsigned key : {0x2Eu, 0x25u, 0x26u, 0x27u, 0x28u})
        EXPECT_TRUE(IsExtendedKey(key)) << key;
    for (const wchar_t* text :
         {L"Ctrl+Num0", L"Ctrl+Num1", L"Ctrl+Num3", L"Ctrl+Num7", L"Ctrl+Num9", L"F9", L"Ctrl+A",
          L"Ctrl+7", L"Pause", L"PrintScreen"})
        EXPECT_FALSE(IsExtendedKey(ParseHotkey(text)->key)) << text;
}
