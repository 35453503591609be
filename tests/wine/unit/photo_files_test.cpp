// What the album does with a photo file: deleting it to the recycle bin (under Wine, the
// desktop's XDG trash) or at once, failures that keep the photo and say why, and opening.

#include "album/win32/photo_files.h"
#include "base/win32/file_system.h"
#include "tests/native/support/error_of.h"
#include "tests/wine/support/message_box.h"
#include "tests/wine/support/program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

using namespace testing_support;
using testing_support::ErrorOf;
using vistrel::PhotoDeletion;

namespace {

// The Unix path Wine's trash records a file by.
std::string UnixPath(const std::filesystem::path& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = convert ? convert(path.c_str()) : nullptr;
    std::string result = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : "(missing)";
}

class PhotoFiles : public ::testing::Test {
protected:
    std::filesystem::path Photo(const wchar_t* name, const std::string& bytes) {
        std::filesystem::create_directories(folder_.Path() / L"Photos");
        std::filesystem::path path = folder_.Path() / L"Photos" / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // photo-deleter in a process of its own whose trash is dataHome/Trash: a process that
    // Wine starts takes the desktop's XDG_DATA_HOME (an existing Unix folder) from this
    // variable.
    std::unique_ptr<Program> StartDeleter(const wchar_t* how, const std::filesystem::path& photo,
                                          const std::string& dataHome) {
        SetEnvironmentVariableA("XDG_DATA_HOME", dataHome.c_str());
        auto deleter =
            std::make_unique<Program>(BuildFolder() / L"photo-deleter.exe",
                                      std::wstring(how) + L" \"" + photo.wstring() + L"\"");
        SetEnvironmentVariableA("XDG_DATA_HOME", nullptr);
        return deleter;
    }

    std::filesystem::path DataHome() {
        std::filesystem::create_directories(folder_.Path() / L"data");
        return folder_.Path() / L"data";
    }

    TempFolder folder_{L"vistrel-delete"};
};

} // namespace

TEST_F(PhotoFiles, DeleteMovesThePhotoToTheRecycleBin) {
    const auto photo = Photo(L"photo_001.bmp", "the shot");
    const std::string unixPhoto = UnixPath(photo);
    ASSERT_FALSE(unixPhoto.empty());
    const auto data = DataHome();
    auto deleter = StartDeleter(L"bin", photo, UnixPath(data));
    EXPECT_EQ(deleter->WaitExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(photo));
    // In the trash, with where it came from.
    EXPECT_EQ(Contents(data / L"Trash" / L"files" / L"photo_001.bmp"), "the shot");
    EXPECT_NE(Contents(data / L"Trash" / L"info" / L"photo_001.bmp.trashinfo")
                  .find("\nPath=" + unixPhoto + "\n"),
              std::string::npos);
}

TEST_F(PhotoFiles, ShiftDeleteRemovesThePhotoAtOnce) {
    const auto photo = Photo(L"photo_001.bmp", "the shot");
    const auto data = DataHome();
    auto deleter = StartDeleter(L"now", photo, UnixPath(data));
    EXPECT_EQ(deleter->WaitExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(photo));
    EXPECT_FALSE(std::filesystem::exists(data / L"Trash" / L"files" / L"photo_001.bmp"));
}

TEST_F(PhotoFiles, WithoutARecycleBinTheSystemAsksFirstAndNoKeepsThePhoto) {
    const auto photo = Photo(L"photo_001.bmp", "the shot");
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        // No trash folder can be made under a device: Wine has no recycle bin then.
        auto deleter = StartDeleter(L"bin", photo, "/dev/null/none");
        HWND question = deleter->FindTopWindow(L"#32770");
        ASSERT_NE(question, nullptr) << "the photo went without a question";
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(question) != FALSE; }));
        PostMessageW(GetDlgItem(question, answer), BM_CLICK, 0, 0);
        EXPECT_EQ(deleter->WaitExit(), answer == IDNO ? 1 : 0);
        EXPECT_EQ(std::filesystem::exists(photo), answer == IDNO);
    }
}

TEST_F(PhotoFiles, ADeleteThatFailsKeepsThePhotoAndSaysWhy) {
    const auto photo = Photo(L"photo_001.bmp", "the shot");
    const std::wstring path = photo.wstring();
    auto failure = [&](DWORD code) {
        return L"Cannot delete file \"" + path + L"\". " +
               vistrel::SystemErrorText(code, L"photo_001.bmp");
    };
    MessageBoxCatcher boxes; // neither the system's questions nor its error boxes
    // Held open by a viewer that does not share deleting.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (PhotoDeletion how : {PhotoDeletion::ToRecycleBin, PhotoDeletion::AtOnce})
        EXPECT_EQ(ErrorOf([&] { vistrel::DeletePhotoFile(nullptr, path, how); }),
                  failure(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    // Read-only: the user's protection holds against deleting at once.
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ErrorOf([&] { vistrel::DeletePhotoFile(nullptr, path, PhotoDeletion::AtOnce); }),
              failure(ERROR_ACCESS_DENIED));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Contents(photo), "the shot");
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(PhotoFiles, OpeningAPhotoThatIsGoneIsTheProgramsErrorNotTheSystemsChoice) {
    const std::wstring path = (folder_.Path() / L"gone.png").wstring();
    MessageBoxCatcher boxes;
    EXPECT_EQ(ErrorOf([&] { vistrel::OpenPhotoFile(nullptr, path); }),
              L"Cannot open file \"" + path + L"\". " +
                  vistrel::SystemErrorText(ERROR_FILE_NOT_FOUND, L"gone.png"));
    EXPECT_TRUE(boxes.Seen().empty());
}
