// Writing photo files: whole or not at all, never over another file.

#include "base/error.h"
#include "base/win32/file_system.h"
#include "capture/win32/click_sound.h"
#include "capture/win32/photo_bitmap.h"
#include "capture/win32/photo_file.h"
#include "tests/wine/support/images.h"
#include "tests/wine/support/panel_driver.h"
#include "tests/wine/support/program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

using namespace testing_support;
using vistrel::Error;
using vistrel::FileChunk;
using vistrel::SaveNewPhotoFile;

namespace {

void Put(const std::filesystem::path& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::string Text(const std::filesystem::path& path) {
    auto bytes = ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

class PhotoFile : public ::testing::Test {
protected:
    TempFolder folder_{L"vistrel-file"};
    std::wstring Base(const wchar_t* name) const { return (folder_.Path() / name).wstring(); }
};

TEST_F(PhotoFile, WritesAllChunksUnderTheChosenNameAndLeavesNothingElse) {
    std::string head = "head-", body(300000, 'x');
    auto path = SaveNewPhotoFile([&] { return Base(L"image_00001"); }, [](auto&) {}, L".jpg",
                                 {FileChunk{head.data(), head.size()},
                                  FileChunk{body.data(), body.size()}, FileChunk{nullptr, 0}});
    EXPECT_EQ(path, Base(L"image_00001.jpg"));
    EXPECT_EQ(Text(path), head + body);
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::wstring>{L"image_00001.jpg"});
}

TEST_F(PhotoFile, ANameTakenMeanwhileMovesThePhotoToTheNextFreeName) {
    int calls = 0;
    std::vector<std::wstring> reportedTaken;
    auto nextName = [&] {
        if (++calls == 1) {
            // Another program takes the name right after it was found free.
            Put(Base(L"image_00001.jpg"), "theirs");
            return Base(L"image_00001");
        }
        return Base(L"image_00002");
    };
    std::string mine = "mine";
    auto path =
        SaveNewPhotoFile(nextName, [&](const std::wstring& name) { reportedTaken.push_back(name); },
                         L".jpg", {FileChunk{mine.data(), mine.size()}});
    EXPECT_EQ(path, Base(L"image_00002.jpg"));
    EXPECT_EQ(reportedTaken, std::vector<std::wstring>{Base(L"image_00001")});
    EXPECT_EQ(Text(Base(L"image_00001.jpg")), "theirs");
    EXPECT_EQ(Text(Base(L"image_00002.jpg")), "mine");
    EXPECT_EQ(FilesIn(folder_.Path()).size(), 2u);
}

TEST_F(PhotoFile, AMissingFolderIsReportedWithThePathAndLeavesNothing) {
    std::wstring target = Base(L"missing\\image_00001");
    std::string bytes = "x";
    try {
        SaveNewPhotoFile([&] { return target; }, [](auto&) {}, L".bmp",
                         {FileChunk{bytes.data(), bytes.size()}});
        FAIL() << "no error";
    } catch (const Error& e) {
        std::wstring expected = L"Cannot create file \"" + target + L".bmp\". ";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected) << e.Message();
        EXPECT_GT(e.Message().size(), expected.size()) << "the system's reason follows";
    }
    EXPECT_TRUE(FilesIn(folder_.Path()).empty());
}

TEST_F(PhotoFile, AnErrorFromTheNameSearchRemovesTheTemporaryFile) {
    int calls = 0;
    auto nextName = [&]() -> std::wstring {
        if (++calls == 1) {
            Put(Base(L"photo.jpg"), "theirs");
            return Base(L"photo");
        }
        throw Error(L"no free name");
    };
    std::string bytes = "mine";
    EXPECT_THROW(
        SaveNewPhotoFile(nextName, [](auto&) {}, L".jpg", {FileChunk{bytes.data(), bytes.size()}}),
        Error);
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::wstring>{L"photo.jpg"});
    EXPECT_EQ(Text(Base(L"photo.jpg")), "theirs");
}

namespace {
// A disk that fills up after 100,000 bytes.
unsigned long g_written = 0;
int FullDisk(void* file, const void* data, unsigned long size, unsigned long* written) {
    unsigned long room = g_written < 100000 ? 100000 - g_written : 0;
    if (room == 0) {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    unsigned long part = std::min(size, room);
    int ok = vistrel::PhotoFileSystem::SystemWrite(file, data, part, written);
    g_written += *written;
    return ok;
}
} // namespace

TEST_F(PhotoFile, AFullDiskLeavesNoTemporaryFileAndNoPartialPhoto) {
    Put(Base(L"image_00001.jpg"), "earlier");
    g_written = 0;
    std::string big(300000, 'p');
    try {
        SaveNewPhotoFile([&] { return Base(L"image_00002"); }, [](auto&) {}, L".jpg",
                         {FileChunk{big.data(), big.size()}}, {.write = FullDisk});
        FAIL() << "no error";
    } catch (const Error& e) {
        std::wstring expected = L"Cannot write file \"" + Base(L"image_00002.jpg") + L"\". ";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected) << e.Message();
    }
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::wstring>{L"image_00001.jpg"});
    EXPECT_EQ(Text(Base(L"image_00001.jpg")), "earlier");
    // With room again, the same name is written whole.
    auto path = SaveNewPhotoFile([&] { return Base(L"image_00002"); }, [](auto&) {}, L".jpg",
                                 {FileChunk{big.data(), big.size()}});
    EXPECT_EQ(Text(path), big);
}

