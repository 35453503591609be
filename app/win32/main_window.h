#pragma once
// The main window: a narrow, always-on-top tool window holding every control of the
// program, a status bar and a context menu. It is a view over plain objects: the photo
// options (a value it shows and collects the user's edits into), the photo job (which takes
// each photo through its steps in the one message loop), the photo list and the preview.
// One file for each concern: construction and dispatch (main_window.cpp), layout, frame
// geometry, menu and hints, album, options, settings and hotkey.

#include "app/settings.h"
#include "app/win32/about_dialog.h"
#include "app/win32/hotkey_dialog.h"
#include "app/win32/photo_job.h"
#include "capture/photo_options.h"
#include "ui/layout.h"
#include "ui/win32/controls.h"
#include "ui/win32/file_list.h"
#include "ui/win32/panels.h"
#include "ui/win32/popup_menu.h"
#include "ui/win32/window.h"

#include <array>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace vistrel {

class PreviewPicture;

// The main window's styles: a sizeable tool window with a close box only, always on top.
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

// A message other programs may send to the main window: it answers 1 while a photo is under
// way, waits, or has its error told, and 0 otherwise (scripts wait for photos with it).
UINT PhotoUnderWayQuery();

class MainWindow : public Window, private PhotoJob::Host {
public:
    static constexpr wchar_t kClassName[] = L"TMainForm";
    static constexpr wchar_t kCaption[] = L"Vistrel v0.12";
    static constexpr int kDesignWidth = 218;
    static constexpr int kDesignHeight = 691;
    static constexpr int kMinWidth = 218;

    // programPath: the executable, whose folder holds the Photos folder and whose name
    // with ".ini" is the settings file.
    explicit MainWindow(std::wstring programPath);
    ~MainWindow() override;

    // Makes the window and its controls, reads the settings, lists the Photos folder and
    // registers the hotkey; failures are reported one by one, and the window still opens.
    void Create(HWND owner);
    // Writes the settings (once) and destroys the window.
    void Destroy();

    // Controls, from outside in.
    TControl StatusBar;
    TControl Pages;
    TTabSheet StartPage; // "Запуск", with nothing on it: hidden at start
    TPanel StartPanel;
    TTabSheet PhotoPage;
    TPanel PreviewFrame;
    TImage Preview;
    TControl PreviewGap; // spacer, no window
    TFileListBox PhotoList;
    TControl OptionsGap; // spacer, no window
    TPanel OptionsPanel;
    TLabel TypeLabel;
    TComboBox TypeBox;
    TLabel QualityLabel;
    TLabel QualityNumber;
    TScrollBar QualitySlider;
    TCheckBox ResizeBox;
    TLabel WidthLabel;
    TEdit WidthBox;
    TLabel HeightLabel;
    TEdit HeightBox;
    TCheckBox ProportionalBox;
    TLabel PercentNumber;
    TScrollBar PercentSlider;
    TButton PhotoButton;

    TMenuItem MinimiseItem, MinimiseSeparator, OpenItem, ShowInFolderItem, CopyItem, DeleteItem,
        AboutSeparator, HotkeyItem, AboutItem;

    AboutDialog About;
    HotkeyDialog HotkeyChoice;

    const std::wstring& PhotosFolder() const { return photosFolder_; }
    const std::wstring& SettingsPath() const { return settingsPath_; }
    // The photo options as they stand.
    const PhotoOptions& Options() const { return options_; }
    Hotkey PhotoHotkey() const { return hotkey_; }
    HIMAGELIST TabIcons() const { return tabIcons_.get(); }
    // The DPI of the window's screen.
    int Dpi() const { return dpi_; }
    // The hint the status bar shows.
    std::wstring StatusText() const { return statusText_; }
    // Whether a photo is under way, waits, or its error is being told.
    bool PhotoUnderWay() const { return job_ && job_->UnderWay(); }
    PhotoJob& Job() { return *job_; }
    // The client height the window unrolls to; 0 while it is not rolled up.
    int UnrolledHeight() const { return unrolledHeight_; }

    // Geometry, as the settings file and the tests see it: outer pixels on the screen.
    RECT Bounds() const;
    void SetBounds(int left, int top, int width, int height);
    int ClientHeight() const;
    void SetClientHeight(int height);

    // Runs the idle step: the status bar follows the pointer.
    void UpdateHint();

