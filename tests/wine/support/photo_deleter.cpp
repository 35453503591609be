// Deletes one photo as the album does, in a process of its own: Wine takes its trash folder
// from the environment a process starts with, and the system's question is answered from
// outside.
//
//   photo-deleter bin|now PATH
//
// Exits with 0 when the photo was deleted, 1 when the user kept it, 2 on an error.

#include "album/win32/photo_files.h"
#include "base/error.h"

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 3;
    const auto how = std::wcscmp(argv[1], L"now") == 0 ? vistrel::PhotoDeletion::AtOnce
                                                       : vistrel::PhotoDeletion::ToRecycleBin;
    try {
        return vistrel::DeletePhotoFile(nullptr, argv[2], how) ? 0 : 1;
    } catch (const vistrel::Error&) {
        return 2;
    }
}
