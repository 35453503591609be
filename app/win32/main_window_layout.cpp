// The main window's layout: one table lists every control with its kind, parent, place,
// anchors, caption and hint; the controls are made from it, and every size change places
// them all again in one pass.

#include "app/win32/main_window.h"

#include "capture/photo_options.h"
#include "ui/win32/fonts.h"

#include <algorithm>
#include <utility>

namespace vistrel {

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

constexpr uint8_t kTopLeft = kAnchorLeft | kAnchorTop;
constexpr uint8_t kBottom = kAnchorLeft | kAnchorBottom;
constexpr uint8_t kBottomStretch = kAnchorLeft | kAnchorRight | kAnchorBottom;
constexpr uint8_t kBottomRight = kAnchorRight | kAnchorBottom;

constexpr UINT kFirstControlId = 100;

// Whether the captions longest for their room fit in a font: the two check boxes beside
// their boxes, and the longest hint in the status bar beside its size grip, at the design
// width.
bool CaptionsFitIn(HFONT font, int dpi) {
    WindowDC screen = WindowDC::Client(nullptr);
    SelectObjectGuard select(screen.get(), font);
    auto width = [&](const wchar_t* text) {
        SIZE size{};
        ::GetTextExtentPoint32W(screen.get(), text, static_cast<int>(wcslen(text)), &size);
        return static_cast<int>(size.cx);
    };
    auto scaled = [dpi](int v) { return ScaleForDpi(v, dpi); };
    const UINT forDpi = static_cast<UINT>(dpi);
    const int box = ::GetSystemMetricsForDpi(SM_CXMENUCHECK, forDpi) + scaled(4);
    RECT frame{};
    ::AdjustWindowRectExForDpi(&frame, kFormStyle, FALSE, kFormExStyle, forDpi);
    const int statusRoom = scaled(MainWindow::kDesignWidth) - (frame.right - frame.left) -
                           ::GetSystemMetricsForDpi(SM_CXVSCROLL, forDpi) - scaled(4);
    return box + width(L"Изменить разрешение фото:") <= scaled(177) &&
           box + width(L"Сохранять пропорции:") <= scaled(145) &&
           width(L"Чем выше число, тем лучше качество") <= statusRoom;
}

} // namespace

struct MainWindow::ControlRow {
    TControl* control;
    Kind kind;
    TControl* parent; // nullptr: the window
    Dock dock;
    Box design;
    uint8_t anchors;
    const wchar_t* caption;
    const wchar_t* hint;
    // For containers of anchored controls: their client size at the design size.
    int designClientWidth = 0, designClientHeight = 0;
    LayoutItem::Ratio heightPerWidth = {};
};

