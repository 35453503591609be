// Taking photos of the browser stand-in with the real program, as a user does.

#include "tests/wine/support/images.h"
#include "tests/wine/support/message_box.h"
#include "tests/wine/support/panel_driver.h"
#include "tools/standin/pattern.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace testing_support;

class Photo : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = InstallProgram(folder_.Path());
        std::filesystem::create_directories(Photos());
    }

    std::filesystem::path Photos() const { return folder_.Path() / L"Photos"; }

    void StartBrowser(const std::wstring& arguments = L"--view 808x608 --at 300,40") {
        browser_ = std::make_unique<Program>(BuildFolder() / L"aw-standin.exe", arguments);
        ASSERT_NE(browser_->FindShownWindow(L"alphaworld"), nullptr);
    }

    void WriteSettings(const std::string& text) {
        HANDLE h = CreateFileW((folder_.Path() / L"vistrel.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(h);
    }

    void StartProgram() {
        program_ = std::make_unique<Program>(exe_);
        panel_ = std::make_unique<PanelDriver>(*program_);
        ASSERT_TRUE(panel_->Found());
    }

    // Clicks the photo button and returns, once the program has handled the click, the
    // names that appeared in the Photos folder.
    std::vector<std::wstring> TakePhoto() {
        auto before = FilesIn(Photos());
        EXPECT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
        std::vector<std::wstring> names;
        for (auto& name : FilesIn(Photos()))
            if (std::find(before.begin(), before.end(), name) == before.end())
                names.push_back(name);
        return names;
    }

    void SetType(int index) { panel_->ChooseType(index); }
    void SetScale(const wchar_t* x, const wchar_t* y) { panel_->ResizeTo(x, y); }

    void TearDown() override {
        if (panel_ && program_->Running()) {
            panel_->Close();
            EXPECT_EQ(program_->WaitExit(10s), 0);
        }
    }

    TempFolder folder_{L"vistrel-photo"};
    std::filesystem::path exe_;
    std::unique_ptr<Program> browser_, program_;
    std::unique_ptr<PanelDriver> panel_;
    // Kept to the end, so that a box still coming does not keep the program from closing.
    std::unique_ptr<MessageBoxCatcher> boxes_;
};

TEST_F(Photo, BmpOfA808By608ViewIsTheViewsPicture800By600Exactly) {
    StartBrowser();
    StartProgram();
    SetType(0);
    auto added = TakePhoto();
    ASSERT_EQ(added, std::vector<std::wstring>{L"image_00001.bmp"});
    auto bytes = ReadAll(Photos() / added[0]);
    EXPECT_EQ(bytes.size(), 1920054u) << "54 + 800 * 600 * 4 on a 32-bit screen";
    int bpp = 0;
    RgbImage image = ReadBmp(bytes, &bpp);
    EXPECT_EQ(bpp, 32);
    ASSERT_EQ(image.width, 800);
    ASSERT_EQ(image.height, 600);
    EXPECT_EQ(PixelsOffPattern(image, 4, 4), 0);
    // The new photo is selected in the list and shown in the preview.
    EXPECT_EQ(panel_->SelectedItem(), L"image_00001.bmp");
    HWND preview = panel_->ByClass(L"TImage");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(IsWindowVisible(preview));
}

TEST_F(Photo, PngIsTheViewsPictureExactlyAndSharesTheNumbering) {
    StartBrowser();
    StartProgram();
    ASSERT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00001.jpg"});
    SetType(2);
    ASSERT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00002.png"});
    RgbImage image = ReadPng(ReadAll(Photos() / L"image_00002.png"));
    ASSERT_EQ(image.width, 800);
    ASSERT_EQ(image.height, 600);
    EXPECT_EQ(PixelsOffPattern(image, 4, 4), 0);
    EXPECT_EQ(panel_->SelectedItem(), L"image_00002.png");
    // A deleted JPEG's number goes to the next photo, whatever its type.
    ASSERT_TRUE(DeleteFileW((Photos() / L"image_00001.jpg").c_str()));
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00001.png"});
    SetType(0);
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00003.bmp"});
}

TEST_F(Photo, AViewPartlyOffTheScreenKeepsItsVisiblePartAndIsBlackBeyondTheEdge) {
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    StartProgram();
    SetType(0);
    // Past the left and top edges, then past the right and bottom ones; the 800 by 600
    // photo starts 4 pixels inside the view.
    const struct {
        POINT at;
        int visible;
    } places[] = {{{screen.left - 100, screen.top - 50}, 704 * 554},
                  {{screen.right - 500, screen.bottom - 300}, 496 * 296}};
    for (const auto& [at, visible] : places) {
        StartBrowser(L"--view 808x608 --at " + std::to_wstring(at.x) + L"," +
                     std::to_wstring(at.y));
        auto added = TakePhoto();
        ASSERT_EQ(added.size(), 1u);
        RgbImage image = ReadBmp(ReadAll(Photos() / added[0]));
        ASSERT_EQ(image.width, 800);
        ASSERT_EQ(image.height, 600);
        int onScreen = 0, offPattern = 0, notBlack = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const POINT p{at.x + 4 + x, at.y + 4 + y};
                const uint8_t* got = image.At(x, y);
                if (PtInRect(&screen, p)) {
                    ++onScreen;
                    standin::Rgb c = standin::PatternPixel(x + 4, y + 4);
                    offPattern += got[0] != c.r || got[1] != c.g || got[2] != c.b;
                } else {
                    notBlack += got[0] || got[1] || got[2];
                }
            }
        EXPECT_EQ(onScreen, visible) << at.x << "," << at.y;
        EXPECT_EQ(offPattern, 0) << at.x << "," << at.y;
        EXPECT_EQ(notBlack, 0) << at.x << "," << at.y;
        browser_.reset();
        ASSERT_TRUE(WaitFor([] { return !FindWindowW(L"alphaworld", nullptr); }));
    }
}

