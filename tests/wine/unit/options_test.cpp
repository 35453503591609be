// The photo options panel in the running window: handlers and enabled states through
// every kind of change.

#include "tests/wine/support/main_form_fixture.h"

using namespace testing_support;
using vistrel::TControl;

class OptionsPanel : public MainFormTest {};

TEST_F(OptionsPanel, ScaleAndProportionalEnableTheirDependentsAsClicked) {
    CreateForm();
    auto& f = *form_;
    UserClick(f.Scale); // on
    EXPECT_TRUE(f.XScale.Enabled());
    EXPECT_TRUE(f.Proportional.Enabled());
    EXPECT_TRUE(f.ScaleSlider.Enabled());
    UserClick(f.Proportional); // off
    EXPECT_FALSE(f.ScaleSlider.Enabled());
    EXPECT_FALSE(f.Label6.Enabled());
    EXPECT_TRUE(f.XScale.Enabled());
    UserClick(f.Scale); // off: everything resizing-related is disabled
    for (TControl* c : {static_cast<TControl*>(&f.XScale), static_cast<TControl*>(&f.YScale),
                        static_cast<TControl*>(&f.Label4), static_cast<TControl*>(&f.Label5),
                        static_cast<TControl*>(&f.Proportional), static_cast<TControl*>(&f.Label6),
                        static_cast<TControl*>(&f.ScaleSlider)})
        EXPECT_FALSE(c->Enabled());
    // A program change of a check box's state runs its click handler too.
    f.Scale.SetChecked(true);
    EXPECT_TRUE(f.XScale.Enabled());
    EXPECT_FALSE(f.ScaleSlider.Enabled()) << "follows Proportional, which is off";
    f.Proportional.SetChecked(true);
    EXPECT_TRUE(f.ScaleSlider.Enabled());
}

TEST_F(OptionsPanel, WithoutTheBrowserEachSliderMoveScalesTheBoxesAgain) {
    CreateForm();
    auto& f = *form_;
    UserClick(f.Scale);
    SetWindowTextW(f.XScale.Handle(), L"640");
    SetWindowTextW(f.YScale.Handle(), L"480");
    UserScroll(f.ScaleSlider, SB_THUMBTRACK, 50);
    EXPECT_EQ(f.XScale.Text(), L"320");
    EXPECT_EQ(f.YScale.Text(), L"240");
    EXPECT_EQ(f.Label6.Text(), L"50%");
    UserScroll(f.ScaleSlider, SB_THUMBTRACK, 40);
    EXPECT_EQ(f.XScale.Text(), L"128");
    EXPECT_EQ(f.YScale.Text(), L"96");
    // Text that is not a number: the base is 800 by 600.
    SetWindowTextW(f.XScale.Handle(), L"abc");
    UserScroll(f.ScaleSlider, SB_THUMBTRACK, 25);
    EXPECT_EQ(f.XScale.Text(), L"200");
    EXPECT_EQ(f.YScale.Text(), L"150");
    // Reporting the same position again changes nothing.
    SetWindowTextW(f.XScale.Handle(), L"keep");
    UserScroll(f.ScaleSlider, SB_THUMBPOSITION, 25);
    EXPECT_EQ(f.XScale.Text(), L"keep");
    // The ends: the slider stays within 1 to 100.
    UserScroll(f.ScaleSlider, SB_LEFT);
    EXPECT_EQ(f.ScaleSlider.Position(), 1);
    UserScroll(f.ScaleSlider, SB_LINELEFT);
    EXPECT_EQ(f.ScaleSlider.Position(), 1);
    UserScroll(f.ScaleSlider, SB_RIGHT);
    EXPECT_EQ(f.ScaleSlider.Position(), 100);
}

TEST_F(OptionsPanel, WithTheBrowserTheViewIsTheBase) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 108x58 --at 300,40");
    ASSERT_NE(browser.FindTopWindow(L"alphaworld"), nullptr);
    CreateForm();
    auto& f = *form_;
    UserClick(f.Scale);
    UserScroll(f.ScaleSlider, SB_LEFT); // 1 %
    EXPECT_EQ(f.XScale.Text(), L"1");
    EXPECT_EQ(f.YScale.Text(), L"1");
    UserScroll(f.ScaleSlider, SB_RIGHT); // 100 %: the capture size, 100 by 50
    EXPECT_EQ(f.XScale.Text(), L"100");
    EXPECT_EQ(f.YScale.Text(), L"50");
}

TEST_F(OptionsPanel, AProgramSelectionOfTheTypeRunsNoHandlerAndProgramScrollsDoNotEnable) {
    CreateForm();
    auto& f = *form_;
    UserChoose(f.FType, 0);
    EXPECT_FALSE(f.JPEGSlider.Enabled());
    f.FType.SetItemIndex(1); // by the program: no handler
    EXPECT_FALSE(f.JPEGSlider.Enabled());
    f.JPEGSlider.SetPosition(30);
    EXPECT_EQ(f.Label3.Text(), L"30") << "the change handler ran";
    EXPECT_FALSE(f.JPEGSlider.Enabled()) << "and did not enable the slider";
    f.FTypeChange(&f);
    EXPECT_TRUE(f.JPEGSlider.Enabled());
}
