#include "app/win32/about_dialog.h"

#include "base/error.h"
#include "ui/win32/application.h"
#include "ui/win32/fonts.h"

#include <shellapi.h>

#include <utility>

namespace vistrel {

namespace {
constexpr COLORREF kLinkColor = RGB(0, 0, 128);
} // namespace

void AboutDialog::Create(HWND owner) {
    Emblem.OnPaint = [this](HDC dc, const RECT&) { PaintEmblem(dc); };
    std::wstring mail = std::wstring(L"mailto: ") + kMailAddress;
    const Child children[] = {
        {&OkButton, L"BUTTON", L"&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK},
        {&VersionLabel, L"STATIC", L"Vistrel", SS_NOPREFIX, 101},
        {&TextLabel, L"STATIC", L"Снимки трёхмерных миров", SS_NOPREFIX, 102},
        // Buttons that look like links: Tab reaches them, and Space or Enter opens them.
        {&WebLink, L"BUTTON", kWebAddress, BS_OWNERDRAW | WS_TABSTOP, 103},
        {&MailLink, L"BUTTON", mail.c_str(), BS_OWNERDRAW | WS_TABSTOP, 104},
    };
    MakeDialog(kClassName, kCaption, owner, children);
    Emblem.Create(hwnd_, WS_VISIBLE);
    Layout(DpiOf(owner));

    WebLink.OnClick = [this] { OnWebLinkClick(); };
    MailLink.OnClick = [this] { OnMailLinkClick(); };
}

void AboutDialog::Layout(int dpi) {
    // The old fonts are freed once the controls hold the new ones.
    UniqueFont oldFont = std::exchange(font_, MakeUiFont(dpi));
    UniqueFont oldLink = std::exchange(linkFont_, MakeUiFont(dpi, {.underline = true}));
    // The emblem from a picture of twice its size where the screen is larger than 96 DPI.
    emblem_.reset(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), dpi > 96 ? L"EMBLEM2X" : L"EMBLEM", IMAGE_BITMAP, 0, 0, 0)));
    // The links line up with the line of text above them at every scale.
    const Place places[] = {
        {&OkButton, 212, 76, 77, 23, font_.get()},   {&VersionLabel, 79, 12, 0, 13, font_.get()},
        {&TextLabel, 78, 32, 0, 13, font_.get()},    {&WebLink, 78, 52, 0, 13, linkFont_.get()},
        {&MailLink, 78, 72, 0, 13, linkFont_.get()}, {&Emblem, 12, 12, 50, 44, nullptr},
    };
    Arrange(dpi, kClientWidth, kClientHeight, places);
    for (TLabel* label : {&VersionLabel, &TextLabel})
        label->AdjustBounds();
    for (TButton* link : {&WebLink, &MailLink}) {
        // As wide as the text, and a pixel around it for the focus frame.
        RECT r;
        ::GetWindowRect(link->Handle(), &r);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        const int width = TextWidth(link->Text(), linkFont_.get()) + 2;
        ::SetWindowPos(link->Handle(), nullptr, r.left - 1, r.top, width, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void AboutDialog::Show(HWND owner) {
    // The version shown is the main window's caption at this moment.
    int n = owner ? ::GetWindowTextLengthW(owner) : 0;
    std::wstring caption(static_cast<size_t>(n) + 1, L'\0');
    caption.resize(static_cast<size_t>(owner ? ::GetWindowTextW(owner, caption.data(), n + 1) : 0));
    VersionLabel.SetCaption(caption);
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    Open(owner, screen, OkButton.Handle());
}

void AboutDialog::OnWebLinkClick() {
    ::ShellExecuteW(Application.Handle(), L"open", kWebAddress, nullptr, nullptr, 0);
}

void AboutDialog::OnMailLinkClick() {
    std::wstring target = std::wstring(L"mailto:") + kMailAddress;
    ::ShellExecuteW(Application.Handle(), L"open", target.c_str(), nullptr, nullptr, 0);
}

void AboutDialog::PaintEmblem(HDC dc) {
    RECT area;
    ::GetClientRect(Emblem.Handle(), &area);
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!emblem_)
        return;
    UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    SelectObjectGuard select(memory.get(), emblem_.get());
    BITMAP bm{};
    ::GetObjectW(emblem_.get(), sizeof bm, &bm);
    // Drawn transparent: the colour of the bottom-left pixel is left out. Its size is the
    // picture area's, for the screen's scale.
    COLORREF key = ::GetPixel(memory.get(), 0, bm.bmHeight - 1);
    ::GdiTransparentBlt(dc, 0, 0, area.right, area.bottom, memory.get(), 0, 0, bm.bmWidth,
                        bm.bmHeight, key);
}

void AboutDialog::OnCommand(HWND control, WORD code) {
    TControl* controls[] = {&VersionLabel, &TextLabel, &WebLink, &MailLink, &OkButton};
    if (TControl* c = FindControl(controls, control))
        c->Command(code);
}

bool AboutDialog::IsLink(HWND hwnd) const {
    return hwnd == WebLink.Handle() || hwnd == MailLink.Handle();
}

int AboutDialog::TextWidth(const std::wstring& text, HFONT font) const {
    WindowDC dc = WindowDC::Client(hwnd_);
    SelectObjectGuard select(dc.get(), font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void AboutDialog::DrawLink(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    wchar_t text[128]{};
    const int n = ::GetWindowTextW(item.hwndItem, text, 128);
    SelectObjectGuard select(dc, linkFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kLinkColor);
    RECT inner = r;
    ::InflateRect(&inner, -1, 0);
    ::DrawTextW(dc, text, n, &inner, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &r);
}

bool AboutDialog::OnOk() {
    // Enter on a link opens it, as a click does; the dialog stays.
    HWND focus = ::GetFocus();
    if (focus == WebLink.Handle())
        OnWebLinkClick();
    else if (focus == MailLink.Handle())
        OnMailLinkClick();
    else
        return true;
    return false;
}

LRESULT AboutDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (IsLink(item.hwndItem)) {
            DrawLink(item);
            return TRUE;
        }
        break;
    }
    case WM_SETCURSOR:
        if (IsLink(reinterpret_cast<HWND>(wParam))) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    return TDialog::HandleMessage(msg, wParam, lParam);
}

} // namespace vistrel
