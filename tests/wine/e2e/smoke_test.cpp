// The program starts, shows its main window and ends cleanly when the window is closed.

#include "tests/wine/support/program.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(Program, StartsShowsMainWindowAndExitsWithZeroWhenClosed) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    Program vistrel(exe);

    HWND main = vistrel.FindTopWindow(L"TMainForm", L"Vistrel v0.12");
    ASSERT_NE(main, nullptr) << "no main window";
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);

    // The program's own owner window carries the title on the taskbar.
    HWND owner = GetWindow(main, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(WindowText(owner), L"Vistrel");

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(vistrel.WaitExit(5s), 0);
}

TEST(Program, CarriesVersionRecordAndManifest) {
    auto exe = BuildFolder() / L"vistrel.exe";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020002u);
    for (const wchar_t* key : {L"FileDescription", L"ProductName"}) {
        wchar_t* value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\041904B0\\") + key;
        ASSERT_TRUE(
            VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &len))
            << key;
        EXPECT_STREQ(value, L"Vistrel") << key;
    }

    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                     SizeofResource(module, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    FreeLibrary(module);
}
