#include "capture/win32/leftover_files.h"

#include "base/win32/file_system.h"
#include "base/win32/handles.h"

#include <string_view>
#include <vector>

namespace vistrel {

namespace {

// As the photo file writer names its temporary files.
constexpr std::wstring_view kPrefix = L"~vistrel-";
constexpr std::wstring_view kSuffix = L".tmp";

// The system's pattern also matches short (8.3) names, so "~vistrel-1.tmpx" may come
// back for "*.tmp": each long name is checked again here.
bool IsTemporaryName(std::wstring_view name) {
    return name.size() > kPrefix.size() + kSuffix.size() &&
           SameFileName(name.substr(0, kPrefix.size()), kPrefix) &&
           SameFileName(name.substr(name.size() - kSuffix.size()), kSuffix);
}

} // namespace

void RemoveLeftoverTemporaryFiles(const std::wstring& photosFolder) {
    // No folder is not the current one.
    if (photosFolder.empty())
        return;
    std::wstring folder = photosFolder;
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    std::vector<std::wstring> leftovers;
    {
        WIN32_FIND_DATAW fd;
        UniqueFind find(::FindFirstFileExW((folder + L"~vistrel-*.tmp").c_str(), FindExInfoBasic,
                                           &fd, FindExSearchNameMatch, nullptr, 0));
        if (!find)
            return;
        constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            if (!(fd.dwFileAttributes & kNotPlain) && IsTemporaryName(fd.cFileName))
                leftovers.push_back(folder + fd.cFileName);
        } while (::FindNextFileW(find.get(), &fd));
    }
    // Deleted once the search is closed; one a running copy holds stays.
    for (const std::wstring& path : leftovers)
        ::DeleteFileW(path.c_str());
}

} // namespace vistrel
