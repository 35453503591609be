#include "tests/wine/support/main_window_fixture.h"

#include "ui/layout.h"
#include "ui/win32/fonts.h"

#include <fstream>

namespace testing_support {

void MainWindowTest::SetUpTestSuite() {
    using vistrel::Application;
    if (!Application.Handle()) {
        Application.Initialize(GetModuleHandleW(nullptr));
        Application.SetTitle(L"Vistrel");
    }
}

void MainWindowTest::SetUp() {
    folder_ = std::make_unique<TempFolder>(L"vistrel-form");
}

void MainWindowTest::TearDown() {
    DestroyForm();
    folder_.reset();
}

void MainWindowTest::CreateForm() {
    DestroyForm();
    quitAsked_ = false;
    form_ = std::make_unique<vistrel::MainWindow>(ProgramPath());
    form_->Create(vistrel::Application.Handle());
    vistrel::Application.SetMainWindow(form_->Handle());
    ShowWindow(form_->Handle(), SW_SHOWNORMAL);
    UpdateWindow(form_->Handle());
    Pump();
}

void MainWindowTest::DestroyForm() {
    if (!form_)
        return;
    form_->Destroy();
    form_.reset();
    vistrel::Application.SetMainWindow(nullptr);
    Pump();
}

void MainWindowTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitAsked_ = true;
            continue;
        }
        // The dialog keys (Tab, Enter, Escape) of the program's windows, as its loop has them.
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (form_ && top &&
            (top == form_->Handle() || top == form_->About.Handle() ||
             top == form_->HotkeyChoice.Handle()) &&
            IsDialogMessageW(top, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (form_)
        form_->UpdateHint();
}

bool MainWindowTest::WaitForPhotos(std::chrono::milliseconds timeout) {
    return WaitFor(
        [&] {
            Pump();
            if (!form_ || !form_->PhotoUnderWay())
                return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            return false;
        },
        timeout);
}

bool MainWindowTest::TakePhoto() {
    form_->OnPhotoClick();
    return WaitForPhotos();
}

RECT MainWindowTest::WindowRect(HWND hwnd) const {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT MainWindowTest::ClientRectOf(HWND hwnd) const {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

void UserClick(vistrel::TControl& checkBox) {
    SendMessageW(checkBox.Handle(), BM_CLICK, 0, 0);
}

void UserScroll(vistrel::TControl& bar, int code, int thumb) {
    HWND parent = GetParent(bar.Handle());
    SendMessageW(parent, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(bar.Handle()));
}

void UserChoose(vistrel::TComboBox& box, int index) {
    SendMessageW(box.Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(box.Handle()), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(box.Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box.Handle()));
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void ExpectLaidOutFor(vistrel::MainWindow& f, int dpi) {
    auto s = [&](int v) { return vistrel::ScaleForDpi(v, dpi); };
    RECT button = InParent(f.PhotoButton.Handle());
    EXPECT_EQ(button.bottom - button.top, s(23));
    EXPECT_EQ(button.left, s(12));
    RECT panel;
    GetClientRect(f.PreviewFrame.Handle(), &panel);
    EXPECT_EQ(panel.bottom, panel.right * 3 / 4);
    EXPECT_EQ(SendMessageW(f.PhotoList.Handle(), LB_GETITEMHEIGHT, 0, 0), s(13));
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.PhotoButton.Handle(), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -s(vistrel::UiFontHeight()));
    MINMAXINFO mmi{};
    SendMessageW(f.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, s(218));
}

} // namespace testing_support
