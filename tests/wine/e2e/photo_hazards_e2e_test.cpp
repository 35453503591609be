// Everyday situations on a desktop in which a photo could go wrong: the browser
// minimised, another program's window over the view, another program holding the new file,
// the Photos folder removed.

#include "tests/wine/support/images.h"
#include "tests/wine/support/message_box.h"
#include "tests/wine/support/panel_driver.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;
namespace fs = std::filesystem;

class PhotoHazards : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = InstallProgram(folder_.Path());
        fs::create_directories(Photos());
        browser_ = std::make_unique<Program>(BuildFolder() / L"aw-standin.exe",
                                             L"--view 808x608 --at 300,40");
        ASSERT_NE(browser_->FindShownWindow(L"alphaworld"), nullptr);
        program_ = std::make_unique<Program>(exe_);
        panel_ = std::make_unique<PanelDriver>(*program_);
        ASSERT_TRUE(panel_->Found());
        panel_->ChooseType(0); // BMP: compared exactly
        boxes_ = std::make_unique<MessageBoxCatcher>(program_->Id());
    }
    void TearDown() override {
        if (panel_ && program_->Running()) {
            panel_->Close();
            EXPECT_EQ(program_->WaitExit(10s), 0);
        }
    }
    fs::path Photos() const { return folder_.Path() / L"Photos"; }
    // Whether the BMP is the stand-in's view, pixel for pixel.
    bool IsTheView(const fs::path& bmp) {
        RgbImage image = ReadBmp(ReadAll(bmp));
        return image.width == 800 && image.height == 600 && PixelsOffPattern(image, 4, 4) == 0;
    }

    TempFolder folder_{L"vistrel-hazards"};
    fs::path exe_;
    std::unique_ptr<Program> browser_, program_;
    std::unique_ptr<PanelDriver> panel_;
    std::unique_ptr<MessageBoxCatcher> boxes_;
};

TEST_F(PhotoHazards, AMinimisedBrowserIsRestoredAndItsViewTaken) {
    HWND browser = browser_->FindShownWindow(L"alphaworld");
    SendMessageW(browser, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(browser));
    ASSERT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
    ASSERT_EQ(FilesIn(Photos()), std::vector<std::wstring>{L"image_00001.bmp"});
    EXPECT_TRUE(IsTheView(Photos() / L"image_00001.bmp"));
    EXPECT_FALSE(IsIconic(browser)) << "the browser stays restored";
    EXPECT_TRUE(boxes_->Seen().empty());
}

TEST_F(PhotoHazards, AnotherProgramsWindowOverTheViewIsNeverInThePhoto) {
    Program cover(BuildFolder() / L"cover-window.exe", L"450 150 200 150");
    HWND window = cover.FindShownWindow(L"CoverWindow");
    ASSERT_NE(window, nullptr);
    auto coverShows = [] {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, 550, 225);
        ReleaseDC(nullptr, screen);
        return c == RGB(255, 0, 255);
    };
    for (int i = 1; i <= 10; ++i) {
        SCOPED_TRACE(testing::Message() << "photo " << i);
        // Back over the view before each photo: the user worked in it meanwhile.
        PostMessageW(window, WM_APP, 0, 0);
        ASSERT_TRUE(WaitFor(coverShows));
        ASSERT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
        wchar_t name[32];
        swprintf(name, 32, L"image_%05d.bmp", i);
        ASSERT_TRUE(IsTheView(Photos() / name));
    }
    EXPECT_TRUE(boxes_->Seen().empty());
}

TEST_F(PhotoHazards, AProgramThatHoldsTheNewFileCannotCostThePhoto) {
    for (int hold : {400, 3000}) {
        SCOPED_TRACE(testing::Message() << "held for " << hold << " ms");
        Program holder(BuildFolder() / L"file-holder.exe",
                       L"\"" + Photos().wstring() + L"\" " + std::to_wstring(hold));
        auto before = FilesIn(Photos());
        ASSERT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
        holder.Kill(); // a holder that got nothing waits for ever
        auto after = FilesIn(Photos());
        ASSERT_EQ(after.size(), before.size() + 1) << "one whole photo, nothing else";
        EXPECT_TRUE(IsTheView(Photos() / after.back()));
        EXPECT_TRUE(boxes_->Seen().empty());
    }
}

TEST_F(PhotoHazards, ARemovedPhotosFolderIsMadeAgain) {
    ASSERT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
    ASSERT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
    ASSERT_EQ(panel_->ListCount(), 2);
    // The user clears the album in a file manager.
    fs::remove_all(Photos());
    ASSERT_TRUE(panel_->ClickAndWait(panel_->PhotoButton()));
    EXPECT_EQ(FilesIn(Photos()), std::vector<std::wstring>{L"image_00001.bmp"});
    EXPECT_EQ(panel_->ListCount(), 1);
    EXPECT_EQ(panel_->SelectedItem(), L"image_00001.bmp");
    EXPECT_TRUE(boxes_->Seen().empty());
}
