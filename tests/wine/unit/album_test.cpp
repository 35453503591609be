// The album in the running window: previews of the selected photo, and deletion.

#include "album/fit.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "capture/png_file.h"
#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/message_box.h"

#include <atomic>
#include <thread>

using namespace testing_support;
using vistrel::PixelBuffer;

namespace {

PixelBuffer Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    PixelBuffer p(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* px = p.Row(y) + 4 * x;
            px[0] = b, px[1] = g, px[2] = r, px[3] = 0;
        }
    return p;
}

void WriteBmp(const std::filesystem::path& path, const PixelBuffer& p) {
    auto bytes = vistrel::BmpFileHeaders(p.View());
    bytes.insert(bytes.end(), p.bits.begin(), p.bits.end());
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

void WritePng(const std::filesystem::path& path, const PixelBuffer& p) {
    auto bytes = vistrel::EncodePng(p.View());
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

void WriteJpeg(const std::filesystem::path& path, const PixelBuffer& p) {
    auto bytes = vistrel::EncodeJpeg(p.View(), 95);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, pt.x, pt.y);
    ReleaseDC(nullptr, screen);
    return c;
}

bool Near(COLORREF c, int r, int g, int b, int tolerance) {
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

// Whether the screen shows the colour there: what was drawn reaches the X server a moment
// later, so it is waited for.
bool Shows(HWND hwnd, int x, int y, int r, int g, int b, int tolerance = 6) {
    return WaitFor([&] { return Near(ScreenPixel(hwnd, x, y), r, g, b, tolerance); }, 3s);
}

} // namespace

class Album : public MainWindowTest {
protected:
    void Select(const wchar_t* name) {
        form_->PhotoList.SelectByPath((Photos() / name).wstring());
        RedrawWindow(form_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        GdiFlush();
    }
    vistrel::Box Fit(int w, int h) {
        RECT r;
        GetClientRect(form_->Preview.Handle(), &r);
        return vistrel::FitPicture(w, h, r.right, r.bottom);
    }
    // Paints the preview a few more times, as covering and uncovering it would.
    void PaintPhotoAgain() {
        for (int i = 0; i < 3; ++i) {
            InvalidateRect(form_->Preview.Handle(), nullptr, FALSE);
            UpdateWindow(form_->Preview.Handle());
            Pump();
        }
    }
};

TEST_F(Album, SelectingABmpShowsItFittedAndCentredOnTheBlackPanel) {
    std::filesystem::create_directories(Photos());
    WriteBmp(Photos() / L"red.bmp", Solid(640, 480, 255, 0, 0));
    CreateForm();
    Select(L"red.bmp");
    ASSERT_TRUE(form_->Preview.Visible());
    HWND photo = form_->Preview.Handle();
    vistrel::Box fit = Fit(640, 480);
    ASSERT_GT(fit.width, 100);
    EXPECT_TRUE(Shows(photo, fit.left + fit.width / 2, fit.top + fit.height / 2, 255, 0, 0));
    EXPECT_TRUE(Shows(photo, fit.left, fit.top, 255, 0, 0));
    EXPECT_TRUE(Shows(photo, fit.right() - 1, fit.bottom() - 1, 255, 0, 0));
    if (fit.left > 0) {
        EXPECT_TRUE(Shows(photo, fit.left - 1, fit.top + 2, 0, 0, 0, 0))
            << "nothing painted beside the picture";
    }
}

TEST_F(Album, SelectingAJpegShowsItAndATallOneGetsBlackSides) {
    std::filesystem::create_directories(Photos());
    WriteJpeg(Photos() / L"blue.jpg", Solid(480, 640, 0, 0, 255));
    CreateForm();
    Select(L"blue.jpg");
    ASSERT_TRUE(form_->Preview.Visible());
    HWND photo = form_->Preview.Handle();
    vistrel::Box fit = Fit(480, 640);
    EXPECT_TRUE(Shows(photo, fit.left + fit.width / 2, fit.top + 20, 0, 0, 255));
    EXPECT_TRUE(Shows(photo, fit.left / 2, 3, 0, 0, 0, 0));
}

TEST_F(Album, APngIsShownFittedAndABrokenOneIsToldOnce) {
    std::filesystem::create_directories(Photos());
    WritePng(Photos() / L"green.png", Solid(1920, 1080, 0, 200, 0));
    PixelBuffer p = Solid(64, 48, 0, 0, 200);
    auto bytes = vistrel::EncodePng(p.View());
    bytes[bytes.size() - 20] ^= 0x55; // in the pixel data: its checksum no longer holds
    WriteFile(Photos() / L"broken.png", std::string(bytes.begin(), bytes.end()));
    CreateForm();
    EXPECT_EQ(form_->PhotoList.Count(), 2);
    Select(L"green.png");
    ASSERT_TRUE(form_->Preview.Visible());
    vistrel::Box fit = Fit(1920, 1080);
    EXPECT_TRUE(Shows(form_->Preview.Handle(), fit.left + fit.width / 2, fit.top + fit.height / 2,
                      0, 200, 0));
    MessageBoxCatcher boxes;
    Select(L"broken.png");
    PaintPhotoAgain();
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.rfind(L"PNG image is not valid (", 0), 0u) << seen[0].text;
}

TEST_F(Album, FilesThatCannotBeLoadedShowNoPreviewAndNoMessage) {
    std::filesystem::create_directories(Photos());
    WriteFile(Photos() / L"text.jpg", "not a picture");
    WriteFile(Photos() / L"text.bmp", "not a picture either");
    WriteFile(Photos() / L"empty.bmp");
    CreateForm();
    MessageBoxCatcher boxes;
    Select(L"text.jpg");
    EXPECT_FALSE(form_->Preview.Visible());
    Select(L"text.bmp");
    EXPECT_FALSE(form_->Preview.Visible());
    // A 0-byte BMP is an empty picture: shown, drawing nothing over the black panel.
    Select(L"empty.bmp");
    EXPECT_TRUE(form_->Preview.Visible());
    EXPECT_TRUE(Shows(form_->Preview.Handle(), 3, 3, 0, 0, 0, 0));
    // A file gone since the list was read.
    std::filesystem::remove(Photos() / L"text.jpg");
    Select(L"text.jpg");
    EXPECT_FALSE(form_->Preview.Visible());
    Pump();
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Album, DataTheLibraryRejectsIsReportedOnceAfterTheFirstPaint) {
    std::filesystem::create_directories(Photos());
    WriteFile(Photos() / L"empty.jpg");
    CreateForm();
    MessageBoxCatcher boxes;
    Select(L"empty.jpg");
    EXPECT_TRUE(form_->Preview.Visible()) << "an empty .jpg loads";
    ASSERT_TRUE(boxes.WaitForCount(1));
    PaintPhotoAgain(); // does not report again
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"JPEG error #42.");
    EXPECT_EQ(seen[0].caption, L"Vistrel");
}

