#include "app/win32/main_form.h"

#include "about/win32/about_form.h"
#include "album/win32/preview_picture.h"
#include "ui/win32/application.h"
#include "base/error.h"
#include "base/win32/file_system.h"
#include "ui/snapping.h"

#include <windowsx.h>

#include <algorithm>

namespace vistrel {

TMainForm* MainForm = nullptr;

namespace {

enum class Kind {
    StatusBar,
    PageControl,
    TabSheet,
    Panel,
    Image,
    Spacer,
    FileList,
    Label,
    DropDownList,
    ScrollBar,
    CheckBox,
    Edit,
    Button,
};

constexpr uint8_t kBottom = kAnchorLeft | kAnchorBottom;
constexpr uint8_t kBottomStretch = kAnchorLeft | kAnchorRight | kAnchorBottom;
constexpr uint8_t kBottomRight = kAnchorRight | kAnchorBottom;

constexpr UINT kFirstControlId = 100;
enum MenuId : UINT { kHideId = 1001, kN1Id, kDelPhotoId, kN4Id, kAboutId };

UniqueFont MakeFont(int weight) {
    LOGFONTW lf{};
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfCharSet = RUSSIAN_CHARSET; // every caption is Cyrillic
    lf.lfQuality = DEFAULT_QUALITY;
    wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
    return UniqueFont(::CreateFontIndirectW(&lf));
}

} // namespace

struct TMainForm::ControlRow {
    TControl* control;
    Kind kind;
    TControl* parent; // nullptr: the window
    Dock dock;
    Box design;
    uint8_t anchors;
    const wchar_t* caption;
    const wchar_t* hint;
    int designClientWidth = 0, designClientHeight = 0;
};

// The window's layout, from outside in. The order is also the stacking and keyboard
// order: within Panel1, PhotoButton comes first, then FType, Scale, XScale, YScale,
// JPEGSlider, Proportional and ScaleSlider; Panel1 comes before the list, so the photo
// button has the focus at start.
std::vector<TMainForm::ControlRow> TMainForm::LayoutTable() {
    constexpr uint8_t kTopLeft = kAnchorLeft | kAnchorTop;
    return {
        {&StatusBar, Kind::StatusBar, nullptr, Dock::Bottom, {0, 0, 0, 20}, kTopLeft, L"", L""},
        {&PageControl1, Kind::PageControl, nullptr, Dock::Client, {}, kTopLeft, L"", L""},
        {&TabSheet1, Kind::TabSheet, &PageControl1, Dock::Client, {}, kTopLeft, L"Запуск", L""},
        {&Panel2, Kind::Panel, &TabSheet1, Dock::Client, {}, kTopLeft, L"", L""},
        {&TabSheet2, Kind::TabSheet, &PageControl1, Dock::Client, {}, kTopLeft, L"Фото", L""},
        {&Panel3,
         Kind::Panel,
         &TabSheet2,
         Dock::Top,
         {0, 0, 0, 151},
         kTopLeft,
         L"Нет фотографии",
         L""},
        {&Photo, Kind::Image, &Panel3, Dock::Client, {}, kTopLeft, L"", L""},
        {&Bevel2, Kind::Spacer, &TabSheet2, Dock::Top, {0, 0, 0, 2}, kTopLeft, L"", L""},
        {&Panel1,
         Kind::Panel,
         &TabSheet2,
         Dock::Bottom,
         {0, 0, 0, 250},
         kTopLeft,
         L"",
         L"",
         202,
         250},
        {&PhotoButton,
         Kind::Button,
         &Panel1,
         Dock::None,
         {12, 215, 179, 23},
         kBottomStretch,
         L"Сфотографировать",
         L""},
        {&FType,
         Kind::DropDownList,
         &Panel1,
         Dock::None,
         {12, 29, 179, 100},
         kBottomStretch,
         L"",
         L""},
        {&Scale,
         Kind::CheckBox,
         &Panel1,
         Dock::None,
         {12, 109, 177, 17},
         kBottom,
         L"Изменить разрешение фото:",
         L""},
        {&XScale, Kind::Edit, &Panel1, Dock::None, {32, 133, 64, 21}, kBottom, L"0", L""},
        {&YScale, Kind::Edit, &Panel1, Dock::None, {126, 133, 64, 21}, kBottom, L"0", L""},
        {&JPEGSlider,
         Kind::ScrollBar,
         &Panel1,
         Dock::None,
         {12, 78, 177, 19},
         kBottomStretch,
         L"",
         L"Чем выше число, тем лучше качество"},
        {&Proportional,
         Kind::CheckBox,
         &Panel1,
         Dock::None,
         {12, 161, 145, 17},
         kBottom,
         L"Сохранять пропорции:",
         L""},
        {&ScaleSlider,
         Kind::ScrollBar,
         &Panel1,
         Dock::None,
         {12, 186, 177, 19},
         kBottomStretch,
         L"",
         L"Масштаб"},
        {&Label1, Kind::Label, &Panel1, Dock::None, {12, 9, 0, 13}, kBottom, L"Тип файла:", L""},
        {&Label2,
         Kind::Label,
         &Panel1,
         Dock::None,
         {12, 57, 0, 13},
         kBottom,
         L"Качество сжатия JPEG:",
         L""},
        {&Label3, Kind::Label, &Panel1, Dock::None, {190, 57, 0, 13}, kBottomRight, L"0", L""},
        {&Label4, Kind::Label, &Panel1, Dock::None, {12, 137, 0, 13}, kBottom, L"X:", L""},
        {&Label5, Kind::Label, &Panel1, Dock::None, {106, 137, 0, 13}, kBottom, L"Y:", L""},
        {&Label6, Kind::Label, &Panel1, Dock::None, {190, 163, 0, 13}, kBottomRight, L"0%", L""},
        {&Bevel1, Kind::Spacer, &TabSheet2, Dock::Bottom, {0, 0, 0, 2}, kTopLeft, L"", L""},
        {&FileListBox, Kind::FileList, &TabSheet2, Dock::Client, {}, kTopLeft, L"", L""},
    };
}

TMainForm::TMainForm(std::wstring programPath)
    : programPath_(std::move(programPath)), photosFolder_(FolderOf(programPath_) + L"Photos") {
    std::wstring base = programPath_;
    size_t dot = base.find_last_of(L'.');
    size_t slash = base.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        base.resize(dot);
    settingsPath_ = base + L".ini";

    Hide = {kHideId, L"Свернуть", L"Свернуть панель", true};
    N1 = {kN1Id, nullptr, L"", true};
    DelPhoto = {kDelPhotoId, L"Удалить фото", L"", false};
    N4 = {kN4Id, nullptr, L"", false};
    About = {kAboutId, L"О программе", L"О программе", true};
}

TMainForm::~TMainForm() {
    if (ImageList)
        ImageList_Destroy(ImageList);
}

void TMainForm::Create(HWND owner) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateHandle(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT, kClassName, kCaption,
                 WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, CW_USEDEFAULT,
                 CW_USEDEFAULT, kDesignWidth, kDesignHeight, owner, nullptr);
    font_ = MakeFont(FW_NORMAL);
    boldFont_ = MakeFont(FW_BOLD);
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    CreateControls();
    Realign();
    FormResize(this);
    Guarded([this] { FormCreate(this); });
}

