// Temporary photo files left by a run that was killed are removed; nothing else is.

#include "base/win32/handles.h"
#include "capture/win32/leftover_files.h"
#include "tests/wine/support/panel_driver.h"
#include "tests/wine/support/program.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace testing_support;
using vistrel::RemoveLeftoverTemporaryFiles;
using vistrel::UniqueFile;

namespace {

void Put(const std::filesystem::path& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    WriteFile(file.get(), "part", 4, &written, nullptr);
}

} // namespace

TEST(LeftoverFiles, RemovesStaleTemporaryFilesKeepsHeldOnesAndTouchesNothingElse) {
    TempFolder folder(L"vistrel-leftovers");
    const std::filesystem::path photos = folder.Path() / L"Photos";
    std::filesystem::create_directories(photos);
    // Left by killed runs, whatever the letter case.
    Put(photos / L"~vistrel-4242-1.tmp");
    Put(photos / L"~VISTREL-17-3.TMP");
    // Held by a running copy, as the photo writer holds its own: open without sharing.
    const std::filesystem::path held = photos / L"~vistrel-99-1.tmp";
    UniqueFile holder(CreateFileW(held.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    // Anything else stays: photos, near names, a folder of the name, hidden user files.
    for (const wchar_t* name : {L"image_00001.jpg", L"~vistrel-1-1.tmp.jpg", L"~vistrel-1-1.tmpx",
                                L"vistrel-1-1.tmp", L"x~vistrel-1-1.tmp", L"~vistrel-.tmp.txt"})
        Put(photos / name);
    Put(photos / L"~vistrel-5-5.tmp.hidden", FILE_ATTRIBUTE_HIDDEN);
    Put(photos / L"~vistrel-6-6.tmp", FILE_ATTRIBUTE_HIDDEN);
    std::filesystem::create_directory(photos / L"~vistrel-7-7.tmp");
    Put(photos / L"~vistrel-7-7.tmp" / L"~vistrel-8-8.tmp");

    RemoveLeftoverTemporaryFiles(photos.wstring());
    EXPECT_EQ(FilesIn(photos),
              (std::vector<std::wstring>{L"image_00001.jpg", L"vistrel-1-1.tmp",
                                         L"x~vistrel-1-1.tmp", L"~vistrel-.tmp.txt",
                                         L"~vistrel-1-1.tmp.jpg", L"~vistrel-1-1.tmpx",
                                         L"~vistrel-5-5.tmp.hidden", L"~vistrel-6-6.tmp",
                                         L"~vistrel-7-7.tmp", L"~vistrel-99-1.tmp"}));
    EXPECT_EQ(FilesIn(photos / L"~vistrel-7-7.tmp"),
              std::vector<std::wstring>{L"~vistrel-8-8.tmp"});

    // Once its copy has ended, the next start removes it too (the folder given with its
    // trailing separator this time).
    holder.reset();
    RemoveLeftoverTemporaryFiles(photos.wstring() + L"\\");
    EXPECT_FALSE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(photos / L"image_00001.jpg"));
}

TEST(LeftoverFiles, AMissingFolderIsNoErrorAndNoFolderIsNotTheCurrentOne) {
    TempFolder folder(L"vistrel-leftovers");
    RemoveLeftoverTemporaryFiles((folder.Path() / L"Photos").wstring());
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    Put(folder.Path() / L"~vistrel-1-1.tmp");
    RemoveLeftoverTemporaryFiles(L"");
    std::filesystem::current_path(current);
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / L"~vistrel-1-1.tmp"));
}
