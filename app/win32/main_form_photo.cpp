// Taking a photo: find the browser's view, copy it from the screen with the panel out of
// the way, resize it if asked, and write it under the next free name.

#include "app/win32/main_form.h"

#include "base/error.h"
#include "base/number_text.h"
#include "base/win32/file_system.h"
#include "capture/bmp_file.h"
#include "capture/jpeg_file.h"
#include "capture/photo_options.h"
#include "capture/png_file.h"
#include "capture/win32/click_sound.h"
#include "capture/win32/photo_bitmap.h"
#include "capture/win32/photo_file.h"
#include "capture/win32/photo_names.h"
#include "capture/win32/viewport.h"
#include "ui/win32/application.h"

namespace vistrel {

namespace {

[[noreturn]] void EmptyPhoto(const wchar_t* why, int width, int height) {
    throw Error(FormatMessageText(why, {WriteWholeNumber(width), WriteWholeNumber(height)}));
}

} // namespace

void TMainForm::PhotoButtonClick(TObject* Sender) {
    // The window itself is the sender when the photo hotkey was pressed.
    const bool fromHotkey = Sender == this;
    // Not while an error box or a dialog of the program is up: the photo would hide the
    // panel under it, or take the box into the picture.
    if (Application.InModalLoop())
        return;
    // A click that arrives while a photo is being taken (the settle and refresh steps
    // let messages through) is taken right after it, never in the middle of it.
    if (photoBusy_) {
        pendingPhotos_.push_back(fromHotkey);
        return;
    }
    std::optional<Viewport> viewport = FindViewport();
    if (!viewport)
        return;
    if (::IsIconic(viewport->browser)) {
        // A minimised browser shows no view: it is restored first, and stays so.
        ::ShowWindow(viewport->browser, SW_RESTORE);
        viewport = FindViewport();
        if (!viewport)
            return;
    }
    photoBusy_ = true;
    struct Done {
        TMainForm* form;
        bool taken = false;
        ~Done() {
            form->photoBusy_ = false;
            // After a failure the clicks behind it would only fail the same way, each with
            // its own error box.
            if (!taken)
                form->pendingPhotos_.clear();
            if (!form->pendingPhotos_.empty())
                ::PostMessageW(form->hwnd_, kTakePendingPhoto, 0, 0);
        }
    } done{this};

    PhotoBitmap photo = CapturePhoto(*viewport, !fromHotkey);
    ResizeAsAsked(photo);
    std::wstring path = SavePhoto(photo);
    FileListBox.Reread();
    Application.ProcessMessages();
    FileListBox.SelectByPath(path);
    Application.ProcessMessages();
    PlayClickSound();
    done.taken = true;
}

PhotoBitmap TMainForm::CapturePhoto(const Viewport& viewport, bool activate) {
    const int width = viewport.Width(), height = viewport.Height();
    if (width < 0 || height < 0)
        throw Error(L"Out of system resources");
    if (width == 0 || height == 0)
        EmptyPhoto(L"The photo would be empty: the browser's view is %s by %s pixels inside "
                   L"its 4-pixel border, so nothing was saved",
                   width, height);
    PhotoBitmap photo(width, height);

    // The panel comes back before anything that can fail; one that was not on the screen
    // (minimised, when the hotkey was pressed) stays away.
    struct ShowAgain {
        HWND hwnd;
        bool activate;
        bool shown = ::IsWindowVisible(hwnd) != FALSE;
        ~ShowAgain() {
            if (shown)
                ::ShowWindow(hwnd, activate ? SW_SHOW : SW_SHOWNA);
        }
    } showAgain{hwnd_, activate};
    ::ShowWindow(hwnd_, SW_HIDE);
    ::SetForegroundWindow(viewport.browser);
    for (int i = 0; i < 10; ++i) {
        ::Sleep(10);
        Application.ProcessMessages();
    }
    photo.CopyFromScreen(viewport.capture.left, viewport.capture.top);
    return photo;
}

void TMainForm::ResizeAsAsked(PhotoBitmap& photo) {
    if (!Scale.Checked())
        return;
    auto x = ReadWholeNumber(XScale.Text());
    auto y = ReadWholeNumber(YScale.Text());
    if (!x || !y)
        return;
    if (*x == 0 || *y == 0)
        EmptyPhoto(L"The photo would be empty: it is to be resized to %s by %s pixels, so "
                   L"nothing was saved",
                   *x, *y);
    try {
        StretchBitmap(photo, *x, *y);
    } catch (...) {
        // A size that cannot be made (negative, or too large): the photo keeps the size it
        // was taken at.
    }
}

std::wstring TMainForm::SavePhoto(const PhotoBitmap& photo) {
    PixelView pixels = photo.View();
    const PhotoType type = PhotoTypeOfEntry(FType.ItemIndex());
    std::vector<uint8_t> headerOrJpeg; // or the whole PNG file
    FileChunk pixelChunk{nullptr, 0};
    switch (type) {
    case PhotoType::Bmp:
        headerOrJpeg = BmpFileHeaders(pixels);
        pixelChunk = {pixels.bits, pixels.Stride() * static_cast<size_t>(pixels.height)};
        break;
    case PhotoType::Jpeg:
        headerOrJpeg = EncodeJpeg(pixels, JPEGSlider.Position());
        break;
    case PhotoType::Png:
        headerOrJpeg = EncodePng(pixels);
        break;
    }
    takenWhileSaving_.clear();
    EnsurePhotosFolder();
    // While another program holds the new file, the window goes on answering.
    PhotoFileSystem system;
    system.pause = [] {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 25, QS_ALLINPUT);
        Application.ProcessMessages();
    };
    return SaveNewPhotoFile(
        [this] { return NextPhotoName(); },
        [this](const std::wstring& name) { takenWhileSaving_.insert(FoldFileName(name)); },
        PhotoExtension(type), {FileChunk{headerOrJpeg.data(), headerOrJpeg.size()}, pixelChunk},
        system);
}

void TMainForm::EnsurePhotosFolder() {
    DWORD attributes = ::GetFileAttributesW(photosFolder_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // Removed since the start (a user clearing the album in a file manager): made again.
    // The list lets go of the old folder first, or its removal could not finish.
    FileListBox.StopWatching();
    ::CreateDirectoryW(photosFolder_.c_str(), nullptr); // a failure shows when writing
}

std::wstring TMainForm::NextPhotoName() {
    PhotoNameSearch search;
    search.folder = photosFolder_;
    search.nameTemplate = FNameTemplate;
    // The list holds the Photos folder's photos as of its last read, which every photo
    // does; when the folder has changed since (a file manager, another copy of the
    // program), it is read again first. The rename that gives the photo its name never
    // replaces a file, so a name taken in between costs nothing.
    if (SameFileName(FileListBox.Folder(), photosFolder_)) {
        if (!FileListBox.Current())
            FileListBox.Reread();
        search.listed = &FileListBox.Model();
    }
    search.takenWhileSaving = &takenWhileSaving_;
    return NextFreePhotoName(search);
}

} // namespace vistrel
