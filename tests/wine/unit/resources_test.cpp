// Taking and previewing many photos leaves no GDI object or handle behind.

#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/resource_counts.h"

using namespace testing_support;

class Resources : public MainWindowTest {};

constexpr int kPhotos = 500;

TEST_F(Resources, FiveHundredPhotosAndPreviewsLeaveTheCountsWhereTheyWere) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 168x128 --at 300,40");
    ASSERT_NE(browser.FindShownWindow(L"alphaworld"), nullptr);
    // An album long enough for the list's scroll bar from the start.
    std::filesystem::create_directories(Photos());
    for (int i = 1; i <= 100; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"image_%05d.bmp", i); // empty: a picture that draws nothing
        WriteFile(Photos() / name);
    }
    CreateForm();
    auto& f = *form_;
    // Once each way first, so that what is made once on first use (caches, the sound
    // library, the quality slider drawn disabled and enabled again) is there before counting.
    ASSERT_TRUE(TakePhoto());
    UserChoose(f.TypeBox, 0);
    ASSERT_TRUE(TakePhoto());
    UserChoose(f.TypeBox, 1);
    ASSERT_TRUE(TakePhoto());
    UpdateWindow(f.Preview.Handle());
    // ...and the list scrolled to both ends, which its scroll bar draws once each.
    for (int item : {0, f.PhotoList.Count() - 1, f.PhotoList.Count() - 2}) {
        f.PhotoList.SelectByPath((Photos() / f.PhotoList.Item(item)).wstring());
        Pump();
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    UpdateWindow(f.Handle());
    Pump();
    const int gdi = GdiObjectCount(), handles = KernelHandleCount();
    ASSERT_GT(gdi, 0);
    ASSERT_GT(handles, 0);

    for (int i = 0; i < kPhotos; ++i) {
        // Alternate BMP and JPEG; each photo is selected and previewed by the handler.
        UserChoose(f.TypeBox, i % 2);
        ASSERT_TRUE(TakePhoto());
        UpdateWindow(f.Preview.Handle());
    }
    Pump();
    EXPECT_EQ(f.PhotoList.Count(), 103 + kPhotos);

    // 500 more previews, walking back through the album.
    for (int i = 0; i < kPhotos; ++i) {
        f.PhotoList.SelectByPath(
            (Photos() / f.PhotoList.Item(f.PhotoList.Count() - 1 - i)).wstring());
        UpdateWindow(f.Preview.Handle());
    }
    Pump();
    EXPECT_TRUE(f.Preview.Visible());
    EXPECT_EQ(GdiObjectCount(), gdi);
    // Wine's own threads open and close a handle now and then: a leak would be hundreds.
    EXPECT_NEAR(KernelHandleCount(), handles, 2);
}
