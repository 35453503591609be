// The album: the photo list, the preview of the selected photo, and what can be done with a
// photo (open, show in its folder, copy, delete).

#include "album/win32/photo_clipboard.h"
#include "album/win32/photo_files.h"
#include "album/win32/preview_picture.h"
#include "app/win32/main_window.h"
#include "base/win32/file_system.h"
#include "capture/win32/leftover_files.h"
#include "capture/win32/photo_names.h"
#include "ui/win32/application.h"

namespace vistrel {

void MainWindow::ListPhotosFolder() {
    ::CreateDirectoryW(photosFolder_.c_str(), nullptr); // existing already: fine
    // What a run killed in the middle of a photo left behind goes meanwhile, on a thread of
    // its own: a search of a large album takes a while.
    leftovers_ = std::thread([folder = photosFolder_] { RemoveLeftoverTemporaryFiles(folder); });
    PhotoList.AssignFolder(photosFolder_);
}

std::wstring MainWindow::SelectedPhoto() const {
    std::wstring path = menuPhoto_.empty() ? PhotoList.SelectedPath() : menuPhoto_;
    return !path.empty() && FileExists(path) ? path : std::wstring();
}

void MainWindow::ShowPhotoEntries(bool shown) {
    for (TMenuItem* item : {&OpenItem, &ShowInFolderItem, &CopyItem, &DeleteItem, &AboutSeparator})
        item->Visible = shown;
}

void MainWindow::OnListChange() {
    Preview.SetVisible(false);
    picture_.reset();
    std::wstring path = SelectedPhoto();
    if (path.empty())
        return;
    try {
        picture_ = PreviewPicture::Load(path);
    } catch (...) {
        // A picture that cannot be loaded shows no preview and no message.
        return;
    }
    Preview.SetVisible(true);
    ::InvalidateRect(Preview.Handle(), nullptr, FALSE);
}

void MainWindow::PaintPreview(HDC dc, const RECT& client) {
    // Where the picture does not cover the area, the black frame and its caption show.
    POINT origin{0, 0};
    ::MapWindowPoints(Preview.Handle(), PreviewFrame.Handle(), &origin, 1);
    ::SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    PreviewFrame.PaintBackground(dc);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    if (!picture_)
        return;
    std::wstring error = picture_->Draw(dc, client, resizing_);
    if (!error.empty()) {
        // Reported after painting, never from inside it.
        previewError_ = error;
        ::PostMessageW(hwnd_, kReportPreviewError, 0, 0);
    }
}

void MainWindow::OnExitSizeMove() {
    resizing_ = false;
    // Drawn from a decode at the size it now has.
    ::InvalidateRect(Preview.Handle(), nullptr, FALSE);
}

void MainWindow::ReportPreviewError() {
    std::wstring error = std::move(previewError_);
    previewError_.clear();
    if (!error.empty())
        Application.ShowError(error);
}

void MainWindow::OnListContextPopup() {
    ShowPhotoEntries(!SelectedPhoto().empty());
}

namespace {
constexpr unsigned kShiftHeld = 1, kCtrlHeld = 2; // in OnListKeyDown's shift
} // namespace

// What can be done with the selected photo: nothing when it is gone.
void MainWindow::OnOpenClick() {
    if (std::wstring path = SelectedPhoto(); !path.empty()) {
        // The system may ask which program to open it with, in a loop of its own.
        TApplication::ModalScope modal(Application);
        OpenPhotoFile(hwnd_, path);
    }
}

void MainWindow::OnShowInFolderClick() {
    if (std::wstring path = SelectedPhoto(); !path.empty())
        ShowPhotoInFolder(path);
}

void MainWindow::OnCopyClick() {
    if (std::wstring path = SelectedPhoto(); !path.empty())
        CopyPhotoToClipboard(hwnd_, path);
}

void MainWindow::OnListKeyDown(WORD& key, unsigned shift) {
    if (key == VK_DELETE)
        OnDeleteClick((shift & kShiftHeld) == 0);
    else if (key == VK_RETURN)
        OnOpenClick();
    else if (key == 'C' && (shift & kCtrlHeld))
        OnCopyClick();
}

void MainWindow::OnDeleteClick(bool toRecycleBin) {
    std::wstring path = SelectedPhoto();
    if (path.empty())
        return;
    picture_.reset();
    Preview.SetVisible(false);
    bool deleted;
    try {
        // Where the photo would be destroyed rather than recycled, the system asks first.
        TApplication::ModalScope modal(Application);
        deleted = DeletePhotoFile(
            hwnd_, path, toRecycleBin ? PhotoDeletion::ToRecycleBin : PhotoDeletion::AtOnce);
    } catch (...) {
        OnListChange(); // the photo stays, and so does its preview
        throw;
    }
    ShowPhotoEntries(false);
    // Gone from the list in its place, the rest of the list where it was.
    if (deleted)
        PhotoList.Remove(FileNameOf(path));
    else
        OnListChange();
}

void MainWindow::EnsurePhotosFolder() {
    DWORD attributes = ::GetFileAttributesW(photosFolder_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // Removed since the start (a user clearing the album in a file manager): made again.
    // The list lets go of the old folder first, or its removal could not finish.
    PhotoList.StopWatching();
    ::CreateDirectoryW(photosFolder_.c_str(), nullptr); // a failure shows when writing
}

std::wstring MainWindow::NextPhotoName(const std::set<std::wstring>& takenWhileSaving) {
    EnsurePhotosFolder();
    PhotoNameSearch search;
    search.folder = photosFolder_;
    search.nameTemplate = options_.nameTemplate;
    // The list holds the Photos folder's photos, brought up to date first with what other
    // programs changed there (a file manager, another copy of the program). The rename that
    // gives the photo its name never replaces a file, so a name taken in between costs
    // nothing.
    if (SameFileName(PhotoList.Folder(), photosFolder_)) {
        PhotoList.CatchUp();
        if (!PhotoList.Following())
            PhotoList.Reread(/*keepPlace=*/true);
        search.listed = &PhotoList.Model();
    }
    search.takenWhileSaving = &takenWhileSaving;
    return NextFreePhotoName(search);
}

void MainWindow::PhotoSaved(const std::wstring& path) {
    // In its place in the list: an album of any size is not read again for it.
    if (SameFileName(FolderOf(path), PhotoList.Folder() + L"\\"))
        PhotoList.Add(FileNameOf(path));
    PhotoList.SelectByPath(path);
}

} // namespace vistrel
