// The main window as a user sees it: controls, layout, roll-up, snapping, status bar,
// minimising, the context menu and the photo list.

#include "about/win32/about_form.h"
#include "tests/wine/support/main_form_fixture.h"
#include "tests/wine/support/message_box.h"

#include <commctrl.h>

#include <atomic>
#include <fstream>
#include <thread>

using namespace testing_support;
using vistrel::TControl;

namespace {

POINT Centre(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The rectangle of a control relative to its parent's client area.
RECT InParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

class MainWindow : public MainFormTest {};

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
        {&f.PhotoButton, L"Button", &f.Panel1, L"Сфотографировать"},
        {&f.Scale, L"Button", &f.Panel1, L"Изменить разрешение фото:"},
        {&f.Proportional, L"Button", &f.Panel1, L"Сохранять пропорции:"},
        {&f.Label1, L"Static", &f.Panel1, L"Тип файла:"},
        {&f.Label2, L"Static", &f.Panel1, L"Качество сжатия JPEG:"},
        {&f.Label4, L"Static", &f.Panel1, L"X:"},
        {&f.Label5, L"Static", &f.Panel1, L"Y:"},
        {&f.FType, L"ComboBox", &f.Panel1, nullptr},
        {&f.JPEGSlider, L"ScrollBar", &f.Panel1, nullptr},
        {&f.ScaleSlider, L"ScrollBar", &f.Panel1, nullptr},
        {&f.XScale, L"Edit", &f.Panel1, nullptr},
        {&f.YScale, L"Edit", &f.Panel1, nullptr},
        {&f.Panel1, L"TPanel", &f.TabSheet2, L""},
        {&f.Panel3, L"TPanel", &f.TabSheet2, L"Нет фотографии"},
        {&f.Photo, L"TImage", &f.Panel3, nullptr},
        {&f.FileListBox, L"ListBox", &f.TabSheet2, nullptr},
        {&f.TabSheet2, L"TPanel", &f.PageControl1, nullptr},
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
    EXPECT_EQ(f.JPEGSlider.Hint, L"Чем выше число, тем лучше качество");
    EXPECT_EQ(f.ScaleSlider.Hint, L"Масштаб");

    // FType offers the two types; the "Запуск" page is hidden, only "Фото" has a tab.
    ASSERT_EQ(f.FType.Count(), 2);
    HWND tabs = f.PageControl1.Handle();
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), 1);
    wchar_t text[32]{};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 32;
    TabCtrl_GetItem(tabs, 0, &item);
    EXPECT_STREQ(text, L"Фото");
    EXPECT_EQ(item.iImage, 0);
    EXPECT_FALSE(f.TabSheet1.Visible());
    EXPECT_TRUE(f.TabSheet2.Visible());
    EXPECT_EQ(ImageList_GetImageCount(f.ImageList), 1);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(f.ImageList, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    // Nothing selected, no preview.
    EXPECT_FALSE(f.Photo.Visible());
    EXPECT_EQ(f.FileListBox.ItemIndex(), -1);
}

