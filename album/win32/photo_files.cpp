#include "album/win32/photo_files.h"

#include "base/error.h"
#include "base/win32/file_system.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace vistrel {

namespace {

[[noreturn]] void CannotOpen(const std::wstring& path, DWORD code) {
    throw Error(FormatMessageText(
        L"Cannot open file \"%s\". %s",
        {path, SystemErrorText(code ? code : ERROR_NO_ASSOCIATION, FileNameOf(path))}));
}

// The shell's handlers (an association's own code, folder windows) may need COM on this
// thread; the first call sets it up.
void UseShellOnThisThread() {
    static const bool com =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    (void)com;
}

} // namespace

bool DeletePhotoFile(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != FALSE;
}

void OpenPhotoFile(HWND owner, const std::wstring& path) {
    const std::wstring folder = FolderOf(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The system's own dialogs stay away: a failure is the program's error box.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    UseShellOnThisThread();
    if (!::ShellExecuteExW(&info))
        CannotOpen(path, ::GetLastError());
}

void ShowPhotoInFolder(const std::wstring& path) {
    UseShellOnThisThread();
    PIDLIST_ABSOLUTE item = ::ILCreateFromPathW(path.c_str());
    if (!item)
        CannotOpen(path, ERROR_FILE_NOT_FOUND);
    HRESULT result = ::SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ::ILFree(item);
    if (FAILED(result))
        CannotOpen(path, HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                                    : ERROR_GEN_FAILURE);
}

} // namespace vistrel
