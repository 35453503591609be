// The main window as a user sees it: its kind, its controls and their layout.

#include "tests/wine/support/main_window_fixture.h"

#include <commctrl.h>

using namespace testing_support;
using vistrel::TControl;

class MainWindow : public MainWindowTest {};

TEST_F(MainWindow, IsAnAlwaysOnTopToolWindowWithCloseBoxOnly) {
    CreateForm();
    HWND h = form_->Handle();
    EXPECT_EQ(WindowText(h), L"Vistrel v0.12");
    EXPECT_EQ(ClassName(h), L"TMainForm");
    LONG style = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(GetWindow(h, GW_OWNER), vistrel::Application.Handle());
}

TEST_F(MainWindow, ControlsCarryTheirCaptionsHintsAndParents) {
    CreateForm();
    auto& f = *form_;
    struct Expect {
        TControl* control;
        const wchar_t* cls;
        TControl* parent;
        const wchar_t* text;
    };
    const Expect expected[] = {
        {&f.PhotoButton, L"Button", &f.OptionsPanel, L"Сфотографировать"},
        {&f.ResizeBox, L"Button", &f.OptionsPanel, L"Изменить разрешение фото:"},
        {&f.ProportionalBox, L"Button", &f.OptionsPanel, L"Сохранять пропорции:"},
        {&f.TypeLabel, L"Static", &f.OptionsPanel, L"Тип файла:"},
        {&f.QualityLabel, L"Static", &f.OptionsPanel, L"Качество сжатия JPEG:"},
        {&f.WidthLabel, L"Static", &f.OptionsPanel, L"X:"},
        {&f.HeightLabel, L"Static", &f.OptionsPanel, L"Y:"},
        {&f.TypeBox, L"ComboBox", &f.OptionsPanel, nullptr},
        {&f.QualitySlider, L"ScrollBar", &f.OptionsPanel, nullptr},
        {&f.PercentSlider, L"ScrollBar", &f.OptionsPanel, nullptr},
        {&f.WidthBox, L"Edit", &f.OptionsPanel, nullptr},
        {&f.HeightBox, L"Edit", &f.OptionsPanel, nullptr},
        {&f.OptionsPanel, L"TPanel", &f.PhotoPage, L""},
        {&f.PreviewFrame, L"TPanel", &f.PhotoPage, L"Нет фотографии"},
        {&f.Preview, L"TImage", &f.PreviewFrame, nullptr},
        {&f.PhotoList, L"ListBox", &f.PhotoPage, nullptr},
        {&f.PhotoPage, L"TPanel", &f.Pages, nullptr},
        {&f.StatusBar, L"msctls_statusbar32", nullptr, nullptr},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(testing::Message() << "control " << e.cls);
        ASSERT_NE(e.control->Handle(), nullptr);
        EXPECT_TRUE(CompareStringOrdinal(ClassName(e.control->Handle()).c_str(), -1, e.cls, -1,
                                         TRUE) == CSTR_EQUAL)
            << ClassName(e.control->Handle());
        HWND parent = e.parent ? e.parent->Handle() : f.Handle();
        EXPECT_EQ(GetParent(e.control->Handle()), parent);
        if (e.text) {
            EXPECT_EQ(WindowText(e.control->Handle()), e.text);
        }
    }
    // Each label comes right before the control it names, which screen readers take as its
    // name.
    for (auto [label, control] : {std::pair<TControl*, TControl*>{&f.TypeLabel, &f.TypeBox},
                                  {&f.WidthLabel, &f.WidthBox},
                                  {&f.HeightLabel, &f.HeightBox},
                                  {&f.QualityLabel, &f.QualitySlider},
                                  {&f.PercentNumber, &f.PercentSlider}})
        EXPECT_EQ(GetWindow(control->Handle(), GW_HWNDPREV), label->Handle())
            << ClassName(control->Handle());
    EXPECT_EQ(f.QualitySlider.Hint, L"Чем выше число, тем лучше качество");
    EXPECT_EQ(f.PercentSlider.Hint, L"Масштаб");

    // TypeBox offers the three types; the "Запуск" page is hidden, only "Фото" has a tab.
    ASSERT_EQ(f.TypeBox.Count(), 3);
    HWND tabs = f.Pages.Handle();
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), 1);
    wchar_t text[32]{};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 32;
    TabCtrl_GetItem(tabs, 0, &item);
    EXPECT_STREQ(text, L"Фото");
    EXPECT_EQ(item.iImage, 0);
    EXPECT_FALSE(f.StartPage.Visible());
    EXPECT_TRUE(f.PhotoPage.Visible());
    EXPECT_EQ(ImageList_GetImageCount(f.TabIcons()), 1);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(f.TabIcons(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    // Nothing selected, no preview.
    EXPECT_FALSE(f.Preview.Visible());
    EXPECT_EQ(f.PhotoList.ItemIndex(), -1);
}

TEST_F(MainWindow, OptionsPanelKeyboardOrderStartsAtPhotoButton) {
    CreateForm();
    auto& f = *form_;
    const HWND order[] = {f.PhotoButton.Handle(),     f.TypeBox.Handle(),
                          f.ResizeBox.Handle(),       f.WidthBox.Handle(),
                          f.HeightBox.Handle(),       f.QualitySlider.Handle(),
                          f.ProportionalBox.Handle(), f.PercentSlider.Handle()};
    std::vector<HWND> seen;
    for (HWND h = GetWindow(f.OptionsPanel.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP)
            seen.push_back(h);
    ASSERT_EQ(seen.size(), std::size(order));
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], order[i]) << "position " << i;
    // The first control in keyboard order of the whole window is the photo button.
    EXPECT_EQ(GetNextDlgTabItem(f.Handle(), nullptr, FALSE), f.PhotoButton.Handle());
}

