#include "album/win32/photo_files.h"

#include <windows.h>

namespace vistrel {

bool DeletePhotoFile(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != FALSE;
}

} // namespace vistrel
