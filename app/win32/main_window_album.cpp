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
    // What a run killed in the middle of a photo left behind.
    RemoveLeftoverTemporaryFiles(photosFolder_);
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
    if (std::wstring path = SelectedPhoto(); !path.empty())
        OpenPhotoFile(hwnd_, path);
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
    (void)toRecycleBin;
    picture_.reset();
    DeletePhotoFile(path); // a file that cannot be deleted stays listed
    ShowPhotoEntries(false);
    PhotoList.Reread();
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
    // The list holds the Photos folder's photos as of its last read; when the folder has
    // changed since (a file manager, another copy of the program), it is read again first.
    // The rename that gives the photo its name never replaces a file, so a name taken in
    // between costs nothing.
    if (SameFileName(PhotoList.Folder(), photosFolder_)) {
        if (!PhotoList.Current())
            PhotoList.Reread();
        search.listed = &PhotoList.Model();
    }
    search.takenWhileSaving = &takenWhileSaving;
    return NextFreePhotoName(search);
}

void MainWindow::PhotoSaved(const std::wstring& path) {
    PhotoList.Reread();
    PhotoList.SelectByPath(path);
}

} // namespace vistrel