// The window's layout, from outside in. The order is also the stacking and keyboard
// order: within the options panel, the photo button comes first, then the type box, the
// resize box, the two size boxes, the quality slider, the proportional box and the
// percentage slider. Each label comes right before the control it names, so that screen
// readers take it as that control's name. The options panel comes before the list, so the
// photo button has the focus at start. The preview keeps a 4:3 shape.
std::vector<MainWindow::ControlRow> MainWindow::LayoutTable() {
    // clang-format off
    return {
        {&StatusBar,       Kind::StatusBar,    nullptr,       Dock::Bottom, {0, 0, 0, 20},      kTopLeft,       L"", L""},
        {&Pages,           Kind::PageControl,  nullptr,       Dock::Client, {},                 kTopLeft,       L"", L""},
        {&StartPage,       Kind::TabSheet,     &Pages,        Dock::Client, {},                 kTopLeft,       L"Запуск", L""},
        {&StartPanel,      Kind::Panel,        &StartPage,    Dock::Client, {},                 kTopLeft,       L"", L""},
        {&PhotoPage,       Kind::TabSheet,     &Pages,        Dock::Client, {},                 kTopLeft,       L"Фото", L""},
        {&PreviewFrame,    Kind::Panel,        &PhotoPage,    Dock::Top,    {0, 0, 0, 151},     kTopLeft,       L"Нет фотографии", L"", 0, 0, {3, 4}},
        {&Preview,         Kind::Image,        &PreviewFrame, Dock::Client, {},                 kTopLeft,       L"", L""},
        {&PreviewGap,      Kind::Spacer,       &PhotoPage,    Dock::Top,    {0, 0, 0, 2},       kTopLeft,       L"", L""},
        {&OptionsPanel,    Kind::Panel,        &PhotoPage,    Dock::Bottom, {0, 0, 0, 250},     kTopLeft,       L"", L"", 202, 250},
        {&PhotoButton,     Kind::Button,       &OptionsPanel, Dock::None,   {12, 215, 179, 23}, kBottomStretch, L"Сфотографировать", L""},
        {&TypeLabel,       Kind::Label,        &OptionsPanel, Dock::None,   {12, 9, 0, 13},     kBottom,        L"Тип файла:", L""},
        {&TypeBox,         Kind::DropDownList, &OptionsPanel, Dock::None,   {12, 29, 179, 100}, kBottomStretch, L"", L""},
        {&ResizeBox,       Kind::CheckBox,     &OptionsPanel, Dock::None,   {12, 109, 177, 17}, kBottom,        L"Изменить разрешение фото:", L""},
        {&WidthLabel,      Kind::Label,        &OptionsPanel, Dock::None,   {12, 137, 0, 13},   kBottom,        L"X:", L""},
        {&WidthBox,        Kind::Edit,         &OptionsPanel, Dock::None,   {32, 133, 64, 21},  kBottom,        L"0", L""},
        {&HeightLabel,     Kind::Label,        &OptionsPanel, Dock::None,   {106, 137, 0, 13},  kBottom,        L"Y:", L""},
        {&HeightBox,       Kind::Edit,         &OptionsPanel, Dock::None,   {126, 133, 64, 21}, kBottom,        L"0", L""},
        {&QualityNumber,   Kind::Label,        &OptionsPanel, Dock::None,   {190, 57, 0, 13},   kBottomRight,   L"0", L""},
        {&QualityLabel,    Kind::Label,        &OptionsPanel, Dock::None,   {12, 57, 0, 13},    kBottom,        L"Качество сжатия JPEG:", L""},
        {&QualitySlider,   Kind::ScrollBar,    &OptionsPanel, Dock::None,   {12, 78, 177, 19},  kBottomStretch, L"", L"Чем выше число, тем лучше качество"},
        {&ProportionalBox, Kind::CheckBox,     &OptionsPanel, Dock::None,   {12, 161, 145, 17}, kBottom,        L"Сохранять пропорции:", L""},
        {&PercentNumber,   Kind::Label,        &OptionsPanel, Dock::None,   {190, 163, 0, 13},  kBottomRight,   L"0%", L""},
        {&PercentSlider,   Kind::ScrollBar,    &OptionsPanel, Dock::None,   {12, 186, 177, 19}, kBottomStretch, L"", L"Масштаб"},
        {&OptionsGap,      Kind::Spacer,       &PhotoPage,    Dock::Bottom, {0, 0, 0, 2},       kTopLeft,       L"", L""},
        {&PhotoList,       Kind::FileList,     &PhotoPage,    Dock::Client, {},                 kTopLeft,       L"", L""},
    };
    // clang-format on
}

void MainWindow::CreateControls() {
    ChooseUiFont(dpi_, CaptionsFitIn);
    font_ = MakeUiFont(dpi_);
    boldFont_ = MakeUiFont(dpi_, {.weight = FW_BOLD});
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    UINT id = kFirstControlId;
    for (const ControlRow& row : LayoutTable()) {
        CreateControl(row, id++);
        LayoutItem item;
        item.dock = row.dock;
        item.design = row.design;
        item.anchors = row.anchors;
        item.designClientWidth = row.designClientWidth;
        item.designClientHeight = row.designClientHeight;
        item.heightPerWidth = row.heightPerWidth;
        auto parent = std::find(controls_.begin(), controls_.end(), row.parent);
        item.parent = row.parent ? static_cast<int>(parent - controls_.begin()) : -1;
        designLayout_.push_back(item);
        controls_.push_back(row.control);
    }
    layout_ = ScaleLayout(designLayout_, dpi_);
    PhotoList.SetItemHeight(Scaled(TFileListBox::kItemHeight));

    PreviewFrame.Color = RGB(0, 0, 0);
    PreviewFrame.FontColor = RGB(0, 255, 0);
    PreviewFrame.CaptionFont = boldFont_.get();
    StartPanel.Bevel = true;

    for (const wchar_t* entry : kPhotoTypeEntries)
        TypeBox.AddItem(entry);
    TypeBox.SetItemIndex(1);
    QualitySlider.SetRange(PhotoOptions::kMinQuality, PhotoOptions::kMaxQuality);
    PercentSlider.SetRange(PhotoOptions::kMinPercent, PhotoOptions::kMaxPercent);
    ConnectHandlers();
}