TEST_F(Album, DamageAfterTheRowsShownIsReportedOnce) {
    // Headers and the start of the data are sound; an unknown marker comes later.
    std::filesystem::create_directories(Photos());
    PixelBuffer p = Solid(1200, 900, 0, 128, 0);
    auto bytes = vistrel::EncodeJpeg(p.View(), 90);
    bytes[bytes.size() * 2 / 3] = 0xFF;
    bytes[bytes.size() * 2 / 3 + 1] = 0x8E;
    WriteFile(Photos() / L"damaged.jpg", std::string(bytes.begin(), bytes.end()));
    CreateForm();
    MessageBoxCatcher boxes;
    Select(L"damaged.jpg");
    PaintPhotoAgain();
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"JPEG error #68.");
}

TEST_F(Album, DeleteMovesThePhotoToTheBinShiftDeleteDeletesItAndTheListStaysWhereItWas) {
    std::filesystem::create_directories(Photos());
    for (int i = 1; i <= 300; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"p%03d.bmp", i);
        WriteBmp(Photos() / name, Solid(10, 10, 1, 2, 3));
    }
    CreateForm();
    HWND list = form_->PhotoList.Handle();
    SendMessageW(list, LB_SETTOPINDEX, 150, 0);
    Select(L"p160.bmp");
    ASSERT_TRUE(form_->Preview.Visible());
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    EXPECT_FALSE(std::filesystem::exists(Photos() / L"p160.bmp"));
    // Kept in the desktop's trash, which a program takes from its environment under Wine.
    wchar_t dataHome[MAX_PATH]{};
    if (GetEnvironmentVariableW(L"XDG_DATA_HOME", dataHome, MAX_PATH)) {
        std::filesystem::path trash =
            std::filesystem::path(L"Z:" + std::wstring(dataHome)) / L"Trash" / L"files";
        EXPECT_TRUE(std::filesystem::exists(trash / L"p160.bmp")) << trash;
    }
    EXPECT_EQ(form_->PhotoList.Count(), 299);
    EXPECT_EQ(form_->PhotoList.ItemIndex(), -1);
    EXPECT_FALSE(form_->Preview.Visible());
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 150) << "the list stays where it was";

    // With Shift held, deleted at once, as in a file manager.
    Select(L"p170.bmp");
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
    SetKeyboardState(keys);
    Pump();
    EXPECT_FALSE(std::filesystem::exists(Photos() / L"p170.bmp"));
    if (dataHome[0]) {
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(L"Z:" + std::wstring(dataHome)) /
                                             L"Trash" / L"files" / L"p170.bmp"));
    }
    EXPECT_EQ(form_->PhotoList.Count(), 298);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 150);
    // Nothing selected: Delete does nothing.
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    EXPECT_EQ(form_->PhotoList.Count(), 298);
}

