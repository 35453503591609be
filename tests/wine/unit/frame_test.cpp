// The main window's frame: minimum width, roll-up, snapping and minimising.

#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/user_input.h"
#include "ui/layout.h"
#include "ui/win32/fonts.h"

#include <commctrl.h>

using namespace testing_support;

class Frame : public MainWindowTest {};

TEST_F(Frame, CannotBeNarrowerThanMinimumWidth) {
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

TEST_F(Frame, DoubleClickOnFrameRollsUpAndRestoresExactClientHeight) {
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
    EXPECT_EQ(f.UnrolledHeight(), client);
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
    EXPECT_EQ(f.UnrolledHeight(), 0);
    EXPECT_EQ(f.ClientHeight(), client);
    // The limit is gone again.
    w = WindowRect(f.Handle());
    f.SetBounds(w.left, w.top, 240, 700);
    Pump();
    EXPECT_EQ(WindowRect(f.Handle()).bottom - WindowRect(f.Handle()).top, 700);
}

TEST_F(Frame, SnapsToWorkAreaEdgesExceptAtZeroZero) {
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

TEST_F(Frame, HideMinimisesWholeProgramOffTopAndRestoreBringsItBackOnTop) {
    CreateForm();
    auto& f = *form_;
    HWND app = vistrel::Application.Handle();
    f.OnMinimiseClick();
    Pump();
    EXPECT_TRUE(IsIconic(app));
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
    // Once minimised, another Hide does nothing.
    f.OnMinimiseClick();
    EXPECT_TRUE(IsIconic(app));

    // The taskbar button restores it.
    SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    EXPECT_TRUE(GetWindowLongW(f.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Frame, TheStatusBarHasOneSizeGripAtItsRightEdgeAfterAnyResize) {
    CreateForm();
    auto& f = *form_;
    RECT w = WindowRect(f.Handle());
    f.SetBounds(w.left, w.top, 300, 600);
    Pump();
    // Wider and then narrower by the right edge, dragged by a real pointer (a drag that
    // only brings the window forward is made again).
    auto drag = [&](int dx) {
        RECT before = WindowRect(f.Handle());
        const int x = before.right - 2, y = (before.top + before.bottom) / 2;
        std::wstring args = L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) +
                            L" sleep 0.1 mousedown 1 sleep 0.1";
        for (int step = 1; step <= 10; ++step)
            args += L" mousemove " + std::to_wstring(x + dx * step / 10) + L" " +
                    std::to_wstring(y) + L" sleep 0.05";
        args += L" sleep 0.1 mouseup 1";
        XdotoolRun hand(args);
        if (!hand.Started())
            return false;
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (!hand.Finished() && GetTickCount64() < deadline) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Pump();
        }
        Pump();
        return WindowRect(f.Handle()).right != before.right;
    };
    for (int dx : {120, -60}) {
        bool resized = false;
        for (int attempt = 0; attempt < 4 && !resized; ++attempt)
            resized = drag(dx);
        ASSERT_TRUE(resized) << "no drag by " << dx << " reached the window";
    }
    HWND bar = f.StatusBar.Handle();
    RECT client = ClientRectOf(bar);
    // Left of the grip the empty bar is one colour, as the screen shows it.
    const int grip = GetSystemMetrics(SM_CXVSCROLL) + 4;
    auto marks = [&] {
        HDC screen = GetDC(nullptr);
        POINT origin{0, 0};
        ClientToScreen(bar, &origin);
        COLORREF face = GetPixel(screen, origin.x + 2, origin.y + client.bottom / 2);
        int other = 0;
        for (int y = 2; y < client.bottom - 1; ++y)
            for (int x = 2; x < client.right - grip; ++x)
                other += GetPixel(screen, origin.x + x, origin.y + y) != face;
        ReleaseDC(nullptr, screen);
        return other;
    };
    EXPECT_TRUE(WaitFor([&] { return marks() == 0; }, 3s)) << marks() << " pixels of old grips";
}

TEST_F(Frame, MovedToAScreenOfAnotherScaleItIsLaidOutAgainWhereTheSystemSays) {
    CreateForm();
    auto& f = *form_;
    const int from = f.Dpi(), to = from * 2;
    RECT suggested{40, 30, 40 + vistrel::ScaleForDpi(260, to), 30 + vistrel::ScaleForDpi(600, to)};
    SendMessageW(f.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump();
    RECT w = WindowRect(f.Handle());
    EXPECT_TRUE(EqualRect(&w, &suggested));
    EXPECT_EQ(f.Dpi(), to);
    ExpectLaidOutFor(f, to);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(f.TabIcons(), &cx, &cy);
    EXPECT_EQ(cx, vistrel::ScaleForDpi(16, to));
}