void MainWindow::CreateControl(const ControlRow& row, UINT id) {
    TControl& c = *row.control;
    HWND parent = row.parent ? row.parent->Handle() : hwnd_;
    c.Hint = row.hint;
    auto create = [&](DWORD exStyle, const wchar_t* cls, DWORD style) {
        c.MakeSystemControl(exStyle, cls, row.caption, WS_CHILD | WS_VISIBLE | style, parent, id);
    };
    switch (row.kind) {
    case Kind::StatusBar:
        create(0, STATUSCLASSNAMEW,
               SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER);
        ::SendMessageW(c.Handle(), SB_SIMPLE, TRUE, 0);
        break;
    case Kind::PageControl: {
        create(WS_EX_CONTROLPARENT, WC_TABCONTROLW, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
        MakeTabIcon();
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
        item.iImage = &c == &PhotoPage ? 0 : -1;
        TabCtrl_InsertItem(parent, TabCtrl_GetItemCount(parent), &item);
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
}

void MainWindow::MakeTabIcon() {
    // Drawn from the icon's own image for the size (16, 24 or 32 pixels), not stretched.
    const int size = Scaled(16);
    // The tab keeps drawing with the old list until it is handed the new one.
    UniqueImageList old = std::move(tabIcons_);
    tabIcons_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    UniqueIcon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"PHOTOTAB",
                                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (icon)
        ImageList_AddIcon(tabIcons_.get(), icon.get());
    TabCtrl_SetImageList(Pages.Handle(), tabIcons_.get());
}

void MainWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    // The old fonts are freed once no control holds them any more.
    UniqueFont oldFont = std::exchange(font_, MakeUiFont(dpi_));
    UniqueFont oldBold = std::exchange(boldFont_, MakeUiFont(dpi_, {.weight = FW_BOLD}));
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    for (TControl* c : controls_)
        if (c->Handle())
            ::SendMessageW(c->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    PreviewFrame.CaptionFont = boldFont_.get();
    layout_ = ScaleLayout(designLayout_, dpi_);
    PhotoList.SetItemHeight(Scaled(TFileListBox::kItemHeight));
    MakeTabIcon();
}

void MainWindow::ConnectHandlers() {
    Preview.OnPaint = [this](HDC dc, const RECT& r) { PaintPreview(dc, r); };
    PhotoButton.OnClick = [this] { OnPhotoClick(); };
    TypeBox.OnChange = [this] { OnTypeChange(); };
    QualitySlider.OnChange = [this] { OnQualityChange(); };
    ResizeBox.OnClick = [this] { OnResizeClick(); };
    ProportionalBox.OnClick = [this] { OnProportionalClick(); };
    PercentSlider.OnChange = [this] { OnPercentChange(); };
    WidthBox.OnChange = [this] { OnSizeTyped(&PhotoOptions::width, WidthBox); };
    HeightBox.OnChange = [this] { OnSizeTyped(&PhotoOptions::height, HeightBox); };
    PhotoList.OnChange = [this] { OnListChange(); };
    PhotoList.OnDblClick = [this] { OnOpenClick(); };
    PhotoList.OnKeyDown = [this](WORD& key, unsigned shift) { OnListKeyDown(key, shift); };
}

void MainWindow::Realign() {
    RECT client;
    ::GetClientRect(hwnd_, &client);
    auto clientArea = [this](int index, const Box& outer) -> Box {
        if (index < 0)
            return outer;
        TControl* c = controls_[static_cast<size_t>(index)];
        if (c == &Pages) {
            RECT r{0, 0, outer.width, outer.height};
            TabCtrl_AdjustRect(Pages.Handle(), FALSE, &r);
            return {r.left, r.top, r.right - r.left, r.bottom - r.top};
        }
        if (c == &OptionsPanel || c == &StartPanel || c == &PreviewFrame) {
            constexpr int b = TPanel::kBevelWidth;
            return {b, b, outer.width - 2 * b, outer.height - 2 * b};
        }
        return outer;
    };
    std::vector<Box> boxes = ArrangeLayout(layout_, client.right, client.bottom, clientArea);
    HDWP defer = ::BeginDeferWindowPos(static_cast<int>(boxes.size()));
    for (size_t i = 0; i < boxes.size() && defer; ++i) {
        HWND h = controls_[i]->Handle();
        if (!h)
            continue;
        Box b = boxes[i];
        if (auto* label = dynamic_cast<TLabel*>(controls_[i])) {
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
    // The status bar keeps its size itself no more (it is placed here), and would keep the
    // size grip drawn where its old right edge was.
    ::InvalidateRect(StatusBar.Handle(), nullptr, TRUE);
}

} // namespace vistrel