namespace {
// Another program holding the new file without delete sharing for a while from the first
// try to name it (however long the writing before took).
ULONGLONG g_holdMs = 0;
ULONGLONG g_heldUntil = 0;
int g_renames = 0;
DWORD HeldRename(HANDLE file, const std::wstring& target) {
    if (++g_renames == 1)
        g_heldUntil = GetTickCount64() + g_holdMs;
    if (GetTickCount64() < g_heldUntil)
        return ERROR_SHARING_VIOLATION;
    return vistrel::PhotoFileSystem::SystemRename(file, target);
}
DWORD HeldRemove(const std::wstring& path) {
    if (GetTickCount64() < g_heldUntil)
        return ERROR_SHARING_VIOLATION;
    return vistrel::PhotoFileSystem::SystemRemove(path);
}
} // namespace

TEST_F(PhotoFile, AFileHeldForAMomentIsNamedOnceLetGoAndOneHeldLongerIsReportedAndRemovedLater) {
    vistrel::PhotoFileSystem held{.rename = HeldRename, .remove = HeldRemove, .patienceMs = 300};
    std::string bytes = "photo";
    // Held for less than the patience: named as soon as it is let go.
    g_renames = 0;
    g_holdMs = 150;
    auto path = SaveNewPhotoFile([&] { return Base(L"image_00001"); }, [](auto&) {}, L".jpg",
                                 {FileChunk{bytes.data(), bytes.size()}}, held);
    EXPECT_EQ(Text(path), bytes);
    EXPECT_GT(g_renames, 1);
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::wstring>{L"image_00001.jpg"});

    // Held for longer: the naming is reported with the system's reason, and the temporary
    // file, still held, goes at the next photo.
    g_renames = 0;
    g_holdMs = 1000;
    try {
        SaveNewPhotoFile([&] { return Base(L"image_00002"); }, [](auto&) {}, L".jpg",
                         {FileChunk{bytes.data(), bytes.size()}}, held);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot write file \"" + Base(L"image_00002.jpg") + L"\". " +
                                   vistrel::SystemErrorText(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(FilesIn(folder_.Path()).size(), 2u) << "the held temporary file";
    WaitFor([] { return GetTickCount64() >= g_heldUntil; });
    path = SaveNewPhotoFile([&] { return Base(L"image_00002"); }, [](auto&) {}, L".jpg",
                            {FileChunk{bytes.data(), bytes.size()}}, held);
    EXPECT_EQ(FilesIn(folder_.Path()),
              (std::vector<std::wstring>{L"image_00001.jpg", L"image_00002.jpg"}));
}

TEST(ClickSound, IsACompleteEightBitMonoWaveOf5524BytesAndPlayingItReturns) {
    HMODULE exe =
        LoadLibraryExW((BuildFolder() / L"vistrel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC res = FindResourceW(exe, L"Click", MAKEINTRESOURCEW(10));
    ASSERT_NE(res, nullptr);
    ASSERT_EQ(SizeofResource(exe, res), 5524u);
    auto* wav = static_cast<const uint8_t*>(LockResource(LoadResource(exe, res)));
    auto u32 = [&](size_t at) {
        return wav[at] | (wav[at + 1] << 8) | (wav[at + 2] << 16) | (uint32_t(wav[at + 3]) << 24);
    };
    auto u16 = [&](size_t at) { return wav[at] | (wav[at + 1] << 8); };
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(wav), 4), "RIFF");
    EXPECT_EQ(u32(4), 5516u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(wav + 8), 8), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u16(20), 1);      // PCM
    EXPECT_EQ(u16(22), 1);      // mono
    EXPECT_EQ(u32(24), 11025u); // samples a second
    EXPECT_EQ(u32(28), 11025u); // bytes a second
    EXPECT_EQ(u16(32), 1);
    EXPECT_EQ(u16(34), 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(wav + 36), 4), "data");
    EXPECT_EQ(u32(40), 5480u);
    FreeLibrary(exe);

    // This test program carries the same resources; without a sound device the call
    // simply returns.
    vistrel::PlayClickSound();
}

TEST(ScreenCopy, AFailedCopyIsAnErrorWithTheSystemsReasonNotABlackPhoto) {
    vistrel::PhotoBitmap photo(16, 16);
    auto failing = [](HDC, int, int, int, int, HDC, int, int, DWORD) -> BOOL {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    };
    try {
        photo.CopyFromScreen(0, 0, failing);
        ADD_FAILURE() << "a failed copy went unnoticed";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot copy the browser's view from the screen. " +
                                   vistrel::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    }
}
