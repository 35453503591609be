#include "capture/win32/photo_names.h"

#include "base/win32/file_system.h"
#include "base/win32/handles.h"
#include "capture/photo_name.h"

namespace vistrel {

bool PhotoExistsOnDisk(const std::wstring& candidate) {
    if (candidate.find_first_of(L"*?", FolderOf(candidate).size()) != std::wstring::npos)
        return FileExists(candidate + L".jpg") || FileExists(candidate + L".bmp");
    // One folder query for both names.
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

std::wstring NextFreePhotoName(const PhotoNameSearch& search) {
    const std::wstring folderPart = search.folder + L"\\";
    std::wstring key;
    auto taken = [&](const std::wstring& candidate) {
        if (search.takenWhileSaving && !search.takenWhileSaving->empty() &&
            search.takenWhileSaving->count(FoldFileName(candidate)))
            return true;
        // A name in the Photos folder itself (the template may name a subfolder).
        if (search.listed &&
            candidate.find_first_of(L"\\/", folderPart.size()) == std::wstring::npos) {
            key.assign(candidate, folderPart.size());
            FoldFileNameInPlace(key);
            key += L".JPG";
            if (search.listed->ContainsFolded(key))
                return true;
            key.replace(key.size() - 4, 4, L".BMP");
            // A hidden file or a folder of the name is not listed: the rename that gives the
            // photo its name then finds it taken, and the search goes on from there.
            return search.listed->ContainsFolded(key);
        }
        return PhotoExistsOnDisk(candidate);
    };
    return FindFreePhotoName(folderPart, search.nameTemplate, taken);
}

} // namespace vistrel