TEST_F(Album, ContextMenuOffersDeletionForAnExistingSelectedPhotoUntilTheNextPopupOverTheList) {
    std::filesystem::create_directories(Photos());
    WriteBmp(Photos() / L"a.bmp", Solid(10, 10, 1, 2, 3));
    CreateForm();
    auto& f = *form_;
    f.OnListContextPopup();
    EXPECT_FALSE(f.DeleteItem.Visible);
    EXPECT_FALSE(f.AboutSeparator.Visible);

    Select(L"a.bmp");
    f.OnListContextPopup();
    EXPECT_TRUE(f.DeleteItem.Visible);
    EXPECT_TRUE(f.AboutSeparator.Visible);

    // The selected file vanishes; the entries stay until the menu opens over the list.
    std::filesystem::remove(Photos() / L"a.bmp");
    EXPECT_TRUE(f.DeleteItem.Visible);
    f.OnListContextPopup();
    EXPECT_FALSE(f.DeleteItem.Visible);

    // Deleting through the menu entry hides the entries again.
    WriteBmp(Photos() / L"b.bmp", Solid(10, 10, 1, 2, 3));
    f.PhotoList.Reread();
    Select(L"b.bmp");
    f.OnListContextPopup();
    EXPECT_TRUE(f.DeleteItem.Visible);
    f.OnDeleteClick();
    EXPECT_FALSE(std::filesystem::exists(Photos() / L"b.bmp"));
    EXPECT_FALSE(f.DeleteItem.Visible);
    EXPECT_FALSE(f.AboutSeparator.Visible);

    // A right-click on another photo selects it: the menu it opens deletes that one.
    WriteBmp(Photos() / L"c.bmp", Solid(10, 10, 1, 2, 3));
    WriteBmp(Photos() / L"d.bmp", Solid(10, 10, 1, 2, 3));
    f.PhotoList.Reread();
    Select(L"d.bmp");
    RECT c{};
    SendMessageW(f.PhotoList.Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&c));
    SendMessageW(f.PhotoList.Handle(), WM_RBUTTONDOWN, MK_RBUTTON,
                 MAKELPARAM(c.left + 4, c.bottom - 1));
    f.OnListContextPopup();
    f.OnDeleteClick();
    EXPECT_FALSE(std::filesystem::exists(Photos() / L"c.bmp"));
    EXPECT_TRUE(std::filesystem::exists(Photos() / L"d.bmp"));
}

TEST_F(Album, APhotoThatCannotBeDeletedStaysListedAndTheBoxSaysWhy) {
    std::filesystem::create_directories(Photos());
    WriteBmp(Photos() / L"held.bmp", Solid(10, 10, 1, 2, 3));
    CreateForm();
    Select(L"held.bmp");
    // Held open without delete sharing by another program.
    HANDLE held = CreateFileW((Photos() / L"held.bmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    MessageBoxCatcher boxes;
    SendMessageW(form_->PhotoList.Handle(), WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    CloseHandle(held);
    EXPECT_TRUE(std::filesystem::exists(Photos() / L"held.bmp"));
    EXPECT_EQ(form_->PhotoList.Count(), 1);
    EXPECT_TRUE(form_->Preview.Visible()) << "still shown";
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text.rfind(
                  L"Cannot delete file \"" + (Photos() / L"held.bmp").wstring() + L"\". ", 0),
              0u)
        << boxes.Seen()[0].text;
}
