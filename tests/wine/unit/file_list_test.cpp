// The photo list: what it lists, in what order, and how its selection moves.

#include "base/error.h"
#include "base/win32/file_system.h"
#include "tests/wine/support/main_window_fixture.h"

using namespace testing_support;

namespace {

std::vector<std::wstring> Items(const vistrel::TFileListBox& list) {
    std::vector<std::wstring> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Item(i));
    return items;
}

} // namespace

class PhotoList : public MainWindowTest {
protected:
    int changes = 0;
    void CountChanges() {
        auto original = form_->PhotoList.OnChange;
        form_->PhotoList.OnChange = [this, original] {
            ++changes;
            original();
        };
    }
};

TEST_F(PhotoList, ListsPhotoFilesSortedWithoutRegardToCase) {
    std::filesystem::create_directories(Photos());
    for (const wchar_t* name : {L"b.JPG", L"A.bmp", L"c.PNG", L"c.gif", L"e.jpeg", L"d.jpg.txt",
                                L"Z.Bmp", L"readonly.bmp", L"hidden.jpg", L"system.png"})
        WriteFile(Photos() / name);
    std::filesystem::create_directories(Photos() / L"folder.jpg");
    SetFileAttributesW((Photos() / L"readonly.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((Photos() / L"hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((Photos() / L"system.png").c_str(), FILE_ATTRIBUTE_SYSTEM);

    CreateForm();
    std::vector<std::wstring> expected{L"A.bmp", L"b.JPG", L"c.PNG", L"readonly.bmp", L"Z.Bmp"};
    EXPECT_EQ(Items(form_->PhotoList), expected);
    EXPECT_EQ(form_->PhotoList.ItemIndex(), -1);
    EXPECT_EQ(form_->PhotoList.SelectedPath(), L"");
    // The list answers for its items like a list of strings.
    wchar_t text[64]{};
    EXPECT_EQ(
        SendMessageW(form_->PhotoList.Handle(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, L"b.JPG");
    EXPECT_EQ(SendMessageW(form_->PhotoList.Handle(), LB_GETCOUNT, 0, 0), 5);
    SetFileAttributesW((Photos() / L"readonly.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PhotoList, CreatesPhotosFolderBesideProgramAndListsIt) {
    CreateForm();
    EXPECT_TRUE(std::filesystem::is_directory(Photos()));
    EXPECT_EQ(form_->PhotoList.Folder(), Photos().wstring());
    EXPECT_EQ(form_->PhotoList.Count(), 0);
}

TEST_F(PhotoList, SelectByPathRereadAndUserMovesRunChangeHandler) {
    std::filesystem::create_directories(Photos());
    for (const wchar_t* name : {L"image_00001.jpg", L"image_00002.bmp", L"image_00003.jpg"})
        WriteFile(Photos() / name);
    CreateForm();
    CountChanges();
    auto& list = form_->PhotoList;

    // Letter case of the name does not matter.
    list.SelectByPath((Photos() / L"IMAGE_00002.BMP").wstring());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(list.SelectedPath(), (Photos() / L"image_00002.bmp").wstring());

    // A name that is not listed selects nothing, and still reports a change.
    list.SelectByPath((Photos() / L"image_00009.jpg").wstring());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list.ItemIndex(), -1);

    WriteFile(Photos() / L"image_00004.jpg");
    list.Reread();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ItemIndex(), -1);

    // The user's keys: Home selects the first item, Down the next one; each move runs
    // the handler once.
    SetFocus(list.Handle());
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(list.ItemIndex(), 0);
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(changes, 5);
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(changes, 6);
    // Choosing the item already selected changes nothing.
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(changes, 6);

    // Assigning the same folder (another letter case) does not re-read.
    std::wstring upper = Photos().wstring();
    CharUpperW(upper.data());
    list.AssignFolder(upper);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(list.ItemIndex(), 0);
}

TEST_F(PhotoList, TypingSelectsFirstItemStartingWithTypedText) {
    std::filesystem::create_directories(Photos());
    for (const wchar_t* name : {L"apple.jpg", L"banana.jpg", L"Berry.jpg", L"cherry.bmp"})
        WriteFile(Photos() / name);
    CreateForm();
    CountChanges();
    auto& list = form_->PhotoList;
    HWND h = list.Handle();
    SendMessageW(h, WM_CHAR, L'b', 0);
    EXPECT_EQ(list.Item(list.ItemIndex()), L"banana.jpg");
    SendMessageW(h, WM_CHAR, L'E', 0); // within 500 ms: "bE"
    EXPECT_EQ(list.Item(list.ItemIndex()), L"Berry.jpg");
    SendMessageW(h, WM_CHAR, L'\b', 0); // back to "b"
    EXPECT_EQ(list.Item(list.ItemIndex()), L"banana.jpg");
    SendMessageW(h, WM_CHAR, L'x', 0); // "bx": no item, selection stays
    EXPECT_EQ(list.Item(list.ItemIndex()), L"banana.jpg");
    EXPECT_EQ(changes, 3);
    // When a new search starts is the native TypeAhead tests' matter (time is given there).
}

TEST_F(PhotoList, ALargeListFilledFromTheLoopTakesEditsMadeMeanwhileInTheirPlaces) {
    std::filesystem::create_directories(Photos());
    for (int i = 0; i < 5000; ++i)
        WriteFile(Photos() / (L"p" + std::to_wstring(10000 + i) + L".bmp"));
    CreateForm();
    auto& list = form_->PhotoList;
    HWND box = list.Handle();
    list.Reread(); // the part in view now, the rest from the loop
    ASSERT_LT(SendMessageW(box, LB_GETCOUNT, 0, 0), 5000);
    list.Add(L"p10000a.bmp");   // among the items in the list box already
    list.Add(L"q.bmp");         // among those still to come
    list.Remove(L"p10500.bmp"); // in the list box
    list.Remove(L"p14000.bmp"); // still to come
    list.SelectByPath((Photos() / L"p12000.bmp").wstring()); // beyond, yet selected
    Pump();
    ASSERT_EQ(SendMessageW(box, LB_GETCOUNT, 0, 0), list.Count());
    EXPECT_EQ(list.Count(), 5000);
    wchar_t text[64];
    for (int i = 0; i < list.Count(); ++i) {
        SendMessageW(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        ASSERT_EQ(text, list.Item(i)) << i;
    }
    EXPECT_EQ(SendMessageW(box, LB_GETCURSEL, 0, 0), list.ItemIndex());
    EXPECT_EQ(list.Item(list.ItemIndex()), L"p12000.bmp");
}

TEST(FolderRead, AFolderThatFailsPartWayIsReportedWithItsReasonNotListedInPart) {
    TempFolder folder(L"vistrel-read");
    for (const wchar_t* name : {L"a.jpg", L"b.jpg"})
        WriteFile(folder.Path() / name);
    EXPECT_EQ(vistrel::ListPlainFiles(folder.Path().wstring()).size(), 2u);

    // The first batch arrives; the next read fails as a lost network folder does.
    static int calls;
    calls = 0;
    auto failing = [](HANDLE dir, HANDLE event, void* apc, void* context, void* io, void* buffer,
                      ULONG length, int cls, BOOLEAN single, void* mask, BOOLEAN restart) -> LONG {
        if (++calls > 1)
            return static_cast<LONG>(0xC0000185); // STATUS_IO_DEVICE_ERROR
        return vistrel::SystemQueryDirectory()(dir, event, apc, context, io, buffer, length, cls,
                                               single, mask, restart);
    };
    try {
        vistrel::ListPlainFiles(folder.Path().wstring(), failing);
        ADD_FAILURE() << "a partial list was given as whole";
    } catch (const vistrel::Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot read folder \"" + folder.Path().wstring() + L"\". " +
                                   vistrel::SystemErrorText(ERROR_IO_DEVICE));
    }
}
