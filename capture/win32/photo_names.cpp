#include "capture/win32/photo_names.h"

#include "base/win32/file_system.h"
#include "base/win32/handles.h"
#include "capture/photo_name.h"

#include <array>

namespace vistrel {

bool PhotoExistsOnDisk(const std::wstring& candidate) {
    if (candidate.find_first_of(L"*?", FolderOf(candidate).size()) != std::wstring::npos)
        return PhotoNameTaken(candidate, [](const std::wstring& path) { return FileExists(path); });
    // One folder query for both names.
    WIN32_FIND_DATAW fd;
    UniqueFind find(::FindFirstFileExW((candidate + L".*").c_str(), FindExInfoBasic, &fd,
                                       FindExSearchNameMatch, nullptr, 0));
    if (!find)
        return false;
    const std::wstring stem = FileNameOf(candidate);
    do {
        std::wstring_view name = fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || name.size() <= stem.size() ||
            !SameFileName(name.substr(0, stem.size()), stem))
            continue;
        for (std::wstring_view extension : kPhotoExtensions)
            if (SameFileName(name.substr(stem.size()), extension))
                return true;
    } while (::FindNextFileW(find.get(), &fd));
    return false;
}

std::wstring NextFreePhotoName(const PhotoNameSearch& search) {
    const std::wstring folderPart = search.folder + L"\\";
    std::wstring key;
    size_t next = 0; // where in the list the next numbered name is likely to be
    // The extensions as the list's folded names have them (".JPG").
    static const auto foldedExtensions = [] {
        std::array<std::wstring, kPhotoExtensions.size()> folded;
        for (size_t i = 0; i < folded.size(); ++i)
            folded[i] = FoldFileName(kPhotoExtensions[i]);
        return folded;
    }();
    auto taken = [&](const std::wstring& candidate) {
        if (search.takenWhileSaving && !search.takenWhileSaving->empty() &&
            search.takenWhileSaving->count(FoldFileName(candidate)))
            return true;
        // Templates name files in the Photos folder only: the list has them all.
        if (search.listed) {
            key.assign(candidate, folderPart.size());
            FoldFileNameInPlace(key);
            // A hidden file or a folder of the name is not listed: the rename that gives the
            // photo its name then finds it taken, and the search goes on from there.
            const size_t stem = key.size();
            for (std::wstring_view extension : foldedExtensions) {
                key.resize(stem);
                key += extension;
                if (search.listed->ContainsFolded(key, &next))
                    return true;
            }
            return false;
        }
        return PhotoExistsOnDisk(candidate);
    };
    return FindFreePhotoName(folderPart, search.nameTemplate, taken);
}

} // namespace vistrel
