// Taking a photo: find the browser's view, copy it from the screen with the panel out of
// the way, resize it if asked, and write it under the next free name.

#include "ui/win32/application.h"
#include "base/error.h"
#include "base/win32/file_system.h"
#include "app/win32/main_form.h"
#include "base/number_text.h"
#include "capture/bmp_file.h"
#include "capture/win32/click_sound.h"
#include "capture/jpeg_file.h"
#include "capture/win32/photo_bitmap.h"
#include "capture/win32/photo_file.h"
#include "capture/photo_name.h"
#include "capture/win32/viewport.h"

namespace vistrel {

namespace {

[[noreturn]] void EmptyPhoto(const wchar_t* why, int width, int height) {
    throw Error(FormatMessageText(why, {WriteWholeNumber(width), WriteWholeNumber(height)}));
}

} // namespace

void TMainForm::PhotoButtonClick(TObject*) {
    // A click that arrives while a photo is being taken (the settle and refresh steps
    // let messages through) is taken right after it, never in the middle of it.
    if (photoBusy_) {
        ++pendingPhotos_;
        return;
    }
    std::optional<Viewport> viewport = FindViewport();
    if (!viewport)
        return;
    photoBusy_ = true;
    struct Done {
        TMainForm* form;
        ~Done() {
            form->photoBusy_ = false;
            if (form->pendingPhotos_ > 0) {
                --form->pendingPhotos_;
                ::PostMessageW(form->hwnd_, kTakePendingPhoto, 0, 0);
            }
        }
    } done{this};

    const int width = viewport->Width(), height = viewport->Height();
    if (width < 0 || height < 0)
        throw Error(L"Out of system resources");
    if (width == 0 || height == 0)
        EmptyPhoto(L"The photo would be empty: the browser's view is %s by %s pixels inside "
                   L"its 4-pixel border, so nothing was saved",
                   width, height);
    PhotoBitmap photo(width, height);

    ::ShowWindow(hwnd_, SW_HIDE);
    {
        // The panel comes back before anything that can fail.
        struct ShowAgain {
            HWND hwnd;
            ~ShowAgain() { ::ShowWindow(hwnd, SW_SHOW); }
        } showAgain{hwnd_};
        ::SetForegroundWindow(viewport->browser);
        for (int i = 0; i < 10; ++i) {
            ::Sleep(10);
            Application.ProcessMessages();
        }
        photo.CopyFromScreen(viewport->capture.left, viewport->capture.top);
    }

    if (Scale.Checked()) {
        auto x = ReadWholeNumber(XScale.Text());
        auto y = ReadWholeNumber(YScale.Text());
        if (x && y) {
            if (*x == 0 || *y == 0)
                EmptyPhoto(L"The photo would be empty: it is to be resized to %s by %s pixels, "
                           L"so nothing was saved",
                           *x, *y);
            try {
                StretchBitmap(photo, *x, *y);
            } catch (...) {
                // A size that cannot be made (negative, or too large): the photo keeps
                // the size it was taken at.
            }
        }
    }

    PixelView pixels = photo.View();
    std::vector<uint8_t> headerOrJpeg;
    std::wstring extension;
    FileChunk pixelChunk{nullptr, 0};
    if (FType.ItemIndex() == 0) {
        headerOrJpeg = BmpFileHeaders(pixels);
        pixelChunk = {pixels.bits, pixels.Stride() * static_cast<size_t>(pixels.height)};
        extension = L".bmp";
    } else {
        headerOrJpeg = EncodeJpeg(pixels, JPEGSlider.Position());
        extension = L".jpg";
    }
    takenWhileSaving_.clear();
    std::wstring path = SaveNewPhotoFile(
        [this] { return NextPhotoName(); },
        [this](const std::wstring& name) { takenWhileSaving_.insert(FoldFileName(name)); },
        extension, {FileChunk{headerOrJpeg.data(), headerOrJpeg.size()}, pixelChunk});

    FileListBox.Reread();
    Application.ProcessMessages();
    FileListBox.SelectByPath(path);
    Application.ProcessMessages();
    PlayClickSound();
}

namespace {

// Whether "<candidate>.jpg" or "<candidate>.bmp" exists, hidden or not: one folder query
// for both names.
bool PhotoExistsOnDisk(const std::wstring& candidate) {
    if (candidate.find_first_of(L"*?", FolderOf(candidate).size()) != std::wstring::npos)
        return FileExists(candidate + L".jpg") || FileExists(candidate + L".bmp");
    WIN32_FIND_DATAW fd;
    UniqueFind find(::FindFirstFileExW((candidate + L".*").c_str(), FindExInfoBasic, &fd,
                                       FindExSearchNameMatch, nullptr, 0));
    if (!find)
        return false;
    const std::wstring stem = FileNameOf(candidate);
    do {
        std::wstring_view name = fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() == stem.size() + 4 &&
            SameFileName(name.substr(0, stem.size()), stem) &&
            (SameFileName(name.substr(stem.size()), L".jpg") ||
             SameFileName(name.substr(stem.size()), L".bmp")))
            return true;
    } while (::FindNextFileW(find.get(), &fd));
    return false;
}

} // namespace

std::wstring TMainForm::NextPhotoName() {
    const std::wstring folderPart = photosFolder_ + L"\\";
    // The list holds the Photos folder's photos as of its last re-read, which every photo
    // does; a name it does not hold is looked up on the disk. The rename that gives the
    // photo its name never replaces a file, so a name taken meanwhile costs nothing.
    const bool listed = SameFileName(FileListBox.Folder(), photosFolder_);
    const FileListModel& photos = FileListBox.Model();
    std::wstring key;
    auto taken = [&](const std::wstring& candidate) {
        if (!takenWhileSaving_.empty() && takenWhileSaving_.count(FoldFileName(candidate)))
            return true;
        // A name in the Photos folder itself (the template may name a subfolder).
        if (listed && candidate.find_first_of(L"\\/", folderPart.size()) == std::wstring::npos) {
            key.assign(candidate, folderPart.size());
            FoldFileNameInPlace(key);
            key += L".JPG";
            if (photos.ContainsFolded(key))
                return true;
            key.replace(key.size() - 4, 4, L".BMP");
            if (photos.ContainsFolded(key))
                return true;
        }
        return PhotoExistsOnDisk(candidate);
    };
    return FindFreePhotoName(folderPart, FNameTemplate, taken);
}

} // namespace vistrel
