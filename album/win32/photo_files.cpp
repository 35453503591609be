#include "album/win32/photo_files.h"

#include "base/error.h"
#include "base/win32/file_system.h"
#include "base/win32/handles.h"

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

[[noreturn]] void CannotDelete(const std::wstring& path, DWORD code) {
    throw Error(FormatMessageText(L"Cannot delete file \"%s\". %s",
                                  {path, SystemErrorText(code, FileNameOf(path))}));
}

// SHFileOperation still gives some failures as its codes from before Windows Vista, which
// are no system error codes.
DWORD ShellOperationError(int result) {
    constexpr int kInvalidFiles = 0x7C, kFirstOld = 0x71, kLastOld = 0x88, kOldPathError = 0x402;
    if (result == kInvalidFiles)
        return ERROR_FILE_NOT_FOUND;
    if ((result >= kFirstOld && result <= kLastOld) || result == kOldPathError || result > 0xFFFF)
        return ERROR_ACCESS_DENIED;
    return static_cast<DWORD>(result);
}

// The shell's handlers (an association's own code, folder windows) may need COM on this
// thread; the first call sets it up.
void UseShellOnThisThread() {
    static const bool com =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    (void)com;
}

} // namespace

bool DeletePhotoFile(HWND owner, const std::wstring& path, PhotoDeletion how) {
    if (how == PhotoDeletion::AtOnce) {
        if (!::DeleteFileW(path.c_str()))
            CannotDelete(path, ::GetLastError());
        return true;
    }
    // A file another program holds without delete sharing cannot be moved to the bin
    // either; Wine's shell would first offer to destroy it instead, so it is found here.
    {
        UniqueFile probe(::CreateFileW(path.c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe)
            CannotDelete(path, ::GetLastError());
    }
    const std::wstring names = path + L'\0'; // a list, ended by an empty name
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = names.c_str();
    // Neither the system's confirmation nor its error boxes, but its question where the file
    // would be destroyed rather than recycled: without it, that happens silently.
    operation.fFlags =
        FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_SILENT | FOF_NOERRORUI;
    UseShellOnThisThread();
    const int result = ::SHFileOperationW(&operation);
    constexpr int kOldCancelled = 0x75;
    if (operation.fAnyOperationsAborted || result == ERROR_CANCELLED || result == kOldCancelled)
        return false;
    if (result != 0)
        CannotDelete(path, ShellOperationError(result));
    return true;
}

namespace {

bool Execute(HWND owner, const std::wstring& path, const wchar_t* verb, ULONG mask,
             SHELLEXECUTEINFOW& info) {
    const std::wstring folder = FolderOf(path);
    info = {};
    info.cbSize = sizeof info;
    info.fMask = mask | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = path.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    UseShellOnThisThread();
    return ::ShellExecuteExW(&info) != FALSE;
}

// The system's choice of a program, for a type that has none.
void OfferOpenWith(HWND owner, const std::wstring& path) {
    OPENASINFO choice{};
    choice.pcszFile = path.c_str();
    choice.oaifInFlags = OAIF_ALLOW_REGISTRATION | OAIF_REGISTER_EXT | OAIF_EXEC;
    const HRESULT result = ::SHOpenWithDialog(owner, &choice);
    if (SUCCEEDED(result) || result == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return;
    if (result != E_NOTIMPL)
        CannotOpen(path, HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                                    : ERROR_NO_ASSOCIATION);
    // Wine has no such dialog; its shell answers the "openas" verb with what it offers
    // instead (a notice that no Windows program is set up for the type), which is the
    // system's own word on it.
    SHELLEXECUTEINFOW info;
    Execute(owner, path, L"openas", 0, info);
}

} // namespace

void OpenPhotoFile(HWND owner, const std::wstring& path) {
    SHELLEXECUTEINFOW info;
    // The system's own error boxes stay away: a failure is the program's error box.
    if (Execute(owner, path, L"open", SEE_MASK_FLAG_NO_UI, info))
        return;
    const DWORD error = ::GetLastError();
    // Wine tells no program for the type by the old result code alone.
    if (error == ERROR_NO_ASSOCIATION || reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC)
        OfferOpenWith(owner, path);
    else
        CannotOpen(path, error);
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