    // What the user does, as the controls, keys and menu entries call it.
    void OnPhotoClick();
    void OnHotkeyPressed();
    void OnRollUp();
    void OnMinimiseClick();
    void OnAboutClick();
    void OnHotkeyClick();
    void OnOpenClick();
    void OnShowInFolderClick();
    void OnCopyClick();
    void OnDeleteClick(bool toRecycleBin = true);
    // Runs as the menu opens over the list: the photo entries are offered for an existing
    // selected photo.
    void OnListContextPopup();
    // The selected photo's path, or nothing when none is selected or it is gone.
    std::wstring SelectedPhoto() const;
    // The first free name in the Photos folder, as a path without extension, apart from
    // names found taken while the photo was written. Throws Error.
    std::wstring NextPhotoName(const std::set<std::wstring>& takenWhileSaving) override;

private:
    enum MenuId : UINT {
        kMinimiseId = 1001,
        kMinimiseSeparatorId,
        kOpenId,
        kShowInFolderId,
        kCopyId,
        kDeleteId,
        kAboutSeparatorId,
        kHotkeyId,
        kAboutId,
    };
    // The menu's entries, top to bottom.
    std::array<const TMenuItem*, 9> MenuItems() const {
        return {&MinimiseItem, &MinimiseSeparator, &OpenItem,   &ShowInFolderItem, &CopyItem,
                &DeleteItem,   &AboutSeparator,    &HotkeyItem, &AboutItem};
    }

    // Layout (main_window_layout.cpp).
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

    // Frame geometry (main_window_frame.cpp).
    void OnWindowPosChanging(WINDOWPOS& pos);
    void OnGetMinMaxInfo(MINMAXINFO& info);
    int NonClientHeight() const;
    // Brings a window that lies wholly off every monitor back into view, no larger than
    // its monitor.
    void KeepOnScreen();
    // Moves the window to stored geometry, each measure through the window's own move, so
    // that snapping and the minimum width apply.
    void PlaceAt(const StoredGeometry& g);

    // Menu and hints (main_window_menu.cpp).
    void OnContextMenu(HWND over, POINT at);
    void OnEnterMenuLoop();
    void OnExitMenuLoop();
    void OnMenuSelect(UINT id, UINT flags);
    void SetStatusText(const std::wstring& text);

    // Options (main_window_options.cpp): the value shown in the controls, and the user's
    // edits collected into it.
    // With a change, the dependent controls are enabled as it requires.
    void ShowOptions(std::optional<OptionChange> change = std::nullopt);
    void OnTypeChange();
    void OnQualityChange();
    void OnResizeClick();
    void OnProportionalClick();
    void OnPercentChange();
    void OnSizeTyped(std::wstring PhotoOptions::*box, const TEdit& edit);
    // Proportional sizes from the view as it is now (or the base kept without one).
    void SizeFromView();

    // Settings (main_window_settings.cpp).
    void LoadSettings();
    void SaveSettings();

    // Hotkey (main_window_hotkey.cpp).
    // Makes the hotkey the photo hotkey, in place of the one before; false when another
    // program holds it (the one before then stays).
    bool RegisterPhotoHotkey(Hotkey hotkey);
    void RegisterHotkeyAtStart();
    std::wstring HotkeyInUseText(Hotkey hotkey) const;
    void OnHotkey(int id);
    bool AcceptHotkey(Hotkey chosen);

    // Album (main_window_album.cpp).
    void ListPhotosFolder();
    void OnListChange();
    void OnListKeyDown(WORD& key, unsigned shift);
    void ShowPhotoEntries(bool shown);
    void PaintPreview(HDC dc, const RECT& client);
    void OnExitSizeMove();
    void ReportPreviewError();
    void EnsurePhotosFolder();

    // The photo job's needs (PhotoJob::Host).
    HWND Panel() const override { return hwnd_; }
    PhotoOptions OptionsForPhoto(std::optional<PhotoSize> view) override;
    void PhotoSaved(const std::wstring& path) override;
    void PhotoEnded() override;

    // Dispatch (main_window.cpp).
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnActivate(bool active);
    void OnCommand(WORD id, HWND control, WORD code);
    void OnHScroll(HWND control, int code, int thumbPosition);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnClose();
    void OnEndSession();
    void OnDpiChanged(int dpi, const RECT& suggested);

    PhotoOptions options_;
    ProportionalSizing sizing_;
    PanelEnabling enabling_;
    bool showingOptions_ = false; // the controls are being set from the value
    Hotkey hotkey_;               // the photo hotkey as chosen; none by default
    std::wstring unreadHotkey_;   // the settings file's hotkey text, when not understood
    int hotkeyId_ = 0;            // under which it is registered (0: it is not)
    int unrolledHeight_ = 0;

    std::unique_ptr<PhotoJob> job_;
    bool closing_ = false;
    std::thread leftovers_; // removes the temporary files of a run that was killed

    // The preview's picture, and an error found while painting it, to be reported after.
    static constexpr UINT kReportPreviewError = WM_APP + 2;
    std::unique_ptr<PreviewPicture> picture_;
    std::wstring previewError_;
    bool resizing_ = false; // the frame is being dragged
    // The photo the open menu concerns, so that its entries act on it whatever is selected
    // meanwhile.
    std::wstring menuPhoto_;

    std::wstring programPath_;
    std::wstring photosFolder_;
    std::wstring settingsPath_;
    UniqueFont font_, boldFont_;
    UniqueImageList tabIcons_;
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

} // namespace vistrel
