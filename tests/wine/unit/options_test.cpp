// The photo options panel in the running window: each edit of the user reaches the options,
// and the controls that depend on it follow. The rules themselves are the native tests'.

#include "tests/wine/support/main_window_fixture.h"

using namespace testing_support;
using vistrel::TControl;

class OptionsPanel : public MainWindowTest {};

TEST_F(OptionsPanel, EveryEditReachesTheOptionsAndTheDependentControlsFollow) {
    CreateForm();
    auto& f = *form_;
    UserChoose(f.TypeBox, 0);
    EXPECT_EQ(f.Options().typeEntry, 0);
    EXPECT_FALSE(f.QualitySlider.Enabled());
    EXPECT_FALSE(f.QualityNumber.Enabled());
    UserChoose(f.TypeBox, 1);
    EXPECT_TRUE(f.QualitySlider.Enabled());
    UserScroll(f.QualitySlider, SB_THUMBTRACK, 42);
    EXPECT_EQ(f.Options().quality, 42);
    EXPECT_EQ(f.QualityNumber.Text(), L"42");

    UserClick(f.ResizeBox); // on
    EXPECT_TRUE(f.Options().resize);
    EXPECT_TRUE(f.WidthBox.Enabled());
    EXPECT_TRUE(f.PercentSlider.Enabled());
    UserClick(f.ProportionalBox); // off
    EXPECT_FALSE(f.Options().proportional);
    EXPECT_FALSE(f.PercentSlider.Enabled());
    EXPECT_FALSE(f.PercentNumber.Enabled());
    SetWindowTextW(f.WidthBox.Handle(), L"1024");
    EXPECT_EQ(f.Options().width, L"1024");
    UserClick(f.ResizeBox); // off: everything resizing-related is disabled
    for (TControl* c :
         {static_cast<TControl*>(&f.WidthBox), static_cast<TControl*>(&f.HeightBox),
          static_cast<TControl*>(&f.WidthLabel), static_cast<TControl*>(&f.HeightLabel),
          static_cast<TControl*>(&f.ProportionalBox), static_cast<TControl*>(&f.PercentNumber),
          static_cast<TControl*>(&f.PercentSlider)})
        EXPECT_FALSE(c->Enabled());
}

TEST_F(OptionsPanel, WithoutTheBrowserThePercentageKeepsItsBaseAndGivesTheSizeBack) {
    CreateForm();
    auto& f = *form_;
    UserClick(f.ResizeBox);
    SetWindowTextW(f.WidthBox.Handle(), L"640");
    SetWindowTextW(f.HeightBox.Handle(), L"480");
    UserScroll(f.PercentSlider, SB_THUMBTRACK, 50);
    EXPECT_EQ(f.WidthBox.Text(), L"320");
    EXPECT_EQ(f.HeightBox.Text(), L"240");
    EXPECT_EQ(f.PercentNumber.Text(), L"50%");
    UserScroll(f.PercentSlider, SB_THUMBTRACK, 40);
    UserScroll(f.PercentSlider, SB_RIGHT);
    EXPECT_EQ(f.WidthBox.Text(), L"640") << "back at 100 %, the user's own size";
    EXPECT_EQ(f.HeightBox.Text(), L"480");
    EXPECT_EQ(f.Options().width, L"640");
    // A size typed afterwards is the base of the next move; text that is no number, 800 by 600.
    SetWindowTextW(f.WidthBox.Handle(), L"abc");
    UserScroll(f.PercentSlider, SB_THUMBTRACK, 25);
    EXPECT_EQ(f.WidthBox.Text(), L"200");
    EXPECT_EQ(f.HeightBox.Text(), L"150");
}

TEST_F(OptionsPanel, WithTheBrowserTheViewIsTheBase) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 108x58 --at 300,40");
    ASSERT_NE(browser.FindShownWindow(L"alphaworld"), nullptr);
    CreateForm();
    auto& f = *form_;
    UserClick(f.ResizeBox);
    UserScroll(f.PercentSlider, SB_LEFT); // 1 %
    EXPECT_EQ(f.WidthBox.Text(), L"1");
    EXPECT_EQ(f.HeightBox.Text(), L"1");
    UserScroll(f.PercentSlider, SB_RIGHT); // 100 %: the capture size, 100 by 50
    EXPECT_EQ(f.WidthBox.Text(), L"100");
    EXPECT_EQ(f.HeightBox.Text(), L"50");
}

namespace {
// What a number label was asked to show, and the room it had at that moment.
struct Shown {
    int room, needed;
};
std::vector<Shown> g_shown;
vistrel::TLabel* g_label = nullptr;
WNDPROC g_labelProc = nullptr;
LRESULT CALLBACK RecordText(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && lParam) {
        RECT r;
        GetClientRect(hwnd, &r);
        g_shown.push_back(
            {r.right, g_label->TextWidthOf(reinterpret_cast<const wchar_t*>(lParam))});
    }
    return CallWindowProcW(g_labelProc, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(OptionsPanel, ANumberThatGainsADigitHasTheRoomForItWhenItIsDrawn) {
    CreateForm();
    auto& f = *form_;
    UserClick(f.ResizeBox);
    UserClick(f.ProportionalBox); // off: the percentage's own number only
    UserClick(f.ProportionalBox); // on again, enabled
    for (auto [label, slider] : {std::pair{&f.QualityNumber, &f.QualitySlider},
                                 std::pair{&f.PercentNumber, &f.PercentSlider}}) {
        UserScroll(*slider, SB_THUMBTRACK, 9);
        g_label = label;
        g_shown.clear();
        g_labelProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            label->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordText)));
        // 9 to 10 and 99 to 100, as the thumb is dragged.
        for (int position : {10, 99, 100})
            UserScroll(*slider, SB_THUMBTRACK, position);
        SetWindowLongPtrW(label->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_labelProc));
        ASSERT_EQ(g_shown.size(), 3u);
        for (const Shown& s : g_shown)
            EXPECT_GE(s.room, s.needed) << "a new number is never drawn clipped";
    }
    EXPECT_EQ(f.PercentNumber.Text(), L"100%");
}
