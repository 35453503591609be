// The panel on a screen of 96, 144 or 192 DPI, as run-at-scales runs this program once for
// each (VISTREL_TEST_DPI tells which): its measures grow with the scale, its captions fit,
// its photos and stored geometry stay in physical pixels.

#include "tests/wine/support/images.h"
#include "tests/wine/support/main_window_fixture.h"
#include "ui/layout.h"
#include "ui/win32/fonts.h"

#include <cstdlib>

using namespace testing_support;
using vistrel::ScaleForDpi;
using vistrel::TControl;

namespace {

int ExpectedDpi() {
    const char* dpi = std::getenv("VISTREL_TEST_DPI");
    return dpi ? std::atoi(dpi) : 96;
}

int TextWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

} // namespace

class Scales : public MainWindowTest {
protected:
    int dpi = ExpectedDpi();
    int S(int v) const { return ScaleForDpi(v, dpi); }
};

TEST_F(Scales, EveryMeasureOfThePanelGrowsWithTheScreensScale) {
    CreateForm();
    auto& f = *form_;
    ASSERT_EQ(f.Dpi(), dpi) << "the prefix's LogPixels";
    RECT w = WindowRect(f.Handle());
    EXPECT_EQ(w.right - w.left, S(218)) << "the default width";
    ExpectLaidOutFor(f, dpi);
    // The font is 11 pixels at 96 DPI, scaled, unless no face with Cyrillic letters fits at
    // 11 here.
    EXPECT_GE(vistrel::UiFontHeight(), 10)
        << std::string(vistrel::UiFontFace().begin(), vistrel::UiFontFace().end());
    int cx = 0, cy = 0;
    ImageList_GetIconSize(f.TabIcons(), &cx, &cy);
    EXPECT_EQ(cx, S(16));

    // A picture of each scale for people to look at.
    SaveScreenBmp(w, ArtifactFolder() / (L"panel-" + std::to_wstring(dpi) + L".bmp"));
}

TEST_F(Scales, NoCaptionIsCutOffOrRunsIntoItsNeighbour) {
    CreateForm();
    auto& f = *form_;
    // Check boxes: the box, a gap, the caption.
    const int box = GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi)) + S(4);
    for (TControl* c :
         {static_cast<TControl*>(&f.ResizeBox), static_cast<TControl*>(&f.ProportionalBox)}) {
        RECT r = ClientRectOf(c->Handle());
        EXPECT_LE(box + TextWidth(c->Handle(), c->Text()), r.right) << ClassName(c->Handle());
    }
    RECT button = ClientRectOf(f.PhotoButton.Handle());
    EXPECT_LE(TextWidth(f.PhotoButton.Handle(), f.PhotoButton.Text()) + S(8), button.right);
    // Labels show their whole text and touch no other control of the panel.
    f.QualitySlider.SetPosition(100);
    f.PercentSlider.SetPosition(100); // "100%", the widest
    Pump();
    std::vector<HWND> others;
    for (HWND h = GetWindow(f.OptionsPanel.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        others.push_back(h);
    for (TControl* label : {&f.TypeLabel, &f.QualityLabel, &f.QualityNumber, &f.WidthLabel,
                            &f.HeightLabel, &f.PercentNumber}) {
        RECT r = InParent(label->Handle());
        EXPECT_GE(r.right - r.left, TextWidth(label->Handle(), label->Text()));
        for (HWND other : others) {
            RECT o = InParent(other), both;
            if (other != label->Handle() && IntersectRect(&both, &r, &o))
                ADD_FAILURE() << "\"" << std::string(label->Text().begin(), label->Text().end())
                              << "\" runs into a "
                              << std::string(ClassName(other).begin(), ClassName(other).end());
        }
    }
    // The about box's lines of text and links start at one left edge.
    HWND about = f.About.Handle();
    const int left = InParent(GetDlgItem(about, 102)).left;
    EXPECT_EQ(InParent(GetDlgItem(about, 103)).left + 1, left) << "a pixel for the focus frame";
    EXPECT_EQ(InParent(GetDlgItem(about, 104)).left + 1, left);
    for (int id : {103, 104})
        EXPECT_GE(InParent(GetDlgItem(about, id)).right - InParent(GetDlgItem(about, id)).left,
                  TextWidth(GetDlgItem(about, id), WindowText(GetDlgItem(about, id))));
    // The longest hint fits the status bar beside its size grip.
    RECT bar = ClientRectOf(f.StatusBar.Handle());
    EXPECT_LE(TextWidth(f.StatusBar.Handle(), f.QualitySlider.Hint) + S(4),
              bar.right - GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi)));
}

TEST_F(Scales, PhotosAndStoredGeometryStayInPhysicalPixels) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 808x608 --at 700,40");
    ASSERT_NE(browser.FindShownWindow(L"alphaworld"), nullptr);
    std::filesystem::create_directories(Photos());
    WriteFile(folder_->Path() / L"vistrel.ini", "[photo]\ntype=0\n");
    CreateForm();
    ASSERT_TRUE(TakePhoto());
    RgbImage image = ReadBmp(ReadAll(Photos() / L"image_00001.bmp"));
    ASSERT_EQ(image.width, 800);
    ASSERT_EQ(image.height, 600);
    EXPECT_EQ(PixelsOffPattern(image, 4, 4), 0);

    form_->SetBounds(31, 42, S(240), 600);
    RECT r = WindowRect(form_->Handle());
    DestroyForm();
    const std::wstring ini = (folder_->Path() / L"vistrel.ini").wstring();
    EXPECT_EQ(ReadIni(ini, L"common", L"left"), std::to_wstring(r.left));
    EXPECT_EQ(ReadIni(ini, L"common", L"top"), std::to_wstring(r.top));
    EXPECT_EQ(ReadIni(ini, L"common", L"width"), std::to_wstring(r.right - r.left));
    EXPECT_EQ(ReadIni(ini, L"common", L"height"), std::to_wstring(r.bottom - r.top));
}
