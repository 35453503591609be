// The album handlers of the main window: the preview of the selected photo and deletion.

#include "album/win32/photo_clipboard.h"
#include "album/win32/photo_files.h"
#include "album/win32/preview_picture.h"
#include "app/win32/main_form.h"
#include "base/win32/file_system.h"
#include "ui/win32/application.h"

namespace vistrel {

std::wstring TMainForm::SelectedPhoto() const {
    std::wstring path = FileListBox.SelectedPath();
    return !path.empty() && FileExists(path) ? path : std::wstring();
}

void TMainForm::ShowPhotoEntries(bool shown) {
    for (TMenuItem* item : {&OpenPhoto, &ShowInFolder, &CopyPhoto, &DelPhoto, &N4})
        item->Visible = shown;
}

void TMainForm::FileListBoxChange(TObject*) {
    Photo.SetVisible(false);
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
    Photo.SetVisible(true);
    ::InvalidateRect(Photo.Handle(), nullptr, FALSE);
}

void TMainForm::PaintPhoto(HDC dc, const RECT& client) {
    // Where the picture does not cover the area, the black panel and its caption show.
    POINT origin{0, 0};
    ::MapWindowPoints(Photo.Handle(), Panel3.Handle(), &origin, 1);
    ::SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    Panel3.PaintBackground(dc);
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

void TMainForm::OnExitSizeMove() {
    resizing_ = false;
    // Drawn from a decode at the size it now has.
    ::InvalidateRect(Photo.Handle(), nullptr, FALSE);
}

void TMainForm::ReportPreviewError() {
    std::wstring error = std::move(previewError_);
    previewError_.clear();
    if (!error.empty())
        Application.ShowError(error);
}

void TMainForm::FileListBoxContextPopup(TObject*) {
    ShowPhotoEntries(!SelectedPhoto().empty());
}

namespace {
constexpr unsigned kCtrlHeld = 2; // in FileListBoxKeyDown's Shift
}

// What can be done with the selected photo: nothing when it is gone.
void TMainForm::OpenPhotoClick(TObject*) {
    if (std::wstring path = SelectedPhoto(); !path.empty())
        OpenPhotoFile(hwnd_, path);
}

void TMainForm::ShowInFolderClick(TObject*) {
    if (std::wstring path = SelectedPhoto(); !path.empty())
        ShowPhotoInFolder(path);
}

void TMainForm::CopyPhotoClick(TObject*) {
    if (std::wstring path = SelectedPhoto(); !path.empty())
        CopyPhotoToClipboard(hwnd_, path);
}

void TMainForm::FileListBoxDblClick(TObject*) {
    OpenPhotoClick(this);
}

void TMainForm::DelPhotoClick(TObject*) {
    DeleteSelectedPhoto();
}

void TMainForm::FileListBoxKeyDown(TObject*, WORD& Key, unsigned Shift) {
    if (Key == VK_DELETE)
        DeleteSelectedPhoto();
    else if (Key == VK_RETURN)
        OpenPhotoClick(this);
    else if (Key == 'C' && (Shift & kCtrlHeld))
        CopyPhotoClick(this);
}

void TMainForm::DeleteSelectedPhoto() {
    std::wstring path = SelectedPhoto();
    if (path.empty())
        return;
    picture_.reset();
    DeletePhotoFile(path); // a file that cannot be deleted stays listed
    ShowPhotoEntries(false);
    FileListBox.Reread();
}

} // namespace vistrel
