// The main window's frame: minimum width, roll-up, snapping and minimising.

#include "tests/wine/support/main_form_fixture.h"

using namespace testing_support;

class Frame : public MainFormTest {};

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