TEST_F(MainWindow, OptionsPanelControlsKeepDesignPlacementAndStretchWithWidth) {
    CreateForm();
    auto& f = *form_;
    RECT panel = ClientRectOf(f.OptionsPanel.Handle());
    ASSERT_EQ(panel.bottom, 250);
    auto check = [&](TControl& c, int x, int y, int w) {
        RECT r = InParent(c.Handle());
        EXPECT_EQ(r.left, x) << ClassName(c.Handle());
        EXPECT_EQ(r.top, y);
        if (w) {
            EXPECT_EQ(r.right - r.left, w);
        }
    };
    int grow = panel.right - 202; // the panel's width beyond the design's
    check(f.PhotoButton, 12, 215, 179 + grow);
    check(f.QualitySlider, 12, 78, 177 + grow);
    check(f.PercentSlider, 12, 186, 177 + grow);
    check(f.TypeBox, 12, 29, 179 + grow);
    check(f.ResizeBox, 12, 109, 177);
    check(f.WidthBox, 32, 133, 64);
    check(f.HeightBox, 126, 133, 64);
    check(f.ProportionalBox, 12, 161, 145);
    EXPECT_EQ(InParent(f.QualityNumber.Handle()).right, 190 + grow);
    EXPECT_EQ(InParent(f.PercentNumber.Handle()).right, 190 + grow);

    // Wider window: stretching controls follow, the others stay.
    RECT w = WindowRect(f.Handle());
    f.SetBounds(w.left, w.top, (w.right - w.left) + 60, w.bottom - w.top);
    Pump();
    check(f.PhotoButton, 12, 215, 179 + grow + 60);
    check(f.ResizeBox, 12, 109, 177);
    EXPECT_EQ(InParent(f.PercentNumber.Handle()).right, 190 + grow + 60);
}

TEST_F(MainWindow, PreviewKeepsFourToThreeShapeAndListTakesTheRest) {
    CreateForm();
    auto& f = *form_;
    for (int width : {218, 260, 400, 218}) {
        RECT w = WindowRect(f.Handle());
        f.SetBounds(w.left, w.top, width, 691);
        Pump();
        RECT panel = ClientRectOf(f.PreviewFrame.Handle());
        EXPECT_EQ(panel.bottom, panel.right * 3 / 4) << "window width " << width;
        // The picture area lies inside the panel's two-pixel bevel.
        RECT photo = InParent(f.Preview.Handle());
        EXPECT_EQ(photo.left, 2);
        EXPECT_EQ(photo.right - photo.left, panel.right - 4);
        EXPECT_EQ(photo.bottom - photo.top, panel.bottom - 4);
        // List between the two 2-pixel spacers.
        RECT list = InParent(f.PhotoList.Handle());
        RECT options = InParent(f.OptionsPanel.Handle());
        EXPECT_EQ(list.top, panel.bottom + 2);
        EXPECT_EQ(list.bottom, options.top - 2);
    }
}
