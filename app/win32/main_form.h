#pragma once
// The main window: a narrow, always-on-top tool window holding every control of the
// program, a status bar and a context menu. Its behaviour lives in the handlers below,
// one file for each concern: construction and dispatch (main_form.cpp), layout, frame
// geometry, menu and hints, photo, album, options and settings.

#include "capture/win32/photo_bitmap.h"
#include "capture/win32/viewport.h"
#include "ui/hotkey_text.h"
#include "ui/layout.h"
#include "ui/win32/controls.h"
#include "ui/win32/file_list.h"
#include "ui/win32/panels.h"
#include "ui/win32/popup_menu.h"
#include "ui/win32/window.h"

#include <array>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vistrel {

class PreviewPicture;

// The main window's styles: a sizeable tool window with a close box only, always on top.
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

class TMainForm : public Window, public TObject {
public:
    static constexpr wchar_t kClassName[] = L"TMainForm";
    static constexpr wchar_t kCaption[] = L"Vistrel v0.12";
    static constexpr int kDesignWidth = 218;
    static constexpr int kDesignHeight = 691;
    static constexpr int kMinWidth = 218;

    // programPath: the executable, whose folder holds the Photos folder and whose name
    // with ".ini" is the settings file.
    explicit TMainForm(std::wstring programPath);
    ~TMainForm() override;

    void Create(HWND owner);
    void Destroy();

    // The roll-up memory: 0 while the window is not rolled up, else the client height
    // it had before.
    int Tag = 0;

    // Controls, from outside in.
    TControl StatusBar;
    TControl PageControl1;
    TTabSheet TabSheet1;
    TPanel Panel2;
    TTabSheet TabSheet2;
    TPanel Panel3;
    TImage Photo;
    TControl Bevel2; // spacer, no window
    TFileListBox FileListBox;
    TControl Bevel1; // spacer, no window
    TPanel Panel1;
    TLabel Label1;
    TComboBox FType;
    TLabel Label2;
    TLabel Label3;
    TScrollBar JPEGSlider;
    TCheckBox Scale;
    TLabel Label4;
    TEdit XScale;
    TLabel Label5;
    TEdit YScale;
    TCheckBox Proportional;
    TLabel Label6;
    TScrollBar ScaleSlider;
    TButton PhotoButton;
    UniqueImageList ImageList;

    TMenuItem Hide, N1, OpenPhoto, ShowInFolder, CopyPhoto, DelPhoto, N4, ChooseHotkey, About;

    const std::wstring& PhotosFolder() const { return photosFolder_; }
    const std::wstring& SettingsPath() const { return settingsPath_; }
    const std::wstring& NameTemplate() const { return FNameTemplate; }
    Hotkey PhotoHotkey() const { return FHotkey; }
    // The DPI of the window's screen.
    int Dpi() const { return dpi_; }
    // The hint the status bar shows.
    std::wstring StatusText() const { return statusText_; }

    // Geometry, as the settings file and the tests see it: outer pixels on the screen.
    RECT Bounds() const;
    void SetBounds(int left, int top, int width, int height);
    int ClientHeight() const;
    void SetClientHeight(int height);

    // Runs the idle step: the status bar follows the pointer.
    void UpdateHint();

    // Handlers.
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormResize(TObject* Sender);
    void WMNCLButtonDblClk();
    void HideClick(TObject* Sender);
    void AboutClick(TObject* Sender);
    void PhotoButtonClick(TObject* Sender);
    void FileListBoxChange(TObject* Sender);
    void FileListBoxContextPopup(TObject* Sender);
    void DelPhotoClick(TObject* Sender);
    void FileListBoxKeyDown(TObject* Sender, WORD& Key, unsigned Shift);
    void DeleteSelectedPhoto();
    // The selected photo's path, or nothing when none is selected or it is gone.
    std::wstring SelectedPhoto() const;
    void ShowPhotoEntries(bool shown);
    void OpenPhotoClick(TObject* Sender);
    void ShowInFolderClick(TObject* Sender);
    void CopyPhotoClick(TObject* Sender);
    void ChooseHotkeyClick(TObject* Sender);
    void FileListBoxDblClick(TObject* Sender);
    void FTypeChange(TObject* Sender);
    void JPEGSliderChange(TObject* Sender);
    void ScaleClick(TObject* Sender);
    void ProportionalClick(TObject* Sender);
    void ScaleSliderChange(TObject* Sender);

