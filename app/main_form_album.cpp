// The album handlers of the main window: the preview of the selected photo and deletion.

#include "app/main_form.h"

namespace vistrel {

void TMainForm::FileListBoxChange(TObject*) {
    Photo.SetVisible(false);
}

void TMainForm::FileListBoxContextPopup(TObject*) {}

void TMainForm::DelPhotoClick(TObject*) {
    DeleteSelectedPhoto();
}

void TMainForm::FileListBoxKeyDown(TObject*, WORD& Key, unsigned) {
    if (Key == VK_DELETE)
        DeleteSelectedPhoto();
}

void TMainForm::DeleteSelectedPhoto() {}

void TMainForm::PaintPhoto(HDC dc, const RECT&) {
    // Where the picture does not cover the area, the black panel and its caption show.
    POINT origin{0, 0};
    ::MapWindowPoints(Photo.Handle(), Panel3.Handle(), &origin, 1);
    ::SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    Panel3.PaintBackground(dc);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
}

} // namespace vistrel
