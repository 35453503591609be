// The context menu, the status bar's hints and the about box.

#include "capture/jpeg_file.h"
#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/message_box.h"
#include "tests/wine/support/panel_driver.h"
#include "tests/wine/support/user_input.h"

#include <commctrl.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

using namespace testing_support;

class Menu : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::filesystem::create_directories(Photos());
        // A real picture: an empty file would put up an error box once the preview paints,
        // at a moment that depends on the menus.
        auto jpeg = vistrel::EncodeJpeg(vistrel::PixelBuffer(8, 8, 32).View(), 90);
        picture_.assign(jpeg.begin(), jpeg.end());
        WriteFile(Photos() / L"a.jpg", picture_);
        CreateForm();
        SetForegroundWindow(form_->Handle());
        Pump();
    }

    std::string picture_;

    // Opens the menu with real input on this thread, and lets the user work in it on
    // another thread until it closes.
    void WithPopupMenu(const std::function<void()>& open,
                       const std::function<void(HWND menu)>& user) {
        std::atomic<bool> done{false};
        std::thread other([&] {
            if (HWND menu = WaitForPopupMenu()) {
                user(menu);
                // A key the user pressed to close it may be lost under load: the menu is
                // then cancelled, so that a lost key fails the test instead of hanging it.
                if (!WaitFor([&] { return !IsWindowVisible(menu); }, 5s))
                    PostMessageW(form_->Handle(), WM_CANCELMODE, 0, 0);
            }
            done = true;
        });
        open();
        while (!done) {
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        other.join();
        Pump();
    }

    // The entries of the menu as it opens, closed again with Escape.
    std::vector<std::wstring> EntriesOfMenuOpenedBy(const std::function<void()>& open) {
        std::vector<std::wstring> entries;
        WithPopupMenu(open, [&](HWND menu) {
            entries = PopupMenuEntries(menu);
            PressKey(VK_ESCAPE);
        });
        return entries;
    }

    // The status bar's text, read as another program would see it drawn.
    std::wstring StatusBarText() {
        wchar_t shown[128]{};
        SendMessageW(form_->StatusBar.Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(shown));
        return shown;
    }
};

TEST_F(Menu, StatusBarShowsTheHintOfTheControlUnderThePointer) {
    auto& f = *form_;
    POINT p = Centre(f.QualitySlider.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"Чем выше число, тем лучше качество");
    EXPECT_EQ(StatusBarText(), L"Чем выше число, тем лучше качество");

    // Disabled controls show their hint too.
    f.PercentSlider.SetEnabled(false);
    p = Centre(f.PercentSlider.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"Масштаб");

    p = Centre(f.TypeLabel.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"");

    // Only the part after the first "|".
    f.PhotoButton.Hint = L"short|long|tail";
    p = Centre(f.PhotoButton.Handle());
    SetCursorPos(p.x, p.y);
    Pump();
    EXPECT_EQ(f.StatusText(), L"long|tail");

    // Away from the window: empty.
    RECT w = WindowRect(f.Handle());
    SetCursorPos(w.right + 200, w.top + 200);
    Pump();
    EXPECT_EQ(f.StatusText(), L"");
}

TEST_F(Menu, HighlightedEntriesShowTheirHintsInTheStatusBar) {
    std::vector<std::wstring> shown;
    SetFocus(form_->PhotoButton.Handle());
    WithPopupMenu([] { PressKey(VK_F10, true); },
                  [&](HWND) {
                      for (const wchar_t* hint :
                           {L"Свернуть панель",
                            L"Клавиша, которой делается снимок из любой программы",
                            L"О программе"}) {
                          PressKey(VK_DOWN); // the separator between is passed over
                          WaitFor([&] { return StatusBarText() == hint; }, 3s);
                          shown.push_back(StatusBarText());
                      }
                      PressKey(VK_ESCAPE);
                  });
    EXPECT_EQ(shown, (std::vector<std::wstring>{
                         L"Свернуть панель", L"Клавиша, которой делается снимок из любой программы",
                         L"О программе"}));
    EXPECT_EQ(StatusBarText(), L"") << "the hint goes with the menu";
}

TEST_F(Menu, OverTheListWithNothingSelectedNoPhotoEntriesAreOffered) {
    auto entries =
        EntriesOfMenuOpenedBy([&] { ClickAt(Centre(form_->PhotoList.Handle()), /*right=*/true); });
    EXPECT_EQ(entries,
              (std::vector<std::wstring>{L"Свернуть", L"-", L"Горячая клавиша…", L"О программе"}));
}

TEST_F(Menu, ThePhotoEntriesAreOfferedForTheSelectedPhotoHoweverTheMenuIsOpenedOverTheList) {
    const std::vector<std::wstring> withDeletion{
        L"Свернуть",     L"-", L"Открыть",          L"Показать в папке", L"Копировать",
        L"Удалить фото", L"-", L"Горячая клавиша…", L"О программе"};
    HWND list = form_->PhotoList.Handle();
    form_->PhotoList.SelectByPath((Photos() / L"a.jpg").wstring());
    // A right-click on the selected item keeps it selected.
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    POINT onItem{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &onItem);
    EXPECT_EQ(EntriesOfMenuOpenedBy([&] { ClickAt(onItem, /*right=*/true); }), withDeletion);
    SetFocus(list);
    EXPECT_EQ(EntriesOfMenuOpenedBy([] { PressKey(VK_F10, true); }), withDeletion);
    EXPECT_EQ(EntriesOfMenuOpenedBy([] { PressKey(VK_APPS); }), withDeletion);
}

