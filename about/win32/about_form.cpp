#include "about/win32/about_form.h"

#include "base/error.h"
#include "ui/win32/application.h"
#include "ui/win32/fonts.h"

#include <shellapi.h>

#include <utility>

namespace vistrel {

TAboutForm* AboutForm = nullptr;

namespace {
constexpr COLORREF kLinkColor = RGB(0, 0, 128);
} // namespace

void TAboutForm::Create(HWND owner) {
    owner_ = owner;
    Image.OnPaint = [this](HDC dc, const RECT&) { PaintEmblem(dc); };
    std::wstring mail = std::wstring(L"mailto: ") + kMailAddress;
    const Child children[] = {
        {&Button1, L"BUTTON", L"&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK},
        {&botVersion, L"STATIC", L"Vistrel", SS_NOPREFIX, 101},
        {&Label2, L"STATIC", L"Снимки трёхмерных миров", SS_NOPREFIX, 102},
        {&Label3, L"STATIC", kWebAddress, SS_NOPREFIX | SS_NOTIFY, 103},
        {&Label4, L"STATIC", mail.c_str(), SS_NOPREFIX | SS_NOTIFY | SS_RIGHT, 104},
    };
    // The mail link is right-aligned in a width of 99: it keeps that right edge and grows
    // to the left as its text needs.
    Label4.RightAligned = true;
    MakeDialog(kClassName, kCaption, owner, children);
    Image.Create(hwnd_, WS_VISIBLE);
    Layout(DpiOf(owner));

    Label3.OnClick = [this](TObject* s) { Label3Click(s); };
    Label4.OnClick = [this](TObject* s) { Label4Click(s); };
    Guarded([this] { FormCreate(this); });
}

void TAboutForm::Layout(int dpi) {
    // The old fonts are freed once the controls hold the new ones.
    UniqueFont oldFont = std::exchange(font_, MakeUiFont(dpi));
    UniqueFont oldLink = std::exchange(linkFont_, MakeUiFont(dpi, {.underline = true}));
    // The emblem from a picture of twice its size where the screen is larger than 96 DPI.
    emblem_.reset(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), dpi > 96 ? L"EMBLEM2X" : L"EMBLEM", IMAGE_BITMAP, 0, 0, 0)));
    const Place places[] = {
        {&Button1, 212, 76, 77, 23, font_.get()},   {&botVersion, 79, 12, 0, 13, font_.get()},
        {&Label2, 78, 32, 0, 13, font_.get()},      {&Label3, 78, 52, 0, 13, linkFont_.get()},
        {&Label4, 78, 72, 99, 13, linkFont_.get()}, {&Image, 12, 12, 50, 44, nullptr},
    };
    Arrange(dpi, kClientWidth, kClientHeight, places);
    for (TLabel* label : {&botVersion, &Label2, &Label3, &Label4})
        label->AdjustBounds();
}

void TAboutForm::FormCreate(TObject*) {
    // Nothing to do: the dialog is laid out for its screen's scale as it is made.
}

void TAboutForm::FormShow(TObject*) {
    // The version shown is the main window's caption at this moment.
    int n = owner_ ? ::GetWindowTextLengthW(owner_) : 0;
    std::wstring caption(static_cast<size_t>(n) + 1, L'\0');
    caption.resize(
        static_cast<size_t>(owner_ ? ::GetWindowTextW(owner_, caption.data(), n + 1) : 0));
    botVersion.SetCaption(caption);
}

int TAboutForm::ShowModal() {
    // Made at start-up, where a failure was reported and the program went on without it.
    if (!hwnd_)
        throw Error(L"Out of system resources");
    FormShow(this);
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return RunModal(owner_, screen, Button1.Handle());
}

void TAboutForm::Label3Click(TObject*) {
    ::ShellExecuteW(Application.Handle(), L"open", kWebAddress, nullptr, nullptr, 0);
}

void TAboutForm::Label4Click(TObject*) {
    std::wstring target = std::wstring(L"mailto:") + kMailAddress;
    ::ShellExecuteW(Application.Handle(), L"open", target.c_str(), nullptr, nullptr, 0);
}

void TAboutForm::PaintEmblem(HDC dc) {
    RECT area;
    ::GetClientRect(Image.Handle(), &area);
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

void TAboutForm::OnCommand(HWND control, WORD code) {
    TControl* controls[] = {&botVersion, &Label2, &Label3, &Label4, &Button1};
    if (TControl* c = FindControl(controls, control))
        c->Command(code);
}

bool TAboutForm::IsLink(HWND hwnd) const {
    return hwnd == Label3.Handle() || hwnd == Label4.Handle();
}

LRESULT TAboutForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        if (IsLink(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, kLinkColor);
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
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
