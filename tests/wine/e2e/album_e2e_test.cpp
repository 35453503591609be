// The album as other programs see and change it: photos added, removed and renamed in the
// Photos folder by a file manager show in the list at once, in their places, and the list's
// names can be read from outside the program (as a screen reader does).

#include "capture/bmp_file.h"
#include "capture/pixels.h"
#include "tests/wine/support/panel_driver.h"
#include "tests/wine/support/user_input.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void WritePhoto(const fs::path& path) {
    vistrel::PixelBuffer pixels(16, 12, 32);
    auto bytes = vistrel::BmpFileHeaders(pixels.View());
    bytes.insert(bytes.end(), pixels.bits.begin(), pixels.bits.end());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The list's items as another program reads them.
std::vector<std::wstring> Items(HWND list) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR || length > 256) {
            items.push_back(L"(unreadable)");
            continue;
        }
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                         reinterpret_cast<LPARAM>(text.data()));
        text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
        items.push_back(text);
    }
    return items;
}

} // namespace

TEST(Album, ChangesOfOtherProgramsShowInTheirPlacesAndTheSelectionStaysOnItsPhoto) {
    TempFolder folder(L"vistrel-album");
    auto exe = InstallProgram(folder.Path());
    const fs::path photos = folder.Path() / L"Photos";
    fs::create_directories(photos);
    for (const wchar_t* name : {L"a.bmp", L"c.bmp", L"e.bmp"})
        WritePhoto(photos / name);
    Program vistrel(exe);
    PanelDriver panel(vistrel);
    ASSERT_TRUE(panel.Found());
    HWND list = panel.List();
    ASSERT_EQ(Items(list), (std::vector<std::wstring>{L"a.bmp", L"c.bmp", L"e.bmp"}));

    // The user clicks c.bmp, which the preview shows.
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &at);
    ClickAt(at);
    ASSERT_TRUE(WaitFor([&] { return panel.SelectedItem() == L"c.bmp"; }));
    HWND preview = FindWindowExW(panel.ByText(L"Нет фотографии"), nullptr, L"TImage", nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(preview) != FALSE; }));

    // A file manager adds, removes and renames photos.
    WritePhoto(photos / L"b.bmp");
    fs::remove(photos / L"a.bmp");
    fs::rename(photos / L"e.bmp", photos / L"d.bmp");
    WritePhoto(photos / L"notes.txt");
    const std::vector<std::wstring> changed{L"b.bmp", L"c.bmp", L"d.bmp"};
    EXPECT_TRUE(WaitFor([&] { return Items(list) == changed; })) << Items(list).size();
    EXPECT_EQ(panel.SelectedItem(), L"c.bmp");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1) << "on the same photo in its new place";
    EXPECT_TRUE(IsWindowVisible(preview));

    // The selected photo itself goes: nothing is selected and the preview says so.
    fs::remove(photos / L"c.bmp");
    EXPECT_TRUE(WaitFor([&] {
        return Items(list) == std::vector<std::wstring>{L"b.bmp", L"d.bmp"};
    }));
    EXPECT_TRUE(WaitFor([&] { return panel.SelectedItem().empty() && !IsWindowVisible(preview); }));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);

    // The folder itself removed and made again: the list follows it too.
    fs::remove_all(photos);
    EXPECT_TRUE(WaitFor([&] { return Items(list).empty(); }));
    fs::create_directories(photos);
    WritePhoto(photos / L"f.bmp");
    EXPECT_TRUE(WaitFor([&] { return Items(list) == std::vector<std::wstring>{L"f.bmp"}; }));
    fs::remove(photos / L"f.bmp");
    EXPECT_TRUE(WaitFor([&] { return Items(list).empty(); })) << "and is watched again";
    panel.Close();
    EXPECT_EQ(vistrel.WaitExit(10s), 0);
}

TEST(Album, ARenamedPhotoAndThousandsOfChangesAtOnceKeepTheSelectionOnItsPhoto) {
    TempFolder folder(L"vistrel-album");
    auto exe = InstallProgram(folder.Path());
    const fs::path photos = folder.Path() / L"Photos";
    fs::create_directories(photos);
    for (const wchar_t* name : {L"a.bmp", L"b.bmp"})
        WritePhoto(photos / name);
    Program vistrel(exe);
    PanelDriver panel(vistrel);
    ASSERT_TRUE(panel.Found());
    HWND list = panel.List();
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &at);
    ClickAt(at);
    ASSERT_TRUE(WaitFor([&] { return panel.SelectedItem() == L"b.bmp"; }));

    // Renamed in a file manager: still selected, under its new name.
    fs::rename(photos / L"b.bmp", photos / L"c.bmp");
    EXPECT_TRUE(WaitFor([&] { return panel.SelectedItem() == L"c.bmp"; }));
    EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"a.bmp", L"c.bmp"}));

    // Thousands of files come and go at once, more than the change records hold.
    for (int i = 0; i < 3000; ++i)
        CloseHandle(CreateFileW((photos / (L"x" + std::to_wstring(i) + L".png")).c_str(),
                                GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    EXPECT_TRUE(WaitFor([&] { return Items(list).size() == 3002; }));
    for (int i = 0; i < 3000; ++i)
        DeleteFileW((photos / (L"x" + std::to_wstring(i) + L".png")).c_str());
    EXPECT_TRUE(WaitFor([&] { return Items(list).size() == 2; }));
    EXPECT_EQ(panel.SelectedItem(), L"c.bmp");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    panel.Close();
    EXPECT_EQ(vistrel.WaitExit(10s), 0);
}