TEST_F(Menu, FromTheKeyboardTheMenuOpensAtTheSelectedPhoto) {
    for (int i = 1; i <= 12; ++i)
        WriteFile(Photos() / (L"b" + std::to_wstring(100 + i) + L".jpg"), picture_);
    form_->PhotoList.Reread();
    HWND list = form_->PhotoList.Handle();
    form_->PhotoList.SelectByPath((Photos() / L"b106.jpg").wstring());
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(form_->PhotoList.ItemIndex()),
                 reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    SetFocus(list);
    for (WORD key : {WORD{VK_F10}, WORD{VK_APPS}}) {
        RECT menu{};
        WithPopupMenu([&] { PressKey(key, key == VK_F10); },
                      [&](HWND window) {
                          GetWindowRect(window, &menu);
                          PressKey(VK_ESCAPE);
                      });
        // Just below the photo, not at the list's corner.
        EXPECT_EQ(menu.top, item.bottom) << key;
        EXPECT_GT(menu.left, item.left) << key;
    }
}

TEST_F(Menu, DialogsOpenWholeInTheWorkAreaOfThePanelsMonitor) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // The panel at the work area's left edge: a dialog centred over it would stick out.
    RECT w = WindowRect(form_->Handle());
    form_->SetBounds(work.left, work.top, 218, w.bottom - w.top);
    form_->OnHotkeyClick();
    HWND dialog = form_->HotkeyChoice.Handle();
    ASSERT_TRUE(IsWindowVisible(dialog));
    RECT r = WindowRect(dialog);
    EXPECT_GE(r.left, work.left);
    EXPECT_GE(r.top, work.top);
    EXPECT_LE(r.right, work.right);
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(Menu, AboutShowsMainCaptionAndOpensLinksThroughShell) {
    const auto log = std::filesystem::path(L"Z:\\tmp\\vistrel-browser.log");
    std::error_code ec;
    std::filesystem::remove(log, ec);
    auto logged = [&] {
        std::ifstream in(log);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };

    SetWindowTextW(form_->Handle(), L"Vistrel v0.12 (test)");
    form_->OnAboutClick();
    HWND dialog = form_->About.Handle();
    ASSERT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindowEnabled(form_->Handle())) << "the panel waits for the dialog";
    EXPECT_EQ(WindowText(dialog), L"О программе");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 101)), L"Vistrel v0.12 (test)");
    RECT client{}, r{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 294);
    EXPECT_EQ(client.bottom, 105);
    GetWindowRect(dialog, &r);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((r.left + r.right) - sw), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - sh), 1);

    // The web link by a click; the mail link from the keyboard: Tab reaches it, Enter opens it.
    HWND web = GetDlgItem(dialog, 103), mail = GetDlgItem(dialog, 104);
    PostMessageW(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Pump();
    EXPECT_EQ(GetFocus(), web) << "a link takes the focus as a button does";
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] {
        Pump();
        return GetFocus() == mail;
    }));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] {
        Pump();
        std::string all = logged();
        return all.find("mailto:foto@vistrel.ru") != std::string::npos &&
               all.find("http://vistrel.ru/") != std::string::npos;
    })) << logged();
    EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter on a link opens it, not closes the dialog";
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
}

TEST_F(Menu, AnAboutBoxThatCouldNotBeMadeIsReportedAndTheWindowStaysUsable) {
    DestroyWindow(form_->About.Handle()); // as when making it failed at start-up
    ASSERT_EQ(form_->About.Handle(), nullptr);
    MessageBoxCatcher boxes;
    vistrel::Guarded([&] { form_->OnAboutClick(); });
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"Out of system resources.");
    EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
}

TEST_F(Menu, NoPhotoIsTakenWhileTheAboutBoxIsUp) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 168x128 --at 300,40");
    ASSERT_NE(browser.FindShownWindow(L"alphaworld"), nullptr);
    form_->OnAboutClick();
    HWND dialog = form_->About.Handle();
    ASSERT_TRUE(IsWindowVisible(dialog));
    // A click that still reaches the button, and the hotkey, come to nothing; once the dialog
    // is closed nothing is left over from them either.
    PostMessageW(form_->PhotoButton.Handle(), BM_CLICK, 0, 0);
    form_->OnHotkeyPressed();
    Pump();
    EXPECT_FALSE(form_->PhotoUnderWay());
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Pump();
    ASSERT_FALSE(IsWindowVisible(dialog));
    EXPECT_FALSE(form_->PhotoUnderWay());
    EXPECT_EQ(FilesIn(Photos()), std::vector<std::wstring>{L"a.jpg"});
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
}

TEST_F(Menu, ClosingTheWindowDropsTheClicksQueuedBehindThePhotoUnderWay) {
    Program browser(BuildFolder() / L"aw-standin.exe", L"--view 168x128 --at 300,40");
    ASSERT_NE(browser.FindShownWindow(L"alphaworld"), nullptr);
    // A photo under way, two clicks waiting behind it, and then the close box.
    form_->OnPhotoClick();
    ASSERT_TRUE(form_->PhotoUnderWay());
    HWND button = form_->PhotoButton.Handle();
    PostMessageW(button, BM_CLICK, 0, 0);
    PostMessageW(button, BM_CLICK, 0, 0);
    PostMessageW(form_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitForPhotos());
    // The photo under way is finished; the queued clicks are not taken.
    EXPECT_EQ(FilesIn(Photos()), (std::vector<std::wstring>{L"a.jpg", L"image_00001.jpg"}));
    EXPECT_TRUE(quitAsked_) << "and the program ends";
}