void TMainForm::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    UINT id = kFirstControlId;
    for (const ControlRow& row : LayoutTable()) {
        TControl& c = *row.control;
        HWND parent = row.parent ? row.parent->Handle() : hwnd_;
        c.Hint = row.hint;
        auto create = [&](DWORD exStyle, const wchar_t* cls, DWORD style) {
            HWND h = ::CreateWindowExW(
                exStyle, cls, row.caption, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
            if (!h)
                throw Error(L"Out of system resources");
            c.Attach(h);
        };
        switch (row.kind) {
        case Kind::StatusBar:
            create(0, STATUSCLASSNAMEW,
                   SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER);
            ::SendMessageW(c.Handle(), SB_SIMPLE, TRUE, 0);
            break;
        case Kind::PageControl: {
            create(WS_EX_CONTROLPARENT, WC_TABCONTROLW, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
            ImageList = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
            auto icon = static_cast<HICON>(
                ::LoadImageW(instance, L"PHOTOTAB", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
            if (icon) {
                ImageList_AddIcon(ImageList, icon);
                ::DestroyIcon(icon);
            }
            TabCtrl_SetImageList(c.Handle(), ImageList);
            break;
        }
        case Kind::TabSheet: {
            auto& sheet = static_cast<TTabSheet&>(c);
            sheet.Bevel = false;
            sheet.Create(parent, L"", WS_VISIBLE);
            // The page's tab; its caption is the tab's text, not the page's.
            TCITEMW item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = const_cast<wchar_t*>(row.caption);
            item.iImage = &c == &TabSheet2 ? 0 : -1;
            int index = TabCtrl_GetItemCount(parent);
            TabCtrl_InsertItem(parent, index, &item);
            break;
        }
        case Kind::Panel:
            static_cast<TPanel&>(c).Create(parent, row.caption, WS_VISIBLE);
            break;
        case Kind::Image:
            static_cast<TImage&>(c).Create(parent, 0);
            break;
        case Kind::Spacer:
            break;
        case Kind::FileList:
            static_cast<TFileListBox&>(c).Create(parent, WS_VISIBLE | WS_TABSTOP);
            break;
        case Kind::Label:
            create(0, L"STATIC", SS_NOPREFIX | (row.anchors & kAnchorRight ? SS_RIGHT : SS_LEFT));
            static_cast<TLabel&>(c).RightAligned = (row.anchors & kAnchorRight) != 0;
            break;
        case Kind::DropDownList:
            create(0, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
            break;
        case Kind::ScrollBar:
            create(0, L"SCROLLBAR", SBS_HORZ | WS_TABSTOP);
            break;
        case Kind::CheckBox:
            create(0, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP);
            break;
        case Kind::Edit:
            create(WS_EX_CLIENTEDGE, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP);
            break;
        case Kind::Button:
            create(0, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
            break;
        }
        if (c.Handle())
            ::SendMessageW(c.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        ++id;

        LayoutItem item;
        item.dock = row.dock;
        item.design = row.design;
        item.anchors = row.anchors;
        item.designClientWidth = row.designClientWidth;
        item.designClientHeight = row.designClientHeight;
        auto parentIt = std::find(layoutControls_.begin(), layoutControls_.end(), row.parent);
        item.parent = row.parent ? static_cast<int>(parentIt - layoutControls_.begin()) : -1;
        if (&c == &Panel3)
            panel3Index_ = layout_.size();
        layout_.push_back(item);
        layoutControls_.push_back(&c);
    }

    Panel3.Color = RGB(0, 0, 0);
    Panel3.FontColor = RGB(0, 255, 0);
    Panel3.CaptionFont = boldFont_.get();
    Panel2.Bevel = true;
    Photo.OnPaint = [this](HDC dc, const RECT& r) { PaintPhoto(dc, r); };

    FType.AddItem(L".BMP");
    FType.AddItem(L".JPG");
    FType.SetItemIndex(1);
    JPEGSlider.SetRange(0, 100);
    ScaleSlider.SetRange(1, 100);

    PhotoButton.OnClick = [this](TObject* s) { PhotoButtonClick(s); };
    FType.OnChange = [this](TObject* s) { FTypeChange(s); };
    JPEGSlider.OnChange = [this](TObject* s) { JPEGSliderChange(s); };
    Scale.OnClick = [this](TObject* s) { ScaleClick(s); };
    Proportional.OnClick = [this](TObject* s) { ProportionalClick(s); };
    ScaleSlider.OnChange = [this](TObject* s) { ScaleSliderChange(s); };
    FileListBox.OnChange = [this](TObject* s) { FileListBoxChange(s); };
    FileListBox.OnKeyDown = [this](TObject* s, WORD& key, unsigned shift) {
        FileListBoxKeyDown(s, key, shift);
    };
}

void TMainForm::Realign() {
    RECT client;
    ::GetClientRect(hwnd_, &client);
    auto clientArea = [this](int index, const Box& outer) -> Box {
        if (index < 0)
            return outer;
        TControl* c = layoutControls_[static_cast<size_t>(index)];
        if (c == &PageControl1) {
            RECT r{0, 0, outer.width, outer.height};
            TabCtrl_AdjustRect(PageControl1.Handle(), FALSE, &r);
            return {r.left, r.top, r.right - r.left, r.bottom - r.top};
        }
        if (c == &Panel1 || c == &Panel2 || c == &Panel3) {
            constexpr int b = TPanel::kBevelWidth;
            return {b, b, outer.width - 2 * b, outer.height - 2 * b};
        }
        return outer;
    };
    std::vector<Box> boxes = ArrangeLayout(layout_, client.right, client.bottom, clientArea);
    HDWP defer = ::BeginDeferWindowPos(static_cast<int>(boxes.size()));
    for (size_t i = 0; i < boxes.size(); ++i) {
        HWND h = layoutControls_[i]->Handle();
        if (!h || !defer)
            continue;
        Box b = boxes[i];
        if (auto* label = dynamic_cast<TLabel*>(layoutControls_[i])) {
            // Labels are as wide as their text; a right-aligned one grows to the left.
            int width = label->TextWidth();
            if (label->RightAligned)
                b.left = b.right() - width;
            b.width = width;
        }
        defer = ::DeferWindowPos(defer, h, nullptr, b.left, b.top, b.width, b.height,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer)
        ::EndDeferWindowPos(defer);
}

void TMainForm::FormCreate(TObject*) {
    // The first page has nothing on it: only "Фото" and its tab are shown.
    TabCtrl_DeleteItem(PageControl1.Handle(), 0);
    TabSheet1.SetVisible(false);
    TabCtrl_SetCurSel(PageControl1.Handle(), 0);
    Realign();

    LoadSettings();
    ::CreateDirectoryW(photosFolder_.c_str(), nullptr); // existing already: fine
    FileListBox.AssignFolder(photosFolder_);
}

void TMainForm::Destroy() {
    Guarded([this] { FormDestroy(this); });
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

void TMainForm::FormDestroy(TObject*) {
    SaveSettings();
}

void TMainForm::FormResize(TObject*) {
    RECT r;
    ::GetClientRect(Panel3.Handle(), &r);
    int height = PreviewHeightForWidth(r.right);
    if (layout_[panel3Index_].design.height != height) {
        layout_[panel3Index_].design.height = height;
        Realign();
    }
}

RECT TMainForm::Bounds() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r;
}

void TMainForm::SetBounds(int left, int top, int width, int height) {
    ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TMainForm::ClientHeight() const {
    RECT r;
    ::GetClientRect(hwnd_, &r);
    return r.bottom;
}

int TMainForm::NonClientHeight() const {
    RECT outer = Bounds(), client;
    ::GetClientRect(hwnd_, &client);
    return (outer.bottom - outer.top) - client.bottom;
}

void TMainForm::SetClientHeight(int height) {
    RECT r = Bounds();
    SetBounds(r.left, r.top, r.right - r.left, NonClientHeight() + height);
}

void TMainForm::WMNCLButtonDblClk() {
    if (Tag == 0) {
        Tag = ClientHeight();
        SetClientHeight(0);
        maxHeight_ = 1;
        SetClientHeight(0); // now held at the title bar by the limit
    } else {
        maxHeight_ = 0;
        SetClientHeight(Tag);
        Tag = 0;
    }
}

void TMainForm::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, kMinWidth);
    if (maxHeight_ > 0) {
        // Rolled up: the title bar and frame only, however the window is dragged.
        int h = NonClientHeight();
        info.ptMinTrackSize.y = h;
        info.ptMaxTrackSize.y = h;
    }
}

void TMainForm::OnWindowPosChanging(WINDOWPOS& pos) {
    RECT current = Bounds();
    if (!(pos.flags & SWP_NOSIZE)) {
        pos.cx = std::max(pos.cx, kMinWidth);
        if (maxHeight_ > 0)
            pos.cy = NonClientHeight();
    }
    if (pos.flags & SWP_NOMOVE)
        return;
    int width = pos.flags & SWP_NOSIZE ? current.right - current.left : pos.cx;
    int height = pos.flags & SWP_NOSIZE ? current.bottom - current.top : pos.cy;
    RECT proposed{pos.x, pos.y, pos.x + width, pos.y + height};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoW(::MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    Box work{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right - mi.rcWork.left,
             mi.rcWork.bottom - mi.rcWork.top};
    Point p = SnapToWorkArea({pos.x, pos.y}, width, height, work);
    pos.x = p.x;
    pos.y = p.y;
}

void TMainForm::HideClick(TObject*) {
    Application.Minimize();
}

void TMainForm::AboutClick(TObject*) {
    if (AboutForm)
        AboutForm->ShowModal();
}

void TMainForm::ShowPopupMenu(HWND over, int x, int y) {
    if (over == FileListBox.Handle())
        FileListBoxContextPopup(&FileListBox);
    if (x == -1 && y == -1) {
        // From the keyboard: under the focused control's top-left corner.
        RECT r;
        HWND focus = ::GetFocus();
        ::GetWindowRect(focus && ::IsChild(hwnd_, focus) ? focus : hwnd_, &r);
        x = r.left + 4;
        y = r.top + 4;
    }
    UniqueMenu menu(::CreatePopupMenu());
    for (const TMenuItem* item : {&Hide, &N1, &DelPhoto, &N4, &About}) {
        if (!item->Visible)
            continue;
        if (item->Caption)
            ::AppendMenuW(menu.get(), MF_STRING, item->Id, item->Caption);
        else
            ::AppendMenuW(menu.get(), MF_SEPARATOR, item->Id, nullptr);
    }
    UINT chosen = static_cast<UINT>(::TrackPopupMenuEx(
        menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, hwnd_, nullptr));
    switch (chosen) {
    case kHideId:
        HideClick(this);
        break;
    case kDelPhotoId:
        DelPhotoClick(this);
        break;
    case kAboutId:
        AboutClick(this);
        break;
    }
}

void TMainForm::OnMenuSelect(UINT id, UINT flags) {
    menuHint_.clear();
    if (flags != 0xFFFF && !(flags & (MF_SEPARATOR | MF_POPUP))) {
        for (const TMenuItem* item : {&Hide, &N1, &DelPhoto, &N4, &About})
            if (item->Id == id)
                menuHint_ = item->Hint;
    }
    if (menuActive_)
        SetStatusText(menuHint_);
}

namespace {
// A hint may hold a short and a long form separated by "|": the status bar shows the part
// after the first "|".
std::wstring StatusPartOf(const std::wstring& hint) {
    size_t bar = hint.find(L'|');
    return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}
} // namespace

std::wstring TMainForm::StatusText() const {
    return statusText_;
}

void TMainForm::SetStatusText(const std::wstring& text) {
    std::wstring shown = StatusPartOf(text);
    if (shown == statusText_)
        return;
    statusText_ = shown;
    ::SendMessageW(StatusBar.Handle(), SB_SETTEXTW, SB_SIMPLEID,
                   reinterpret_cast<LPARAM>(statusText_.c_str()));
}

void TMainForm::UpdateHint() {
    if (menuActive_)
        return;
    POINT pt;
    std::wstring hint;
    HWND target = nullptr;
    if (::GetCursorPos(&pt)) {
        target = ::WindowFromPoint(pt);
        if (target && ::GetAncestor(target, GA_ROOT) == hwnd_ && ::IsWindowVisible(hwnd_)) {
            // Down to the innermost control under the pointer, disabled ones included.
            HWND current = hwnd_;
            for (;;) {
                POINT local = pt;
                ::ScreenToClient(current, &local);
                HWND child = ::ChildWindowFromPointEx(current, local,
                                                      CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
                if (!child || child == current)
                    break;
                current = child;
            }
            for (HWND h = current; h && h != hwnd_; h = ::GetParent(h)) {
                TControl* c = TControl::FromHandle(h);
                if (c && !c->Hint.empty()) {
                    hint = c->Hint;
                    break;
                }
            }
        } else {
            target = nullptr;
        }
    }
    SetStatusText(hint);
    // Leaving the window posts a message, so the next idle step clears the hint.
    if (!hint.empty() && target && target != hintTracked_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, target, 0};
        ::TrackMouseEvent(&tme);
    }
    hintTracked_ = hint.empty() ? nullptr : target;
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        Realign();
        FormResize(this);
        return 0;
    case WM_GETMINMAXINFO:
        Default(msg, wParam, lParam);
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        return Default(msg, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        Default(msg, wParam, lParam);
        WMNCLButtonDblClk();
        return 0;
    case WM_CONTEXTMENU:
        ShowPopupMenu(reinterpret_cast<HWND>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_ENTERMENULOOP:
        menuActive_ = true;
        SetStatusText(L"");
        return 0;
    case WM_EXITMENULOOP:
        menuActive_ = false;
        UpdateHint();
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_COMMAND:
        if (TControl* c = TControl::FromHandle(reinterpret_cast<HWND>(lParam)))
            c->Command(HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (TControl* c = TControl::FromHandle(reinterpret_cast<HWND>(lParam)))
            c->Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->hwndItem == FileListBox.Handle()) {
            FileListBox.DrawItem(*item);
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd_, focus))
                savedFocus_ = focus;
        } else {
            // Back to the control that had the focus, or to the first one.
            HWND focus =
                savedFocus_ && ::IsWindow(savedFocus_) ? savedFocus_ : PhotoButton.Handle();
            ::SetFocus(focus);
            return 0;
        }
        break;
    case kTakePendingPhoto:
        PhotoButtonClick(&PhotoButton);
        return 0;
    case kReportPreviewError:
        ReportPreviewError();
        return 0;
    case WM_CLOSE:
        Application.Terminate();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

} // namespace vistrel
