#include "tests/wine/support/panel_driver.h"

#include <algorithm>

namespace testing_support {

PanelDriver::PanelDriver(const Program& program)
    : main_(program.FindTopWindow(L"TMainForm", L"Vistrel v0.12")) {
    // Wait until the panel's controls exist and the window is shown.
    if (main_)
        WaitFor([&] { return IsWindowVisible(main_) && PhotoButton() != nullptr; });
}

namespace {
struct Search {
    const std::wstring* text;
    const std::wstring* cls;
    int skip;
    HWND found;
};
} // namespace

HWND PanelDriver::ByText(const std::wstring& text) const {
    Search s{&text, nullptr, 0, nullptr};
    EnumChildWindows(
        main_,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (WindowText(h) == *s->text) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND PanelDriver::ByClass(const std::wstring& className, int n) const {
    Search s{nullptr, &className, n, nullptr};
    EnumChildWindows(
        main_,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (CompareStringOrdinal(ClassName(h).c_str(), -1, s->cls->c_str(), -1, TRUE) ==
                CSTR_EQUAL) {
                if (s->skip-- == 0) {
                    s->found = h;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void PanelDriver::Click(HWND button) const {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PanelDriver::ChooseType(int index) const {
    HWND box = TypeBox();
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

void PanelDriver::ResizeTo(const wchar_t* width, const wchar_t* height) const {
    if (SendMessageW(ScaleBox(), BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageW(ScaleBox(), BM_CLICK, 0, 0);
    if (SendMessageW(ProportionalBox(), BM_GETCHECK, 0, 0) == BST_CHECKED)
        SendMessageW(ProportionalBox(), BM_CLICK, 0, 0);
    SendMessageW(WidthBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(width));
    SendMessageW(HeightBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(height));
}

void PanelDriver::SetPercent(int percent) const {
    HWND slider = ByClass(L"ScrollBar", 1);
    SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, percent),
                 reinterpret_cast<LPARAM>(slider));
}

bool PanelDriver::PhotoUnderWay() const {
    static const UINT query = RegisterWindowMessageW(L"Vistrel.PhotoUnderWay");
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main_, query, 0, 0, SMTO_NORMAL, 10000, &result) != 0 && result != 0;
}

bool PanelDriver::WaitForPhotos(std::chrono::milliseconds timeout) const {
    return WaitFor([&] { return !PhotoUnderWay(); }, timeout);
}

bool PanelDriver::ClickAndWait(HWND button) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result))
        return false;
    return WaitForPhotos();
}

void PanelDriver::Idle() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
}

int PanelDriver::ListCount() const {
    return static_cast<int>(SendMessageW(List(), LB_GETCOUNT, 0, 0));
}

std::wstring PanelDriver::SelectedItem() const {
    return WindowText(List());
}

void PanelDriver::Close() const {
    PostMessageW(main_, WM_CLOSE, 0, 0);
}

std::vector<std::wstring> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    std::error_code ec;
    for (auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace testing_support
