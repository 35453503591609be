// The hotkey dialog shows a stored hotkey as the keys it names.

#include "app/win32/hotkey_dialog.h"
#include "tests/wine/support/program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>

using namespace testing_support;
using vistrel::Hotkey;

namespace {

// Shows the dialog with the hotkey; user acts on the dialog and its hotkey control, as a
// person would, and must close it. Returns what "ОК" chose, if it was clicked.
std::optional<Hotkey> ShowDialog(Hotkey hotkey,
                                 const std::function<void(HWND dialog, HWND control)>& user) {
    vistrel::HotkeyDialog form;
    std::optional<Hotkey> chosen;
    form.Show(nullptr, hotkey, [&](Hotkey h) {
        chosen = h;
        return true;
    });
    HWND dialog = form.Handle();
    user(dialog, FindWindowExW(dialog, nullptr, HOTKEY_CLASSW, nullptr));
    EXPECT_TRUE(WaitFor([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        return !form.IsOpen();
    }));
    return chosen;
}

// What the hotkey control holds once the dialog shows the hotkey.
WORD ControlValue(Hotkey hotkey) {
    WORD value = 0;
    ShowDialog(hotkey, [&](HWND dialog, HWND control) {
        value = static_cast<WORD>(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    return value;
}

std::wstring KeyName(UINT scanCode, bool extended) {
    wchar_t name[64]{};
    GetKeyNameTextW(static_cast<LONG>((scanCode << 16) | (extended ? 1u << 24 : 0)), name, 64);
    return name;
}

// The key's name as the control draws it: its virtual key's scan code, marked extended
// when the control holds the extended-key flag.
std::wstring DrawnKeyName(WORD value) {
    return KeyName(MapVirtualKeyW(LOBYTE(value), MAPVK_VK_TO_VSC), HIBYTE(value) & HOTKEYF_EXT);
}

} // namespace

TEST(HotkeyDialog, ShowsNavigationKeysAsThemselvesNotAsTheKeypadKeysOfTheirScanCodes) {
    const struct {
        unsigned key, keypad;
    } pairs[] = {{VK_INSERT, VK_NUMPAD0},
                 {VK_HOME, VK_NUMPAD7},
                 {VK_END, VK_NUMPAD1},
                 {VK_PRIOR, VK_NUMPAD9},
                 {VK_NEXT, VK_NUMPAD3}};
    for (const auto& [key, keypad] : pairs) {
        const WORD shown = ControlValue({MOD_CONTROL, key});
        // The same virtual key comes back.
        EXPECT_EQ(LOBYTE(shown), key);
        EXPECT_EQ(HIBYTE(shown) & HOTKEYF_CONTROL, HOTKEYF_CONTROL);
        // The scan code alone is the keypad key's ("Num 7"); its extended form is the key.
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        ASSERT_NE(KeyName(scan, true), KeyName(scan, false)) << key;
        EXPECT_EQ(DrawnKeyName(shown), KeyName(scan, true)) << key;
        // A keypad key itself is shown without the flag.
        EXPECT_EQ(HIBYTE(ControlValue({MOD_CONTROL, keypad})), HOTKEYF_CONTROL) << keypad;
    }
}

TEST(HotkeyDialog, CtrlPauseFromTheSettingsIsShownAsTheBreakKeyThatArrives) {
    const Hotkey stored = *vistrel::ParseHotkey(L"Ctrl+Pause");
    const WORD shown = ControlValue(stored);
    EXPECT_EQ(LOBYTE(shown), VK_CANCEL);
    // Break is the extended form of Scroll Lock's scan code, as the keyboard gives it.
    EXPECT_EQ(HIBYTE(shown), HOTKEYF_CONTROL | HOTKEYF_EXT);
}

TEST(HotkeyDialog, AKeyTheKeyboardGaveWithTheExtendedFlagIsChosenWithoutIt) {
    // The flag (8) is no modifier: it must not turn into Win (MOD_WIN is 8 too).
    auto chosen = ShowDialog({MOD_CONTROL, VK_END}, [](HWND dialog, HWND control) {
        SendMessageW(control, HKM_SETHOTKEY,
                     MAKEWORD(VK_HOME, HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_EXT), 0);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(chosen, (Hotkey{MOD_CONTROL | MOD_SHIFT, VK_HOME}));
}