    void LoadSettings();
    void SaveSettings();
    std::wstring NextPhotoName();

private:
    enum MenuId : UINT {
        kHideId = 1001,
        kN1Id,
        kOpenPhotoId,
        kShowInFolderId,
        kCopyPhotoId,
        kDelPhotoId,
        kN4Id,
        kChooseHotkeyId,
        kAboutId,
    };
    // The menu's entries, top to bottom.
    std::array<const TMenuItem*, 9> MenuItems() const {
        return {&Hide,     &N1, &OpenPhoto,    &ShowInFolder, &CopyPhoto,
                &DelPhoto, &N4, &ChooseHotkey, &About};
    }

    // Layout (main_form_layout.cpp).
    struct ControlRow;
    std::vector<ControlRow> LayoutTable();
    void CreateControls();
    void CreateControl(const ControlRow& row, UINT id);
    void ConnectHandlers();
    void MakeTabIcon();
    // Fonts, layout, list lines and the tab icon for a screen of this DPI.
    void ApplyDpi(int dpi);
    void Realign();
    // A measure of the design (96 DPI) for the window's screen.
    int Scaled(int value) const { return ScaleForDpi(value, dpi_); }

    // Frame geometry (main_form_frame.cpp).
    void OnWindowPosChanging(WINDOWPOS& pos);
    void OnGetMinMaxInfo(MINMAXINFO& info);
    int NonClientHeight() const;
    // Brings a window that lies wholly off every monitor back into view, no larger than
    // its monitor.
    void KeepOnScreen();

    // Menu and hints (main_form_menu.cpp).
    void OnContextMenu(HWND over, POINT at);
    void OnEnterMenuLoop();
    void OnExitMenuLoop();
    void OnMenuSelect(UINT id, UINT flags);
    void SetStatusText(const std::wstring& text);

    // Photo (main_form_photo.cpp).
    // activate: whether the panel takes the focus back afterwards (not after a hotkey,
    // which leaves it where it was).
    PhotoBitmap CapturePhoto(const Viewport& viewport, bool activate);
    void ResizeAsAsked(PhotoBitmap& photo);
    // Writes the photo under the next free name; returns its path.
    std::wstring SavePhoto(const PhotoBitmap& photo);
    void EnsurePhotosFolder();

    // Hotkey (main_form_hotkey.cpp).
    // Makes the hotkey the photo hotkey, in place of the one before; false when another
    // program holds it (the one before then stays).
    bool RegisterPhotoHotkey(Hotkey hotkey);
    void RegisterHotkeyAtStart();
    std::wstring HotkeyInUseText(Hotkey hotkey) const;
    void OnHotkey(int id);

    // Album (main_form_album.cpp).
    void PaintPhoto(HDC dc, const RECT& client);
    void OnExitSizeMove();
    void ReportPreviewError();

    // Dispatch (main_form.cpp).
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnActivate(bool active);
    void OnCommand(WORD id, HWND control, WORD code);
    void OnHScroll(HWND control, int code, int thumbPosition);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnEndSession();
    void OnDpiChanged(int dpi, const RECT& suggested);

    std::wstring FNameTemplate;
    Hotkey FHotkey;    // the photo hotkey as chosen; none by default
    int hotkeyId_ = 0; // under which it is registered (0: it is not)
    std::unique_ptr<class THotkeyForm> hotkeyForm_;

    // A photo in progress, clicks that came meanwhile, and names found taken while saving.
    static constexpr UINT kTakePendingPhoto = WM_APP + 1;
    static constexpr UINT kReportPreviewError = WM_APP + 2;
    bool photoBusy_ = false;
    // Clicks and hotkey presses that came during a photo, in order; true for a hotkey.
    std::deque<bool> pendingPhotos_;
    std::set<std::wstring> takenWhileSaving_;

    // The preview's picture, and an error found while painting it, to be reported after.
    std::unique_ptr<PreviewPicture> picture_;
    std::wstring previewError_;
    bool resizing_ = false; // the frame is being dragged

    std::wstring programPath_;
    std::wstring photosFolder_;
    std::wstring settingsPath_;
    UniqueFont font_, boldFont_;
    // The controls in layout order, with their layout rows.
    std::vector<TControl*> controls_;
    std::vector<LayoutItem> designLayout_; // at 96 DPI
    std::vector<LayoutItem> layout_;       // for the window's screen
    int dpi_ = 96;
    int maxHeight_ = 0; // 0: no limit
    bool settingsSaved_ = false;
    std::wstring statusText_;
    std::wstring menuHint_;
    bool menuActive_ = false;
    HWND hintTracked_ = nullptr;
    HWND savedFocus_ = nullptr;
};

extern TMainForm* MainForm;

} // namespace vistrel
