#include "about/win32/about_form.h"

#include "base/error.h"
#include "ui/win32/application.h"
#include "ui/win32/fonts.h"

#include <shellapi.h>

namespace vistrel {

TAboutForm* AboutForm = nullptr;

namespace {

constexpr COLORREF kLinkColor = RGB(0, 0, 128);

} // namespace

void TAboutForm::Create(HWND owner) {
    owner_ = owner;
    RegisterWindowClass(kClassName, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT r{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    CreateHandle(exStyle, kClassName, kCaption, style, 0, 0, r.right - r.left, r.bottom - r.top,
                 owner, nullptr);
    font_ = MakeUiFont(96);
    linkFont_ = MakeUiFont(96, {.underline = true});
    emblem_.reset(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"EMBLEM", IMAGE_BITMAP, 0, 0, 0)));

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    struct Child {
        TControl* control;
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
        int x, y, w, h;
        UINT id;
        HFONT font;
    };
    std::wstring mail = std::wstring(L"mailto: ") + kMailAddress;
    const Child children[] = {
        {&Button1, L"BUTTON", L"&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, 212, 76, 77, 23, IDOK,
         font_.get()},
        {&botVersion, L"STATIC", L"Vistrel", SS_NOPREFIX, 79, 12, 0, 13, 101, font_.get()},
        {&Label2, L"STATIC", L"Снимки трёхмерных миров", SS_NOPREFIX, 78, 32, 0, 13, 102,
         font_.get()},
        {&Label3, L"STATIC", kWebAddress, SS_NOPREFIX | SS_NOTIFY, 78, 52, 0, 13, 103,
         linkFont_.get()},
        {&Label4, L"STATIC", mail.c_str(), SS_NOPREFIX | SS_NOTIFY | SS_RIGHT, 78, 72, 99, 13, 104,
         linkFont_.get()},
    };
    for (const Child& s : children) {
        HWND h = ::CreateWindowExW(0, s.cls, s.text, WS_CHILD | WS_VISIBLE | s.style, s.x, s.y, s.w,
                                   s.h, hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(s.id)),
                                   instance, nullptr);
        if (!h)
            throw Error(L"Out of system resources");
        s.control->Attach(h);
        ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    }
    // The mail link is right-aligned in a width of 99: it keeps that right edge and grows
    // to the left as its text needs.
    Label4.RightAligned = true;
    for (TLabel* label : {&botVersion, &Label2, &Label3, &Label4})
        label->AdjustBounds();
    Image.Create(hwnd_, WS_VISIBLE);
    ::SetWindowPos(Image.Handle(), nullptr, 12, 12, 50, 44, SWP_NOZORDER | SWP_NOACTIVATE);
    Image.OnPaint = [this](HDC dc, const RECT&) { PaintEmblem(dc); };

    Label3.OnClick = [this](TObject* s) { Label3Click(s); };
    Label4.OnClick = [this](TObject* s) { Label4Click(s); };
    Guarded([this] { FormCreate(this); });
}

void TAboutForm::FormCreate(TObject*) {
    // Nothing to do: fonts keep their pixel sizes on every screen.
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
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    ::SetWindowPos(hwnd_, HWND_TOP, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    if (owner_)
        ::EnableWindow(owner_, FALSE);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(Button1.Handle());
    modalResult_ = 0;
    Application.RunModal(hwnd_, [this] { return modalResult_ != 0; });
    if (owner_)
        ::EnableWindow(owner_, TRUE);
    ::ShowWindow(hwnd_, SW_HIDE);
    if (owner_)
        ::SetActiveWindow(owner_);
    return modalResult_ ? modalResult_ : IDCANCEL;
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
    // Drawn transparent: the colour of the bottom-left pixel is left out.
    COLORREF key = ::GetPixel(memory.get(), 0, bm.bmHeight - 1);
    ::GdiTransparentBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, bm.bmWidth,
                        bm.bmHeight, key);
}

bool TAboutForm::IsLink(HWND hwnd) const {
    return hwnd == Label3.Handle() || hwnd == Label4.Handle();
}

LRESULT TAboutForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            modalResult_ = id;
            return 0;
        }
        TControl* controls[] = {&botVersion, &Label2, &Label3, &Label4, &Button1};
        if (TControl* c = FindControl(controls, reinterpret_cast<HWND>(lParam)))
            c->Command(HIWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        modalResult_ = IDCANCEL;
        return 0;
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
    return Default(msg, wParam, lParam);
}

} // namespace vistrel
