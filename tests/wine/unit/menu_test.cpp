// The context menu, the status bar's hints and the about box.

#include "about/win32/about_form.h"
#include "tests/wine/support/main_form_fixture.h"
#include "tests/wine/support/message_box.h"
#include "tests/wine/support/panel_driver.h"

#include <commctrl.h>

#include <atomic>
#include <fstream>
#include <thread>

using namespace testing_support;

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

class Menu : public MainFormTest {};

TEST_F(Menu, StatusBarShowsHintUnderPointerAndOfHighlightedMenuEntry) {
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

TEST_F(Menu, ContextMenuWithNothingSelectedOffersHideAndAboutOnly) {
    CreateForm();
    auto entries = PopupEntries(form_->Handle(), form_->FileListBox.Handle());
    std::vector<std::wstring> expected{L"Свернуть", L"-", L"О программе"};
    EXPECT_EQ(entries, expected);
}

TEST_F(Menu, AboutShowsMainCaptionAndOpensLinksThroughShell) {
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

TEST_F(Menu, AnAboutBoxThatCouldNotBeMadeIsReportedAndTheWindowStaysUsable) {
    CreateForm();
    vistrel::TAboutForm about; // as when making it failed at start-up
    vistrel::AboutForm = &about;
    MessageBoxCatcher boxes;
    // A program that would wait for the dialog for ever is stopped, so that the test ends.
    const DWORD thread = GetCurrentThreadId();
    std::thread watchdog([&] {
        if (!boxes.WaitForCount(1, 5000))
            PostThreadMessageW(thread, WM_QUIT, 0, 0);
    });
    vistrel::Guarded([&] { form_->AboutClick(form_.get()); });
    watchdog.join();
    vistrel::AboutForm = nullptr;
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"Out of system resources.");
    EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
    EXPECT_FALSE(vistrel::Application.Terminated());
}

TEST_F(Menu, NoPhotoIsTakenWhileTheAboutBoxIsUp) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 168x128 --at 300,40");
    ASSERT_NE(browser.FindTopWindow(L"alphaworld"), nullptr);
    CreateForm();
    vistrel::TAboutForm about;
    about.Create(form_->Handle());
    vistrel::AboutForm = &about;
    HWND button = form_->PhotoButton.Handle();
    std::thread user([&] {
        HWND dialog = nullptr;
        WaitFor([&] {
            dialog = FindWindowW(L"TAboutForm", nullptr);
            return dialog && IsWindowVisible(dialog);
        });
        // Handled in this order by the dialog's loop: the click, then the dialog's close.
        PostMessageW(button, BM_CLICK, 0, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    form_->AboutClick(form_.get());
    user.join();
    vistrel::AboutForm = nullptr;
    Pump();
    EXPECT_TRUE(FilesIn(Photos()).empty());
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
}
