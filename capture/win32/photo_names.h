#pragma once
// The next free photo name in the Photos folder, as the disk has it: the first number
// whose name no photo of any type ("<name>.jpg", ".bmp", ".png") has.

#include "base/file_list_model.h"

#include <set>
#include <string>
#include <string_view>

namespace vistrel {

// Whether a photo of any type has this name (without extension), hidden or not.
bool PhotoExistsOnDisk(const std::wstring& candidate);

struct PhotoNameSearch {
    std::wstring folder;       // the Photos folder, without a trailing separator
    std::wstring nameTemplate; // the photo options' name template
    // The folder's photos as the photo list holds them, up to date (nullptr otherwise): names
    // are then looked up in it alone, else on the disk.
    const FileListModel* listed = nullptr;
    // Names (folded, without extension) found taken while this photo was being saved.
    const std::set<std::wstring>* takenWhileSaving = nullptr;
};

// The full path, without extension, of the first free name. Throws Error as
// FindFreePhotoName does.
std::wstring NextFreePhotoName(const PhotoNameSearch& search);

} // namespace vistrel