TEST_F(MainWindow, OptionsPanelKeyboardOrderStartsAtPhotoButton) {
    CreateForm();
    auto& f = *form_;
    const HWND order[] = {f.PhotoButton.Handle(),  f.FType.Handle(),      f.Scale.Handle(),
                          f.XScale.Handle(),       f.YScale.Handle(),     f.JPEGSlider.Handle(),
                          f.Proportional.Handle(), f.ScaleSlider.Handle()};
    std::vector<HWND> seen;
    for (HWND h = GetWindow(f.Panel1.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
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
    RECT panel = ClientRectOf(f.Panel1.Handle());
    ASSERT_EQ(panel.bottom, 250);
    auto check = [&](TControl& c, int x, int y, int w) {
        RECT r = InParent(c.Handle());
        EXPECT_EQ(r.left, x) << c.Name;
        EXPECT_EQ(r.top, y);
        if (w) {
            EXPECT_EQ(r.right - r.left, w);
        }
    };
    int grow = panel.right - 202; // the panel's width beyond the design's
    check(f.PhotoButton, 12, 215, 179 + grow);
    check(f.JPEGSlider, 12, 78, 177 + grow);
    check(f.ScaleSlider, 12, 186, 177 + grow);
    check(f.FType, 12, 29, 179 + grow);
    check(f.Scale, 12, 109, 177);
    check(f.XScale, 32, 133, 64);
    check(f.YScale, 126, 133, 64);
    check(f.Proportional, 12, 161, 145);
    EXPECT_EQ(InParent(f.Label3.Handle()).right, 190 + grow);
    EXPECT_EQ(InParent(f.Label6.Handle()).right, 190 + grow);

    // Wider window: stretching controls follow, the others stay.
    RECT w = WindowRect(f.Handle());
    f.SetBounds(w.left, w.top, (w.right - w.left) + 60, w.bottom - w.top);
    Pump();
    check(f.PhotoButton, 12, 215, 179 + grow + 60);
    check(f.Scale, 12, 109, 177);
    EXPECT_EQ(InParent(f.Label6.Handle()).right, 190 + grow + 60);
}

TEST_F(MainWindow, PreviewKeepsFourToThreeShapeAndListTakesTheRest) {
    CreateForm();
    auto& f = *form_;
    for (int width : {218, 260, 400, 218}) {
        RECT w = WindowRect(f.Handle());
        f.SetBounds(w.left, w.top, width, 691);
        Pump();
        RECT panel = ClientRectOf(f.Panel3.Handle());
        EXPECT_EQ(panel.bottom, panel.right * 3 / 4) << "window width " << width;
        // The picture area lies inside the panel's two-pixel bevel.
        RECT photo = InParent(f.Photo.Handle());
        EXPECT_EQ(photo.left, 2);
        EXPECT_EQ(photo.right - photo.left, panel.right - 4);
        EXPECT_EQ(photo.bottom - photo.top, panel.bottom - 4);
        // List between the two 2-pixel spacers.
        RECT list = InParent(f.FileListBox.Handle());
        RECT options = InParent(f.Panel1.Handle());
        EXPECT_EQ(list.top, panel.bottom + 2);
        EXPECT_EQ(list.bottom, options.top - 2);
    }
}

TEST_F(MainWindow, CannotBeNarrowerThanMinimumWidth) {
    CreateForm();
    RECT w = WindowRect(form_->Handle());
    form_->SetBounds(w.left, w.top, 100, 500);
    Pump();
    w = WindowRect(form_->Handle());
    EXPECT_EQ(w.right - w.left, 218);
    MINMAXINFO mmi{};
    SendMessageW(form_->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 218);
}

TEST_F(MainWindow, DoubleClickOnFrameRollsUpAndRestoresExactClientHeight) {
    CreateForm();
    auto& f = *form_;
    RECT w = WindowRect(f.Handle());
    f.SetBounds(w.left, w.top, 240, 600);
    Pump();
    int client = f.ClientHeight();
    int nonClient = 600 - client;
    ASSERT_GT(client, 0);

    SendMessageW(f.Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Pump();
    EXPECT_EQ(f.Tag, client);
    EXPECT_EQ(f.ClientHeight(), 0);
    w = WindowRect(f.Handle());
    EXPECT_EQ(w.bottom - w.top, nonClient);
    // Rolled up: it cannot be made taller, but the width can still change (not below 218).
    f.SetBounds(w.left, w.top, 300, 800);
    Pump();
    w = WindowRect(f.Handle());
    EXPECT_EQ(w.bottom - w.top, nonClient);
    EXPECT_EQ(w.right - w.left, 300);
    f.SetBounds(w.left, w.top, 150, 800);
    Pump();
    w = WindowRect(f.Handle());
    EXPECT_EQ(w.right - w.left, 218);

    SendMessageW(f.Handle(), WM_NCLBUTTONDBLCLK, HTLEFT, 0);
    Pump();
    EXPECT_EQ(f.Tag, 0);
    EXPECT_EQ(f.ClientHeight(), client);
    // The limit is gone again.
    w = WindowRect(f.Handle());
    f.SetBounds(w.left, w.top, 240, 700);
    Pump();
    EXPECT_EQ(WindowRect(f.Handle()).bottom - WindowRect(f.Handle()).top, 700);
}

TEST_F(MainWindow, SnapsToWorkAreaEdgesExceptAtZeroZero) {
    CreateForm();
    auto& f = *form_;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int W = 218, H = 400;

    f.SetBounds(work.left + 5, work.top + 100, W, H);
    EXPECT_EQ(WindowRect(f.Handle()).left, work.left);
    EXPECT_EQ(WindowRect(f.Handle()).top, work.top + 100);

    f.SetBounds(work.left + 200, work.top + 9, W, H);
    EXPECT_EQ(WindowRect(f.Handle()).top, work.top);
    f.SetBounds(work.left + 200, work.top + 10, W, H);
    EXPECT_EQ(WindowRect(f.Handle()).top, work.top + 10);

    // Right and bottom edges win over left and top.
    f.SetBounds(work.right - W - 7, work.bottom - H + 3, W, H);
    RECT r = WindowRect(f.Handle());
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);

    // Exactly 0,0 is used as it is.
    f.SetBounds(0, 0, W, H);
    r = WindowRect(f.Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST_F(MainWindow, StatusBarShowsHintUnderPointerAndOfHighlightedMenuEntry) {
    CreateForm();
    auto& f = *form_;
    ShowWindow(f.Handle(), SW_SHOW);
    SetForegroundWindow(f.Handle());
    Pump();

    POINT p = Centre(f.JPEGSlider.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"Чем выше число, тем лучше качество");
    wchar_t shown[128]{};
    SendMessageW(f.StatusBar.Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, L"Чем выше число, тем лучше качество");

    // Disabled controls show their hint too.
    f.ScaleSlider.SetEnabled(false);
    p = Centre(f.ScaleSlider.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"Масштаб");

    p = Centre(f.Label1.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"");

    // Only the part after the first "|".
    f.PhotoButton.Hint = L"short|long|tail";
    p = Centre(f.PhotoButton.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"long|tail");

    // Highlighted menu entries.
    SendMessageW(f.Handle(), WM_ENTERMENULOOP, TRUE, 0);
    SendMessageW(f.Handle(), WM_MENUSELECT, MAKEWPARAM(f.Hide.Id, MF_HILITE), 1);
    EXPECT_EQ(f.StatusText(), L"Свернуть панель");
    SendMessageW(f.Handle(), WM_MENUSELECT, MAKEWPARAM(f.About.Id, MF_HILITE), 1);
    EXPECT_EQ(f.StatusText(), L"О программе");
    SendMessageW(f.Handle(), WM_MENUSELECT, MAKEWPARAM(f.N1.Id, MF_SEPARATOR), 1);
    EXPECT_EQ(f.StatusText(), L"");
    SendMessageW(f.Handle(), WM_EXITMENULOOP, TRUE, 0);

    // Away from the window: empty.
    RECT w = WindowRect(f.Handle());
    SetCursorPos(w.right + 200, w.top + 200);
    Pump();
    EXPECT_EQ(f.StatusText(), L"");
}

TEST_F(MainWindow, HideMinimisesWholeProgramOffTopAndRestoreBringsItBackOnTop) {
    CreateForm();
    auto& f = *form_;
    HWND app = vistrel::Application.Handle();
    f.HideClick(&f);
    Pump();
    EXPECT_TRUE(IsIconic(app));
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
    EXPECT_FALSE(GetWindowLongW(f.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Once minimised, another Hide does nothing.
    f.HideClick(&f);
    EXPECT_TRUE(IsIconic(app));

    // The taskbar button restores it.
    SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    EXPECT_TRUE(GetWindowLongW(f.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

namespace {

// Opens the context menu over a window of the form and returns its entries' texts
// ("-" for a separator).
std::vector<std::wstring> PopupEntries(HWND form, HWND over) {
    std::vector<std::wstring> entries;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        HWND menuWindow = nullptr;
        WaitFor([&] {
            menuWindow = FindWindowW(L"#32768", nullptr);
            return menuWindow && IsWindowVisible(menuWindow);
        });
        if (menuWindow) {
            auto menu =
                reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /*MN_GETHMENU*/, 0, 0));
            for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
                wchar_t text[64]{};
                MENUITEMINFOW mii{};
                mii.cbSize = sizeof mii;
                mii.fMask = MIIM_FTYPE | MIIM_STRING;
                mii.dwTypeData = text;
                mii.cch = 64;
                GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
                entries.push_back(mii.fType & MFT_SEPARATOR ? L"-" : text);
            }
        }
        while (!done) {
            PostMessageW(form, WM_CANCELMODE, 0, 0);
            Sleep(20);
        }
    });
    POINT p = Centre(over);
    SendMessageW(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(over), MAKELPARAM(p.x, p.y));
    done = true;
    reader.join();
    return entries;
}

} // namespace

TEST_F(MainWindow, ContextMenuWithNothingSelectedOffersHideAndAboutOnly) {
    CreateForm();
    auto entries = PopupEntries(form_->Handle(), form_->FileListBox.Handle());
    std::vector<std::wstring> expected{L"Свернуть", L"-", L"О программе"};
    EXPECT_EQ(entries, expected);
}

TEST_F(MainWindow, AboutShowsMainCaptionAndOpensLinksThroughShell) {
    CreateForm();
    vistrel::TAboutForm about;
    about.Create(form_->Handle());
    vistrel::AboutForm = &about;
    const auto log = std::filesystem::path(L"Z:\\tmp\\vistrel-browser.log");
    std::error_code ec;
    std::filesystem::remove(log, ec);

    SetWindowTextW(form_->Handle(), L"Vistrel v0.12 (test)");
    std::wstring version, caption;
    RECT client{};
    bool centred = false;
    std::thread user([&] {
        HWND dialog = nullptr;
        WaitFor([&] {
            dialog = FindWindowW(L"TAboutForm", nullptr);
            return dialog && IsWindowVisible(dialog);
        });
        if (!dialog)
            return;
        caption = WindowText(dialog);
        version = WindowText(GetDlgItem(dialog, 101));
        GetClientRect(dialog, &client);
        RECT r;
        GetWindowRect(dialog, &r);
        int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        centred = std::abs((r.left + r.right) - sw) <= 1 && std::abs((r.top + r.bottom) - sh) <= 1;
        for (int id : {103, 104}) {
            HWND link = GetDlgItem(dialog, id);
            PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        }
        WaitFor([&] {
            std::ifstream in(log);
            std::string all((std::istreambuf_iterator<char>(in)), {});
            return all.find("mailto:") != std::string::npos;
        });
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    form_->AboutClick(form_.get());
    user.join();
    vistrel::AboutForm = nullptr;

    EXPECT_EQ(caption, L"О программе");
    EXPECT_EQ(version, L"Vistrel v0.12 (test)");
    EXPECT_EQ(client.right, 294);
    EXPECT_EQ(client.bottom, 105);
    EXPECT_TRUE(centred);
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
    std::ifstream in(log);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(all.find("http://vistrel.ru/"), std::string::npos) << all;
    EXPECT_NE(all.find("mailto:foto@vistrel.ru"), std::string::npos) << all;
}
