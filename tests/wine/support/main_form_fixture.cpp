#include "tests/wine/support/main_form_fixture.h"

#include "ui/layout.h"
#include "ui/win32/fonts.h"

#include <fstream>

namespace testing_support {

void MainFormTest::SetUpTestSuite() {
    using vistrel::Application;
    if (!Application.Handle()) {
        Application.Initialize(GetModuleHandleW(nullptr));
        Application.SetTitle(L"Vistrel");
    }
}

void MainFormTest::SetUp() {
    folder_ = std::make_unique<TempFolder>(L"vistrel-form");
}

void MainFormTest::TearDown() {
    DestroyForm();
    folder_.reset();
}

void MainFormTest::CreateForm() {
    DestroyForm();
    form_ = std::make_unique<vistrel::TMainForm>(ProgramPath());
    form_->Create(vistrel::Application.Handle());
    vistrel::Application.SetMainForm(form_->Handle());
    ShowWindow(form_->Handle(), SW_SHOWNORMAL);
    UpdateWindow(form_->Handle());
    Pump();
}

void MainFormTest::DestroyForm() {
    if (!form_)
        return;
    form_->Destroy();
    form_.reset();
    vistrel::Application.SetMainForm(nullptr);
    Pump();
}

void MainFormTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (form_)
        form_->UpdateHint();
}

RECT MainFormTest::WindowRect(HWND hwnd) const {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT MainFormTest::ClientRectOf(HWND hwnd) const {
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

void ExpectLaidOutFor(vistrel::TMainForm& f, int dpi) {
    auto s = [&](int v) { return vistrel::ScaleForDpi(v, dpi); };
    RECT button = InParent(f.PhotoButton.Handle());
    EXPECT_EQ(button.bottom - button.top, s(23));
    EXPECT_EQ(button.left, s(12));
    RECT panel;
    GetClientRect(f.Panel3.Handle(), &panel);
    EXPECT_EQ(panel.bottom, panel.right * 3 / 4);
    EXPECT_EQ(SendMessageW(f.FileListBox.Handle(), LB_GETITEMHEIGHT, 0, 0), s(13));
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.PhotoButton.Handle(), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -s(vistrel::UiFontHeight()));
    MINMAXINFO mmi{};
    SendMessageW(f.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, s(218));
}

} // namespace testing_support