TEST_F(Photo, JpegMatchesTheViewWithinASmallErrorAndNumbersFollowOn) {
    StartBrowser();
    StartProgram();
    ASSERT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00001.jpg"});
    RgbImage image = ReadJpeg(ReadAll(Photos() / L"image_00001.jpg"));
    ASSERT_EQ(image.width, 800);
    ASSERT_EQ(image.height, 600);
    EXPECT_LT(MeanErrorAgainstPattern(image, 4, 4), 3.0);

    // JPEG and BMP share one numbering.
    SetType(0);
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00002.bmp"});
    SetType(1);
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00003.jpg"});
    EXPECT_EQ(panel_->SelectedItem(), L"image_00003.jpg");
    EXPECT_EQ(panel_->ListCount(), 3);
    // Nothing else is left in the folder (no temporary files).
    EXPECT_EQ(FilesIn(Photos()).size(), 3u);
}

TEST_F(Photo, FillsTheFirstGapAndNeverReplacesAFile) {
    for (const wchar_t* name : {L"image_00001.bmp", L"image_00003.jpg"}) {
        HANDLE h = CreateFileW((Photos() / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                               nullptr);
        DWORD written;
        WriteFile(h, "keep", 4, &written, nullptr);
        CloseHandle(h);
    }
    StartBrowser();
    StartProgram();
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00002.jpg"});
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00004.jpg"});
    EXPECT_EQ(ReadAll(Photos() / L"image_00001.bmp").size(), 4u);
    EXPECT_EQ(ReadAll(Photos() / L"image_00003.jpg").size(), 4u);
}

TEST_F(Photo, NamesFollowTheDiskAsItIsAtTheClick) {
    StartBrowser();
    StartProgram();
    ASSERT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00001.jpg"});
    ASSERT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00002.jpg"});
    // Removed in a file manager: the gap is filled at the next click.
    ASSERT_TRUE(DeleteFileW((Photos() / L"image_00001.jpg").c_str()));
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00001.jpg"});
    // Added there: their numbers are taken, and the list shows them.
    for (const wchar_t* name : {L"image_00003.bmp", L"image_00004.jpg"})
        CloseHandle(CreateFileW((Photos() / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                nullptr));
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00005.jpg"});
    EXPECT_EQ(panel_->ListCount(), 5);
}

TEST_F(Photo, KeepingProportionsThePhotoIsThePercentageOfTheViewAsItIsAtThePhoto) {
    StartBrowser();
    StartProgram();
    SetType(0);
    SendMessageW(panel_->ScaleBox(), BM_CLICK, 0, 0); // proportional sizing is on
    panel_->SetPercent(50);
    ASSERT_EQ(TakePhoto().size(), 1u);
    RgbImage half = ReadBmp(ReadAll(Photos() / L"image_00001.bmp"));
    EXPECT_EQ(half.width, 400);
    EXPECT_EQ(half.height, 300);
    // The browser's view changes its shape: the next photo follows it, undistorted.
    browser_.reset();
    StartBrowser(L"--view 1008x508 --at 300,40");
    ASSERT_EQ(TakePhoto().size(), 1u);
    RgbImage wide = ReadBmp(ReadAll(Photos() / L"image_00002.bmp"));
    EXPECT_EQ(wide.width, 500);
    EXPECT_EQ(wide.height, 250);
    EXPECT_EQ(WindowText(panel_->WidthBox()), L"500") << "the boxes show it";
    EXPECT_EQ(WindowText(panel_->HeightBox()), L"250");
}

TEST_F(Photo, ResizesToTypedSizeAndKeepsCapturedSizeWhenABoxIsNotANumber) {
    StartBrowser();
    StartProgram();
    SetType(0);
    SetScale(L"320", L"abc");
    ASSERT_EQ(TakePhoto().size(), 1u);
    RgbImage kept = ReadBmp(ReadAll(Photos() / L"image_00001.bmp"));
    EXPECT_EQ(kept.width, 800);
    EXPECT_EQ(kept.height, 600);

    SetScale(L"320", L"240");
    ASSERT_EQ(TakePhoto().size(), 1u);
    RgbImage small = ReadBmp(ReadAll(Photos() / L"image_00002.bmp"));
    EXPECT_EQ(small.width, 320);
    EXPECT_EQ(small.height, 240);

    // Any aspect ratio, and a negative size is refused like a failed resize.
    SetScale(L"$64", L" 500");
    ASSERT_EQ(TakePhoto().size(), 1u);
    RgbImage tall = ReadBmp(ReadAll(Photos() / L"image_00003.bmp"));
    EXPECT_EQ(tall.width, 100);
    EXPECT_EQ(tall.height, 500);
    SetScale(L"-320", L"240");
    ASSERT_EQ(TakePhoto().size(), 1u);
    EXPECT_EQ(ReadBmp(ReadAll(Photos() / L"image_00004.bmp")).width, 800);
    SetScale(L"100000", L"100000");
    ASSERT_EQ(TakePhoto().size(), 1u);
    EXPECT_EQ(ReadBmp(ReadAll(Photos() / L"image_00005.bmp")).width, 800);
}

TEST_F(Photo, WithoutBrowserOrWithoutItsViewNothingHappens) {
    StartProgram();
    MessageBoxCatcher boxes(program_->Id());
    EXPECT_TRUE(TakePhoto().empty());
    StartBrowser(L"--no-view");
    EXPECT_TRUE(TakePhoto().empty());
    EXPECT_TRUE(IsWindowVisible(panel_->Main()));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Photo, EmptyPhotosAreNotWrittenAndTheErrorBoxSaysWhy) {
    StartBrowser(L"--view 8x608 --at 300,40");
    StartProgram();
    MessageBoxCatcher boxes(program_->Id());
    EXPECT_TRUE(TakePhoto().empty());
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find(L"empty"), std::wstring::npos) << boxes.Seen()[0].text;
    EXPECT_NE(boxes.Seen()[0].text.find(L"0 by 600"), std::wstring::npos) << boxes.Seen()[0].text;
    browser_.reset();

    StartBrowser();
    SetScale(L"0", L"240");
    EXPECT_TRUE(TakePhoto().empty());
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_NE(boxes.Seen()[1].text.find(L"0 by 240"), std::wstring::npos) << boxes.Seen()[1].text;
    EXPECT_TRUE(IsWindowVisible(panel_->Main()));
}

TEST_F(Photo, WithNoTypeSelectedPhotosAreJpeg) {
    WriteSettings("[photo]\ntype=7\n");
    StartBrowser();
    StartProgram();
    EXPECT_EQ(SendMessageW(panel_->TypeBox(), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"image_00001.jpg"});
}

TEST_F(Photo, ATemplateNamingAFileOutsideThePhotosFolderIsRefusedAndWritesNothing) {
    WriteSettings("[photo]\nname=..\\esc_%.3d\n");
    StartBrowser();
    StartProgram();
    boxes_ = std::make_unique<MessageBoxCatcher>(program_->Id());
    MessageBoxCatcher& boxes = *boxes_;
    // Three clicks at once: the two behind the first are queued while it is taken; they
    // would fail the same way, and are dropped with it, not kept for a later click.
    HWND button = panel_->PhotoButton();
    for (int i = 0; i < 3; ++i)
        panel_->Click(button);
    ASSERT_TRUE(boxes.WaitForCount(1));
    panel_->Idle();
    EXPECT_TRUE(IsWindowVisible(panel_->Main()));
    // Every photo the clicks could still cause has come by the time the program has closed.
    panel_->Close();
    EXPECT_EQ(program_->WaitExit(10s), 0);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              L"Format '..\\esc_%.3d' names a file outside the Photos folder.");
    // Nothing in the Photos folder, nor beside the program.
    EXPECT_TRUE(FilesIn(Photos()).empty());
    EXPECT_EQ(FilesIn(folder_.Path()),
              (std::vector<std::wstring>{L"Photos", L"vistrel.exe", L"vistrel.ini"}));
}

TEST_F(Photo, ATemplateWithoutANumberStopsWithAnErrorOnceItsNameIsTaken) {
    WriteSettings("[photo]\nname=photo\n");
    StartBrowser();
    StartProgram();
    EXPECT_EQ(TakePhoto(), std::vector<std::wstring>{L"photo.jpg"});
    MessageBoxCatcher boxes(program_->Id());
    EXPECT_TRUE(TakePhoto().empty());
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find(L"\"photo\""), std::wstring::npos) << boxes.Seen()[0].text;
    EXPECT_EQ(FilesIn(Photos()), std::vector<std::wstring>{L"photo.jpg"});
}
