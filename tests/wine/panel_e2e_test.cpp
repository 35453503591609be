// The program as started by a user: the panel, its Photos folder, and what happens when
// the Photos folder cannot be used.

#include "tests/wine/support/message_box.h"
#include "tests/wine/support/program.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

HWND ChildByText(HWND top, const std::wstring& text) {
    struct S {
        const std::wstring* text;
        HWND found;
    } s{&text, nullptr};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<S*>(lp);
            if (WindowText(h) == *s->text) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

} // namespace

TEST(Panel, OpensWithPhotosFolderBesideProgramAndLeavesScreenshot) {
    TempFolder folder;
    auto exe = InstallProgram(folder.Path());
    std::filesystem::create_directories(folder.Path() / L"Photos");
    for (const wchar_t* name : {L"b.JPG", L"A.bmp", L"c.png"}) {
        HANDLE h = CreateFileW((folder.Path() / L"Photos" / name).c_str(), GENERIC_WRITE, 0,
                               nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(h);
    }
    Program vistrel(exe);
    HWND main = vistrel.FindTopWindow(L"TMainForm", L"Vistrel v0.12");
    ASSERT_NE(main, nullptr);
    HWND button = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (button = ChildByText(main, L"Сфотографировать")) != nullptr; }));
    EXPECT_NE(ChildByText(main, L"Нет фотографии"), nullptr);

    // The list, read from outside the process.
    HWND list = nullptr;
    EnumChildWindows(
        main,
        [](HWND h, LPARAM lp) -> BOOL {
            if (ClassName(h) == L"ListBox") {
                *reinterpret_cast<HWND*>(lp) = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);

    // Give the window a moment to be drawn, then keep a picture of it.
    WaitFor([] { return false; }, 300ms);
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
