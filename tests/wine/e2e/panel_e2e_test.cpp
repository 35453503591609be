// The program as started by a user: the panel, its Photos folder, and what happens when
// the Photos folder cannot be used.

#include "tests/wine/support/message_box.h"
#include "tests/wine/support/panel_driver.h"
#include "tests/wine/support/program.h"
#include "tests/wine/support/user_input.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(Panel, OpensWithPhotosFolderBesideProgramAndLeavesScreenshot) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    std::filesystem::create_directories(folder.Path() / L"Photos");
    for (const wchar_t* name : {L"b.JPG", L"A.bmp", L"c.gif"}) {
        HANDLE h = CreateFileW((folder.Path() / L"Photos" / name).c_str(), GENERIC_WRITE, 0,
                               nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(h);
    }
    Program vistrel(exe);
    PanelDriver panel(vistrel);
    ASSERT_TRUE(panel.Found());
    HWND main = panel.Main();
    EXPECT_NE(panel.ByText(L"Нет фотографии"), nullptr);
    // The list, read from outside the process.
    EXPECT_EQ(panel.ListCount(), 2);

    // Once the black preview panel shows on the screen, keep a picture of the window.
    HWND preview = panel.ByText(L"Нет фотографии");
    WaitFor([&] {
        POINT p{4, 4};
        ClientToScreen(preview, &p);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c == RGB(0, 0, 0);
    });
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_TRUE(SaveScreenBmp(r, ArtifactFolder() / L"panel.bmp"));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(vistrel.WaitExit(5s), 0);
}

TEST(Panel, PhotosThatIsAFileGivesErrorBoxAndTheWindowStillOpens) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    HANDLE h = CreateFileW((folder.Path() / L"Photos").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_NEW, 0, nullptr);
    CloseHandle(h);

    Program vistrel(exe);
    MessageBoxCatcher boxes(vistrel.Id());
    ASSERT_TRUE(boxes.WaitForCount(1));
    auto seen = boxes.Seen();
    EXPECT_EQ(seen[0].caption, L"Vistrel");
    std::wstring expected =
        L"Cannot open folder \"" + (folder.Path() / L"Photos").wstring() + L"\".";
    EXPECT_EQ(seen[0].text.substr(0, expected.size()), expected) << seen[0].text;

    HWND main = vistrel.FindTopWindow(L"TMainForm", L"Vistrel v0.12");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(vistrel.WaitExit(5s), 0);
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST(Panel, TheTemporaryFilesOfAKilledRunGoAtTheNextStartAndNothingElseDoes) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    const auto photos = folder.Path() / L"Photos";
    std::filesystem::create_directories(photos);
    // What a run killed in the middle of a photo left, beside photos and a file of the user's.
    for (const wchar_t* name : {L"~vistrel-4242-7.tmp", L"image_00001.jpg", L"~vistrel-notes.txt"})
        CloseHandle(CreateFileW((photos / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                nullptr));
    Program vistrel(exe);
    PanelDriver panel(vistrel);
    ASSERT_TRUE(panel.Found());
    EXPECT_TRUE(WaitFor([&] {
        return FilesIn(photos) ==
               std::vector<std::wstring>{L"image_00001.jpg", L"~vistrel-notes.txt"};
    }));
    panel.Close();
    EXPECT_EQ(vistrel.WaitExit(5s), 0);
}

TEST(Panel, AnUnwritableSettingsFileIsReportedOnceAndTheProgramStillEnds) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    std::filesystem::create_directories(folder.Path() / L"vistrel.ini");
    Program vistrel(exe);
    HWND main = vistrel.FindTopWindow(L"TMainForm", L"Vistrel v0.12");
    ASSERT_NE(main, nullptr);
    MessageBoxCatcher boxes(vistrel.Id());
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Seen()[0].text,
              L"Unable to write to " + (folder.Path() / L"vistrel.ini").wstring() + L".");
    EXPECT_EQ(vistrel.WaitExit(10s), 0);
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST(Panel, EndingTheSessionSavesTheSettingsOnce) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    const auto ini = folder.Path() / L"vistrel.ini";
    Program vistrel(exe);
    PanelDriver panel(vistrel);
    ASSERT_TRUE(panel.Found());
    panel.ChooseType(0); // ".BMP"
    RECT r;
    GetWindowRect(panel.Main(), &r);
    SetWindowPos(panel.Main(), nullptr, 321, 123, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // The system asks every program with a window, then ends them.
    Program logoff(L"C:\\windows\\system32\\wineboot.exe", L"--end-session");
    EXPECT_EQ(logoff.WaitExit(30s), 0);
    EXPECT_NE(vistrel.WaitExit(10s), -1) << "the program was ended";
    EXPECT_EQ(ReadIni(ini.wstring(), L"photo", L"type"), L"0");
    EXPECT_EQ(ReadIni(ini.wstring(), L"common", L"left"), L"321");
    EXPECT_EQ(ReadIni(ini.wstring(), L"common", L"top"), L"123");
}

TEST(Panel, HiddenFromTheMenuAndRestoredFromTheTaskbarItIsOnTopAgain) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    Program vistrel(exe);
    PanelDriver panel(vistrel);
    ASSERT_TRUE(panel.Found());
    HWND app = vistrel.FindTopWindow(L"TApplication");
    ASSERT_NE(app, nullptr);
    SetForegroundWindow(panel.Main());
    SetFocus(panel.PhotoButton());
    ClickAt(Centre(panel.PhotoButton()), /*right=*/true);
    HWND menu = WaitForPopupMenu();
    ASSERT_NE(menu, nullptr);
    // A click on the first entry, "Свернуть", at the menu's top.
    RECT r{};
    GetWindowRect(menu, &r);
    ClickAt({r.left + 20, r.top + GetSystemMetrics(SM_CYMENUSIZE) / 2 + 3});
    ASSERT_TRUE(WaitFor([&] { return IsIconic(app) != FALSE; }));
    EXPECT_FALSE(IsWindowVisible(panel.Main()));
    SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    panel.Idle();
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(panel.Main()) != FALSE; }));
    EXPECT_TRUE(GetWindowLongW(panel.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    panel.Close();
    EXPECT_EQ(vistrel.WaitExit(5s), 0);
}
